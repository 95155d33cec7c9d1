#include "national/risposta_annullamento.h"

#include "national/risposta_inps.h"
#include "services/messaggi.h"
#include "text/documento_soap.h"
#include "text/testo.h"

#include <algorithm>
#include <optional>

namespace meravo {

namespace {

constexpr std::string_view domanda_non_trovato =
    "Certificato non trovato su server centrale. Eliminarlo in locale?";
constexpr std::string_view domanda_gia_annullato =
    "Certificato gi\xE0 annullato su server centrale. Eliminarlo in locale?";

bool contiene_senza_maiuscole(std::string_view testo, std::string_view cercato) {
    return testo::minuscolo(testo).find(cercato) != std::string::npos;
}

bool non_interpretabile(Messaggi& messaggi) {
    messaggi.avvisa("Impossibile interpretare il messaggio di risposta!", Icona::esclamazione);
    return false;
}

// An answer of the service in its own envelope: a receipt, or the errors that refuse it.
bool leggi_esito(const std::string& busta, const DocumentoSoap& documento, Messaggi& messaggi,
                 std::string& protocollo) {
    if (contiene_senza_maiuscole(busta, "ricevutaok") ||
        contiene_senza_maiuscole(busta, "ricevutaannullamentook")) {
        protocollo = testo::rifilato(documento.testo_primo("ns2:idAnnullamento").value_or(""));
        return true;
    }
    // A certificate that the service does not know, or has already cancelled, may still be
    // removed here if the doctor agrees; when several errors say so, the last one decides.
    std::optional<std::string_view> domanda;
    for (const auto& errore :
         documento.testi_dei_figli("ns2:errore", {"ns2:descrizione", "ns2:tipoErrore"})) {
        protocollo += "\r\n" + errore[0];
        const auto& tipo = errore[1];
        if (tipo == "400" || tipo == "102") {
            domanda = domanda_non_trovato;
        } else if (tipo == "105") {
            domanda = domanda_gia_annullato;
        }
    }
    if (domanda) {
        return messaggi.mostra(*domanda, titolo_predefinito, Icona::nessuna, Pulsanti::si_no) ==
               Risposta::si;
    }
    messaggi.mostra("Impossibile eliminare il certificato per i seguenti motivi:" + protocollo,
                    titolo_predefinito, Icona::nessuna, Pulsanti::ok);
    return false;
}

} // namespace

bool interpreta_risposta_annullamento(std::string_view risposta, Messaggi& messaggi,
                                      std::string& protocollo) {
    protocollo.clear();
    const auto busta = trova_busta(risposta, "<soapenv", "</soapenv:Envelope>");
    if (busta.trovata) {
        // Without its closing tag the envelope has no end to read up to.
        const auto documento = busta.testo ? DocumentoSoap::carica(*busta.testo) : std::nullopt;
        if (!documento) {
            return non_interpretabile(messaggi);
        }
        return leggi_esito(*busta.testo, *documento, messaggi, protocollo);
    }
    if (avvisa_guasto(risposta, messaggi)) {
        return false;
    }
    // An envelope of this form that is not a fault says nothing the module can use; the doctor
    // is told rather than left with a button that seems to have done nothing.
    return non_interpretabile(messaggi);
}

} // namespace meravo
