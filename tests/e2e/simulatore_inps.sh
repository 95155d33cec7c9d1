#!/usr/bin/env bash
# End-to-end checks of meravo-simulatore-inps, driven by the real curl and openssl tools with
# the command lines the module uses (curl --basic --user ... --data, openssl rsautl -certin
# -pkcs then openssl base64).
# Usage: simulatore_inps.sh CASO SIMULATORE CARTELLA_PKI
set -euo pipefail
caso=$1
simulatore=$2
pki=$3
source "$(dirname "$0")/comune.sh"

ns_soap=http://schemas.xmlsoap.org/soap/envelope/
ns_invio=http://inviocertificatorequest.xsd.cert.sanita.finanze.it
ns_tipi=http://tipicert.xsd.cert.sanita.finanze.it
ns_annulla=http://annullamentocertificatorequest.xsd.cert.sanita.finanze.it

utente=medico.prova
password='pass "con" spazi'
pin=P1N-Medico-4417
cf=RSSMRA80A01H501U

avvia() {
    avvia_simulatore --utente "$utente" --password "$password" --pin "$pin" \
        --stato "$lavoro/stato.xml" --registro "$lavoro/registro.jsonl"
}

# The module's two openssl runs, then the line feeds removed. PKCS #1 v1.5 pads at random, so
# any ciphertext of a value is as good as another: each value is encrypted once per case.
cifra() {
    local copia
    copia="$lavoro/cifrati/$(printf '%s' "$1" | sha256sum | cut -c 1-32)"
    if [ ! -f "$copia" ]; then
        mkdir -p "$lavoro/cifrati"
        printf '%s' "$1" >"$lavoro/stringa.txt"
        openssl rsautl -encrypt -in "$lavoro/stringa.txt" -out "$lavoro/stringa.enc" \
            -inkey "$pki/SanitelCF.cer" -certin -pkcs 2>/dev/null
        openssl base64 -base64 -e  -out "$lavoro/stringa.enc.b64" -in "$lavoro/stringa.enc"
        tr -d '\n' <"$lavoro/stringa.enc.b64" >"$copia"
    fi
    cat "$copia"
}

# foglia NOME VALORE: appends to $righe a leaf declaring its own namespace, as the module
# writes them, with the value escaped. No subshell: a case builds dozens of requests.
foglia() {
    local t=${2//&/&amp;}
    t=${t//</&lt;}
    t=${t//>/&gt;}
    t=${t//\"/&quot;}
    t=${t//\'/&apos;}
    righe+=("<$1 xmlns='$ns_tipi'>$t</$1>")
}

# The fields of a valid certificate; a case changes some of them before building the request.
declare -A campo
campi_validi() {
    campo=([pin]=$pin [cf]=$cf [regione]=030 [asl]=308 [via]="Via Roma 1" [cap]=20121
        [comune]=Milano [provincia]=MI [rep_cognome]="presso Bianchi" [rep_via]="Via Po 2"
        [rep_cap]=10121 [rep_comune]=Torino [rep_provincia]=TO [rilascio]=2024-01-05
        [inizio]=2024-01-05 [fine]=2024-01-08 [visita]=A [tipo]=I [diagnosi]=460 [note]="")
}

# The request with CR LF between lines; the address during the illness only with its street.
richiesta_invio() {
    local righe=("<SOAP-ENV:Envelope xmlns:SOAP-ENV='$ns_soap'>" "<SOAP-ENV:Header/>"
        "<SOAP-ENV:Body>" "<InvioCertificato xmlns='$ns_invio'>" "<medico>"
        "<pincode xmlns='$ns_tipi'>$(cifra "${campo[pin]}")</pincode>")
    foglia codiceRegione "${campo[regione]}"
    foglia codiceAsl "${campo[asl]}"
    righe+=("</medico>" "<lavoratore>"
        "<codiceFiscale xmlns='$ns_tipi'>$(cifra "${campo[cf]}")</codiceFiscale>"
        "</lavoratore>" "<residenzaODomicilioAbituale>")
    foglia via "${campo[via]}"
    foglia cap "${campo[cap]}"
    foglia comune "${campo[comune]}"
    foglia provincia "${campo[provincia]}"
    righe+=("</residenzaODomicilioAbituale>")
    if [ -n "${campo[rep_via]}" ]; then
        righe+=("<indirizzoDiReperibilita>")
        foglia cognome "${campo[rep_cognome]}"
        righe+=("<indirizzo xmlns='$ns_tipi'>")
        foglia via "${campo[rep_via]}"
        foglia cap "${campo[rep_cap]}"
        foglia comune "${campo[rep_comune]}"
        foglia provincia "${campo[rep_provincia]}"
        righe+=("</indirizzo>" "</indirizzoDiReperibilita>")
    fi
    righe+=("<certificato>")
    foglia dataRilascio "${campo[rilascio]}"
    foglia dataInizio "${campo[inizio]}"
    foglia dataFine "${campo[fine]}"
    foglia visita "${campo[visita]}"
    foglia tipoCertificato "${campo[tipo]}"
    if [ -n "${campo[diagnosi]}" ]; then foglia codiceDiagnosi "${campo[diagnosi]}"; fi
    if [ -n "${campo[note]}" ]; then foglia noteDiagnosi "${campo[note]}"; fi
    righe+=("</certificato>" "</InvioCertificato>" "</SOAP-ENV:Body>" "</SOAP-ENV:Envelope>")
    unisci "${righe[@]}"
}

# The lines joined by CR LF, with no line break after the last one.
unisci() {
    local testo=$1
    shift
    for riga in "$@"; do
        testo+=$'\r\n'$riga
    done
    printf '%s' "$testo"
}

# richiesta_annullamento PIN CODICE_FISCALE ID_CERTIFICATO
richiesta_annullamento() {
    unisci "<SOAP-ENV:Envelope xmlns:SOAP-ENV='$ns_soap'>" "<SOAP-ENV:Header/>" \
        "<SOAP-ENV:Body>" "<AnnullamentoCertificato xmlns='$ns_annulla'>" \
        "<pincodeMedico xmlns='$ns_annulla'>$(cifra "$1")</pincodeMedico>" \
        "<codiceFiscaleLavoratore xmlns='$ns_annulla'>$(cifra "$2")</codiceFiscaleLavoratore>" \
        "<idCertificato xmlns='$ns_annulla'>$3</idCertificato>" "</AnnullamentoCertificato>" \
        "</SOAP-ENV:Body>" "</SOAP-ENV:Envelope>"
}

# invia SERVIZIO CORPO [CREDENZIALI [HOST]]: sets $stato (HTTP) and $risposta (the body).
# Empty CREDENZIALI sends none.
invia() {
    local credenziali=(--basic --user "${3-$utente:$password}")
    [ "${3-x}" = "" ] && credenziali=()
    stato=$(curl -sS --cacert "$pki/mirCa.pem" "${credenziali[@]}" \
        --url "https://${4:-127.0.0.1}:$porta/TrasmissioneCertificatiWeb/services/$1" \
        --data "$2" -o "$lavoro/risposta.xml" -w '%{http_code}')
    risposta=$(<"$lavoro/risposta.xml")
}

# The texts of every element of that name in the answer, blank-separated, in document order.
valori() { { grep -o "<$1>[^<]*" <<<"$risposta" || true; } | cut -d '>' -f 2 | paste -sd ' '; }
registro() { tail -n 1 "$lavoro/registro.jsonl" | jq -r "$1"; }
minuscolo() { tr '[:upper:]' '[:lower:]' <<<"$1"; }

# invia_certificato [HOST]: sends the fields in $campo; $id is the protocol of its receipt.
invia_certificato() {
    invia InvioCertificato "$(richiesta_invio)" "$utente:$password" "${1:-127.0.0.1}"
    uguale "stato HTTP della ricevuta" 200 "$stato"
    contiene "ricevuta" "$risposta" "<soapenv:Envelope"
    contiene "ricevuta" "$risposta" "ricevutaOK"
    id=$(valori idCertificato)
    [[ "$id" =~ ^[0-9]+$ ]] || fallito "idCertificato non numerico: [$id]"
}

# annulla PIN CODICE_FISCALE ID: the cancellation's answer in $risposta.
annulla() {
    invia AnnullamentoCertificato "$(richiesta_annullamento "$1" "$2" "$3")"
    uguale "stato HTTP dell'annullamento di $3" 200 "$stato"
}

caso_ricevuta() {
    avvia
    campi_validi
    campo[note]='Dolore "acuto" & febbre <38° > l'"'"'altro ieri'
    # localhost as well as 127.0.0.1 must match the server certificate.
    invia_certificato localhost
    uguale "esito nel registro" ricevuta "$(registro .esito)"
    uguale "protocollo nel registro" "$id" "$(registro .idCertificato)"
    uguale "PIN decifrato" true "$(registro .pinCorretto)"
    uguale "codice fiscale decifrato" "$cf" "$(registro .codiceFiscale)"
    uguale "note con caratteri speciali" "${campo[note]}" \
        "$(registro '.campi["certificato/noteDiagnosi"]')"
    uguale "cognome di reperibilita" "${campo[rep_cognome]}" \
        "$(registro '.campi["indirizzoDiReperibilita/cognome"]')"
    local primo=$id

    # A body in Windows-1252, as the module's texts are: 0xB0 is the degree sign, 0x92 the
    # right single quote.
    campi_validi
    campo[note]=$'febbre 38\xb0, l\x92altro ieri'
    campo[rep_via]=""
    invia_certificato
    uguale "note in Windows-1252" "febbre 38°, l’altro ieri" \
        "$(registro '.campi["certificato/noteDiagnosi"]')"
    uguale "senza indirizzo di reperibilita" null \
        "$(registro '.campi["indirizzoDiReperibilita/indirizzo/via"]')"
    [ "$id" != "$primo" ] || fallito "due certificati con lo stesso protocollo $id"

    local diario
    diario=$(<"$lavoro/uscita.log")
    contiene "diario" "$diario" "risposta 200: ricevuta idCertificato $id"
    for segreto in "$password" "$pin" "$cf" "Authorization"; do
        non_contiene "diario" "$diario" "$segreto"
    done
    for segreto in "$password" "$pin"; do
        non_contiene "registro" "$(<"$lavoro/registro.jsonl")" "$segreto"
    done
}

caso_autenticazione() {
    avvia
    campi_validi
    local corpo
    corpo=$(richiesta_invio)
    local righe=(
        "$utente:sbagliata|401"
        "altro:$password|401"
        "$utente:$password |401"
        "|401"
        "$utente:$password|200"
    )
    for riga in "${righe[@]}"; do
        invia InvioCertificato "$corpo" "${riga%|*}"
        uguale "stato HTTP con credenziali [${riga%|*}]" "${riga##*|}" "$stato"
    done
    invia AnnullamentoCertificato "$corpo" "$utente:sbagliata"
    uguale "annullamento con password errata" 401 "$stato"
    uguale "esito nel registro" "non autorizzato" "$(registro .esito)"
    stato=$(curl -sS --cacert "$pki/mirCa.pem" --basic --user "$utente:$password" -o /dev/null \
        -w '%{http_code}' "https://127.0.0.1:$porta/TrasmissioneCertificatiWeb/services/InvioCertificato")
    uguale "richiesta GET" 405 "$stato"
}

# Each row: fields changed from a valid certificate, then the error types expected in order
# (none: a receipt).
caso_errori() {
    avvia
    local righe=(
        "pin=un-altro-pin|101"
        "pin=|101"
        "cf=RSSMRA80A01H501|103"
        "cf=RSSMRA80A01H501U1|103"
        "rilascio=|201"
        "inizio=2023-02-29|202"
        "inizio=2024-02-29;fine=2024-03-01|"
        "fine=08/01/2024|203"
        "fine=2024-13-01|203"
        "inizio=2024-01-09|204"
        "visita=B|205"
        "visita=a|205"
        "tipo=X|206"
        "tipo=|206"
        "diagnosi=;note=|207"
        "diagnosi=;note=Lombalgia|"
        "diagnosi=  ;note=   |207"
        "cap=2012|208"
        "cap=2012A|208"
        "provincia=M1|209"
        "provincia=MIL|209"
        "rep_cap=|210"
        "rep_provincia=|211"
        "rep_via=;rep_cap=;rep_provincia=|"
        "pin=;cap=1;fine=2024-01-32;visita=X|101 208 203 205"
    )
    for riga in "${righe[@]}"; do
        campi_validi
        local modifiche
        IFS=';' read -ra modifiche <<<"${riga%|*}"
        for modifica in "${modifiche[@]}"; do
            campo[${modifica%%=*}]=${modifica#*=}
        done
        invia InvioCertificato "$(richiesta_invio)"
        uguale "stato HTTP per [$riga]" 200 "$stato"
        uguale "tipi di errore per [${riga%|*}]" "${riga##*|}" "$(valori tipoErrore)"
        if [ -n "${riga##*|}" ]; then
            non_contiene "risposta di errore" "$(minuscolo "$risposta")" ricevutaok
            local descrizioni
            descrizioni=$({ grep -o '<descrizione>[^<]' <<<"$risposta" || true; } | wc -l)
            uguale "descrizioni per [$riga]" "$(wc -w <<<"${riga##*|}")" "$descrizioni"
        else
            contiene "ricevuta per [$riga]" "$risposta" "<idCertificato>"
        fi
    done
    uguale "errori nel registro" "101 208 203 205" "$(registro '[.errori[].tipoErrore] | join(" ")')"
}

# prova_fault NOME CODICE FRAMMENTO CORPO: the body must get a SOAP fault with that code and a
# fault string holding that part.
prova_fault() {
    invia InvioCertificato "$4"
    uguale "stato HTTP per $1" 500 "$stato"
    contiene "fault per $1" "$risposta" "<env:Envelope"
    non_contiene "fault per $1" "$risposta" "<soapenv"
    contiene "fault per $1" "$risposta" "<faultcode>env:$2</faultcode>"
    contiene "fault per $1" "$(valori faultstring)" "$3"
}

caso_fault() {
    avvia
    campi_validi
    local valida
    valida=$(richiesta_invio)
    local scambio=${valida/dataInizio xmlns/dataTemp xmlns}
    scambio=${scambio/dataInizio>/dataTemp>}
    scambio=${scambio//dataFine/dataInizio}
    scambio=${scambio//dataTemp/dataFine}
    local cap="<cap xmlns='$ns_tipi'>"
    local sesso="<sesso xmlns='$ns_tipi'>M</sesso></certificato>"

    prova_fault "non XML" Client "XML non valido" "<a>"
    prova_fault "corpo vuoto" Client "XML non valido" ""
    prova_fault "senza busta" Client "non e' una busta SOAP" "<InvioCertificato xmlns='$ns_invio'/>"
    prova_fault "SOAP 1.2" VersionMismatch "spazio dei nomi diverso" \
        "${valida//$ns_soap/http://www.w3.org/2003/05/soap-envelope}"
    prova_fault "operazione sbagliata" Client "solo l'elemento InvioCertificato" \
        "$(richiesta_annullamento "$pin" "$cf" 1)"
    prova_fault "date scambiate" Client "fuori posto" "$scambio"
    prova_fault "cap senza il suo spazio dei nomi" Client "Elemento cap nello spazio dei nomi" \
        "${valida/"$cap"/<cap>}"
    prova_fault "senza lavoratore" Client "Manca l'elemento lavoratore" \
        "${valida/<lavoratore>*<\/lavoratore>/}"
    prova_fault "elemento in piu" Client "Elemento inatteso sesso" \
        "${valida/<\/certificato>/"$sesso"}"
    prova_fault "foglia con figli" Client "deve contenere solo testo" "${valida/>A</><x/><}"
}

caso_annullamento() {
    avvia
    campi_validi
    invia_certificato
    annulla "$pin" "$cf" "$id"
    contiene "ricevuta di annullamento" "$risposta" "ns2:ricevutaAnnullamentoOK"
    [[ "$(valori ns2:idAnnullamento)" =~ ^[0-9]+$ ]] || fallito "idAnnullamento: [$risposta]"
    uguale "codice fiscale decifrato" "$cf" "$(registro .codiceFiscale)"

    annulla "$pin" "$cf" "$id"
    uguale "secondo annullamento" 105 "$(valori ns2:tipoErrore)"
    contiene "secondo annullamento" "$(valori ns2:descrizione)" "annullato"
    non_contiene "secondo annullamento" "$(minuscolo "$risposta")" ricevutaannullamentook
    non_contiene "secondo annullamento" "$(minuscolo "$risposta")" ricevutaok

    annulla "$pin" "$cf" 999999999
    uguale "certificato sconosciuto" 102 "$(valori ns2:tipoErrore)"
    # Wrong credentials learn nothing about the certificate.
    annulla un-altro-pin "$cf" 999999999
    uguale "PIN errato" 101 "$(valori ns2:tipoErrore)"
    invia_certificato
    annulla "$pin" BNCLRA85M41F205X "$id"
    uguale "certificato di un altro lavoratore" 104 "$(valori ns2:tipoErrore)"
    annulla "$pin" "$cf" "$id"
    contiene "annullamento dopo un rifiuto" "$risposta" "ns2:idAnnullamento"
}

caso_riavvio() {
    avvia
    campi_validi
    invia_certificato
    local annullato=$id
    invia_certificato
    local in_vigore=$id
    annulla "$pin" "$cf" "$annullato"
    ferma_simulatore
    contiene "diario" "$(tail -n 1 "$lavoro/uscita.log")" "fermato"
    uguale "permessi del file di stato" 600 "$(stat -c %a "$lavoro/stato.xml")"

    avvia
    local codice=0
    timeout 10 "$simulatore" --porta "$porta" --pki "$pki" --utente u --password p --pin 1 \
        >/dev/null 2>&1 || codice=$?
    uguale "secondo simulatore sulla stessa porta" 1 "$codice"
    annulla "$pin" "$cf" "$annullato"
    uguale "annullato prima del riavvio" 105 "$(valori ns2:tipoErrore)"
    annulla "$pin" "$cf" "$in_vigore"
    contiene "emesso prima del riavvio" "$risposta" "ns2:idAnnullamento"
    invia_certificato
    [ "$id" != "$annullato" ] && [ "$id" != "$in_vigore" ] ||
        fallito "protocollo $id riusato dopo il riavvio"
    ferma_simulatore

    # A state file that is not the simulator's is never overwritten.
    printf '<rotto' >"$lavoro/altro.xml"
    codice=0
    "$simulatore" --porta 0 --pki "$pki" --utente u --password p --pin 1 \
        --stato "$lavoro/altro.xml" >/dev/null 2>&1 || codice=$?
    uguale "avvio con un file di stato illeggibile" 1 "$codice"
    uguale "file di stato illeggibile intatto" "<rotto" "$(<"$lavoro/altro.xml")"
}

"caso_$caso"
fine_prove
