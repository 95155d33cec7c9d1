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

# The module's two openssl runs, then the line feeds removed.
cifra() {
    printf '%s' "$1" >"$lavoro/stringa.txt"
    openssl rsautl -encrypt -in "$lavoro/stringa.txt" -out "$lavoro/stringa.enc" \
        -inkey "$pki/SanitelCF.cer" -certin -pkcs 2>/dev/null
    openssl base64 -base64 -e  -out "$lavoro/stringa.enc.b64" -in "$lavoro/stringa.enc"
    tr -d '\n' <"$lavoro/stringa.enc.b64"
}

# foglie NOME CHIAVE...: appends to $righe, for each pair, a leaf declaring its own namespace
# as the module writes them, with ${campo[CHIAVE]} escaped. No subshell: a case builds dozens
# of requests.
foglie() {
    while [ $# -gt 0 ]; do
        local t=${campo[$2]//&/&amp;}
        t=${t//</&lt;}
        t=${t//>/&gt;}
        t=${t//\"/&quot;}
        righe+=("<$1 xmlns='$ns_tipi'>${t//\'/&apos;}</$1>")
        shift 2
    done
}

# The lines of $righe joined by CR LF, with no line break after the last one.
unisci() {
    local testo
    printf -v testo '%s\r\n' "${righe[@]}"
    printf '%s' "${testo%$'\r\n'}"
}

# The fields of a valid certificate; a case changes some of them before building the request.
declare -A campo
campi_validi() {
    campo=([pin]=$pin [cf]=$cf [regione]=030 [asl]=308 [via]="Via Roma 1" [cap]=20121
        [comune]=Milano [provincia]=MI [rep_cognome]="presso Bianchi" [rep_via]="Via Po 2"
        [rep_cap]=10121 [rep_comune]=Torino [rep_provincia]=TO [rilascio]=2024-01-05
        [inizio]=2024-01-05 [fine]=2024-01-08 [visita]=A [tipo]=I [diagnosi]=460 [note]="")
}

# The request from $campo; the address during the illness only with its street.
richiesta_invio() {
    local righe=("<SOAP-ENV:Envelope xmlns:SOAP-ENV='$ns_soap'>" "<SOAP-ENV:Header/>"
        "<SOAP-ENV:Body>" "<InvioCertificato xmlns='$ns_invio'>" "<medico>"
        "<pincode xmlns='$ns_tipi'>$(cifra "${campo[pin]}")</pincode>")
    foglie codiceRegione regione codiceAsl asl
    righe+=("</medico>" "<lavoratore>"
        "<codiceFiscale xmlns='$ns_tipi'>$(cifra "${campo[cf]}")</codiceFiscale>"
        "</lavoratore>" "<residenzaODomicilioAbituale>")
    foglie via via cap cap comune comune provincia provincia
    righe+=("</residenzaODomicilioAbituale>")
    if [ -n "${campo[rep_via]}" ]; then
        righe+=("<indirizzoDiReperibilita>")
        foglie cognome rep_cognome
        righe+=("<indirizzo xmlns='$ns_tipi'>")
        foglie via rep_via cap rep_cap comune rep_comune provincia rep_provincia
        righe+=("</indirizzo>" "</indirizzoDiReperibilita>")
    fi
    righe+=("<certificato>")
    foglie dataRilascio rilascio dataInizio inizio dataFine fine visita visita tipoCertificato tipo
    [ -z "${campo[diagnosi]}" ] || foglie codiceDiagnosi diagnosi
    [ -z "${campo[note]}" ] || foglie noteDiagnosi note
    righe+=("</certificato>" "</InvioCertificato>" "</SOAP-ENV:Body>" "</SOAP-ENV:Envelope>")
    unisci
}

# richiesta_annullamento PIN CODICE_FISCALE ID_CERTIFICATO
richiesta_annullamento() {
    local righe=("<SOAP-ENV:Envelope xmlns:SOAP-ENV='$ns_soap'>" "<SOAP-ENV:Header/>"
        "<SOAP-ENV:Body>" "<AnnullamentoCertificato xmlns='$ns_annulla'>"
        "<pincodeMedico xmlns='$ns_annulla'>$(cifra "$1")</pincodeMedico>"
        "<codiceFiscaleLavoratore xmlns='$ns_annulla'>$(cifra "$2")</codiceFiscaleLavoratore>"
        "<idCertificato xmlns='$ns_annulla'>$3</idCertificato>" "</AnnullamentoCertificato>"
        "</SOAP-ENV:Body>" "</SOAP-ENV:Envelope>")
    unisci
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

# A receipt and what the service logs of it, then every rule in one table.
caso_richieste() {
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
    local diario
    diario=$(<"$lavoro/uscita.log")
    contiene "diario" "$diario" "risposta 200: ricevuta idCertificato $id"
    for segreto in "$password" "$pin" "$cf" "Authorization"; do
        non_contiene "diario" "$diario" "$segreto"
    done
    for segreto in "$password" "$pin"; do
        non_contiene "registro" "$(<"$lavoro/registro.jsonl")" "$segreto"
    done

    campi_validi
    local valida
    valida=$(richiesta_invio)
    local scambio=${valida/dataInizio xmlns/dataTemp xmlns}
    scambio=${scambio/dataInizio>/dataTemp>}
    scambio=${scambio//dataFine/dataInizio}
    local -A corpo=([xml]="<a>" [vuoto]="" [nessuna_busta]="<InvioCertificato xmlns='$ns_invio'/>"
        [soap12]=${valida//$ns_soap/http://www.w3.org/2003/05/soap-envelope}
        [annullamento]=$(richiesta_annullamento "$pin" "$cf" 1) [date]=${scambio//dataTemp/dataFine}
        [cap]=${valida/"<cap xmlns='$ns_tipi'>"/<cap>}
        [lavoratore]=${valida/<lavoratore>*<\/lavoratore>/}
        [sesso]=${valida/<\/certificato>/"<sesso xmlns='$ns_tipi'>M</sesso></certificato>"}
        [foglia]=${valida/>A</><x/><})
    # Each row: the credentials (- for the right ones), the fields changed from a valid
    # certificate (or, after '@', the whole body from above), the HTTP status and what the
    # answer must say: the error types in order (none: a receipt) or a fault's code and reason.
    local righe=(
        "$utente:sbagliata||401|" "altro:$password||401|" "$utente:$password ||401|" "||401|"
        "-||200|" "-|pin=un-altro-pin|200|101" "-|pin=|200|101"
        "-|cf=RSSMRA80A01H501|200|103" "-|cf=RSSMRA80A01H501U1|200|103" "-|rilascio=|200|201"
        "-|inizio=2023-02-29|200|202" "-|inizio=2024-02-29;fine=2024-03-01|200|"
        "-|fine=08/01/2024|200|203" "-|fine=2024-13-01|200|203" "-|inizio=2024-01-09|200|204"
        "-|visita=B|200|205" "-|visita=a|200|205" "-|tipo=X|200|206" "-|tipo=|200|206"
        "-|diagnosi=;note=|200|207" "-|diagnosi=;note=Lombalgia|200|"
        "-|diagnosi=  ;note=   |200|207" "-|cap=2012|200|208" "-|cap=2012A|200|208"
        "-|provincia=M1|200|209" "-|provincia=MIL|200|209" "-|rep_cap=|200|210"
        "-|rep_provincia=|200|211" "-|rep_via=;rep_cap=;rep_provincia=|200|"
        "-|pin=;cap=1;fine=2024-01-32;visita=X|200|101 208 203 205"
        "-|@xml|500|Client:XML non valido" "-|@vuoto|500|Client:XML non valido"
        "-|@nessuna_busta|500|Client:non e' una busta SOAP"
        "-|@soap12|500|VersionMismatch:spazio dei nomi diverso"
        "-|@annullamento|500|Client:solo l'elemento InvioCertificato"
        "-|@date|500|Client:fuori posto" "-|@cap|500|Client:Elemento cap nello spazio dei nomi"
        "-|@lavoratore|500|Client:Manca l'elemento lavoratore"
        "-|@sesso|500|Client:Elemento inatteso sesso"
        "-|@foglia|500|Client:deve contenere solo testo"
    )
    local riga credenziali modifiche attesi modifica
    for riga in "${righe[@]}"; do
        IFS='|' read -r credenziali modifiche stato_atteso attesi <<<"$riga"
        [ "$credenziali" = - ] && credenziali=$utente:$password
        campi_validi
        if [[ "$modifiche" = @* ]]; then
            invia InvioCertificato "${corpo[${modifiche#@}]}" "$credenziali"
        else
            IFS=';' read -ra modifiche <<<"$modifiche"
            for modifica in "${modifiche[@]}"; do
                campo[${modifica%%=*}]=${modifica#*=}
            done
            invia InvioCertificato "$(richiesta_invio)" "$credenziali"
        fi
        uguale "stato HTTP per [$riga]" "$stato_atteso" "$stato"
        case $stato in
        200)
            uguale "tipi di errore per [$riga]" "$attesi" "$(valori tipoErrore)"
            uguale "errori nel registro per [$riga]" "$attesi" \
                "$(registro '[.errori[]?.tipoErrore] | join(" ")')"
            if [ -n "$attesi" ]; then
                non_contiene "risposta di errore" "$(minuscolo "$risposta")" ricevutaok
                uguale "descrizioni per [$riga]" "$(wc -w <<<"$attesi")" \
                    "$({ grep -o '<descrizione>[^<]' <<<"$risposta" || true; } | wc -l)"
            else
                contiene "ricevuta per [$riga]" "$risposta" "<idCertificato>"
            fi
            ;;
        500)
            contiene "fault per [$riga]" "$risposta" "<env:Envelope"
            non_contiene "fault per [$riga]" "$risposta" "<soapenv"
            contiene "fault per [$riga]" "$risposta" "<faultcode>env:${attesi%%:*}</faultcode>"
            contiene "fault per [$riga]" "$(valori faultstring)" "${attesi#*:}"
            ;;
        esac
    done
    invia AnnullamentoCertificato "$valida" "$utente:sbagliata"
    uguale "annullamento con password errata" 401 "$stato"
    uguale "esito nel registro" "non autorizzato" "$(registro .esito)"
    local get="https://127.0.0.1:$porta/TrasmissioneCertificatiWeb/services/InvioCertificato"
    stato=$(curl -sS --cacert "$pki/mirCa.pem" --basic --user "$utente:$password" -o /dev/null \
        -w '%{http_code}' "$get")
    uguale "richiesta GET" 405 "$stato"
}

# Cancellations, then a restart on the same state file.
caso_annullamento() {
    avvia
    campi_validi
    invia_certificato
    local annullato=$id
    annulla "$pin" "$cf" "$annullato"
    contiene "ricevuta di annullamento" "$risposta" "ns2:ricevutaAnnullamentoOK"
    [[ "$(valori ns2:idAnnullamento)" =~ ^[0-9]+$ ]] || fallito "idAnnullamento: [$risposta]"
    uguale "codice fiscale decifrato" "$cf" "$(registro .codiceFiscale)"
    annulla "$pin" "$cf" "$annullato"
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
    local in_vigore=$id
    annulla "$pin" BNCLRA85M41F205X "$in_vigore"
    uguale "certificato di un altro lavoratore" 104 "$(valori ns2:tipoErrore)"
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
    contiene "emesso prima del riavvio, annullato dopo un rifiuto" "$risposta" "ns2:idAnnullamento"
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
