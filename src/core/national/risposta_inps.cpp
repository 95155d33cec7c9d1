#include "national/risposta_inps.h"

#include "services/messaggi.h"
#include "text/documento_soap.h"
#include "text/testo.h"

namespace meravo {

namespace {

constexpr std::string_view interpretare = "Impossibile interpretare il messaggio di risposta!";

// Why the exchange left its outcome unknown, or nothing.
std::optional<std::string> motivo_esito_ignoto(const RispostaServizio& r) {
    if (r.troppo_lunga) {
        return "risposta di oltre " + std::to_string(limite_risposta >> 20) + " MB";
    }
    // A gateway's own answer when the service behind it failed or was too slow to answer: the
    // service may have done its work all the same.
    if (r.stato == 502 || r.stato == 504) {
        return "errore HTTP " + std::to_string(*r.stato);
    }
    // Once part of the request has left, the service may have received it whole.
    if (r.uscita.value_or(0) == 0 || !r.partita) {
        return std::nullopt;
    }
    constexpr int tempo_scaduto = 28;
    return *r.uscita == tempo_scaduto
               ? std::string("tempo di attesa scaduto")
               : "collegamento interrotto, errore " + std::to_string(*r.uscita) + " di curl";
}

void avvisa_connessione_fallita(const RispostaServizio& r, Messaggi& messaggi) {
    // Without an error status nothing says the service itself was reached (a page of a proxy
    // or of the network's login answers 200 just as well).
    if (!r.stato || *r.stato < 400) {
        messaggi.avvisa("Impossibile stabilire una connessione!", Icona::esclamazione);
        return;
    }
    const auto codice = " (errore HTTP " + std::to_string(*r.stato) + ")";
    if (*r.stato == 401 || *r.stato == 403) {
        messaggi.avvisa("Il servizio INPS ha rifiutato il nome utente o la password" + codice +
                            ": verificare le credenziali INPS del medico e riprovare.",
                        Icona::esclamazione);
    } else if (*r.stato >= 500 && *r.stato <= 599) {
        messaggi.avvisa("Il servizio INPS non \xE8 disponibile in questo momento" + codice +
                            ": riprovare pi\xF9 tardi.",
                        Icona::esclamazione);
    } else {
        messaggi.avvisa("Il servizio INPS ha dato una risposta inattesa" + codice + ".",
                        Icona::esclamazione);
    }
}

// An answer without the service's envelope: a transport failure or a SOAP fault is told to the
// doctor and true returned; false for an envelope that is neither.
bool avvisa_guasto(const RispostaServizio& r, Messaggi& messaggi) {
    const auto guasto = trova_busta(r.corpo, "<env:Envelope", "</env:Envelope>");
    const auto documento =
        guasto.testo ? DocumentoSoap::carica(*guasto.testo) : std::optional<DocumentoSoap>{};
    if (!documento) {
        avvisa_connessione_fallita(r, messaggi);
        return true;
    }
    if (testo::minuscolo(*guasto.testo).find("<faultstring>") != std::string::npos) {
        messaggi.avvisa("Impossibile stabilire una connessione: " +
                            documento->testo_primo("faultstring").value_or(""),
                        Icona::esclamazione);
        return true;
    }
    return false;
}

} // namespace

EsitoInvio avvisa_senza_busta(const RispostaServizio& r, bool busta_trovata, bool annullamento,
                              Messaggi& messaggi) {
    if (const auto motivo = motivo_esito_ignoto(r)) {
        messaggi.avvisa(
            annullamento
                ? "Esito dell'annullamento sconosciuto (" + *motivo +
                      "): la richiesta \xE8 partita ma la risposta del servizio INPS non \xE8 "
                      "arrivata.\r\nIl certificato potrebbe essere gi\xE0 annullato all'INPS: "
                      "prima di riprovare, verificare sul portale INPS se risulta annullato."
                : "Esito dell'invio sconosciuto (" + *motivo +
                      "): la richiesta \xE8 partita ma la risposta del servizio INPS non \xE8 "
                      "arrivata.\r\nIl certificato potrebbe essere gi\xE0 registrato all'INPS: "
                      "prima di inviarlo di nuovo, verificare sul portale INPS se risulta emesso.",
            Icona::esclamazione);
        return EsitoInvio::incerto;
    }
    // An envelope of the service that does not parse, or one of the other form that is not a
    // fault, says nothing the module can use.
    if (busta_trovata || !avvisa_guasto(r, messaggi)) {
        messaggi.avvisa(interpretare, Icona::esclamazione);
    }
    return EsitoInvio::rifiutato;
}

EsitoInvio interpreta_risposta_invio(const RispostaServizio& r, Messaggi& messaggi,
                                     std::string& protocollo) {
    const auto busta = trova_busta(r.corpo, "<soapenv", "</soapenv:Envelope>");
    const auto documento = busta.testo ? DocumentoSoap::carica(*busta.testo) : std::nullopt;
    if (!documento) {
        return avvisa_senza_busta(r, busta.trovata, false, messaggi);
    }
    protocollo.clear();
    // A receipt is its element holding the certificate's identifier: a refusal whose reasons
    // merely name it is none.
    const auto id = documento->testo_dentro("ricevutaOK", "idCertificato");
    if (id && !testo::rifila(*id).empty()) {
        protocollo = testo::rifilato(*id);
        return EsitoInvio::riuscito;
    }
    for (const auto& descrizione : documento->testi_figli("errore", "descrizione")) {
        protocollo += "\r\n" + descrizione;
    }
    messaggi.mostra("Impossibile stampare il certificato per i seguenti motivi:" + protocollo,
                    titolo_predefinito, Icona::nessuna, Pulsanti::ok);
    return EsitoInvio::rifiutato;
}

} // namespace meravo
