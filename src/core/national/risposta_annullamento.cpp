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

// An answer of the service in its own envelope: a receipt, or the errors that refuse it.
EsitoInvio leggi_esito(const DocumentoSoap& documento, Messaggi& messaggi,
                       std::string& protocollo) {
    // A receipt is its element holding the cancellation's identifier: a refusal whose reasons
    // merely name it is none.
    for (const auto* ricevuta : {"ricevutaAnnullamentoOK", "ricevutaOK"}) {
        const auto id = documento.testo_dentro(ricevuta, "idAnnullamento");
        if (id && !testo::rifila(*id).empty()) {
            protocollo = testo::rifilato(*id);
            return EsitoInvio::riuscito;
        }
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
                       Risposta::si
                   ? EsitoInvio::riuscito
                   : EsitoInvio::rifiutato;
    }
    messaggi.mostra("Impossibile eliminare il certificato per i seguenti motivi:" + protocollo,
                    titolo_predefinito, Icona::nessuna, Pulsanti::ok);
    return EsitoInvio::rifiutato;
}

} // namespace

EsitoInvio interpreta_risposta_annullamento(const RispostaServizio& r, Messaggi& messaggi,
                                            std::string& protocollo) {
    protocollo.clear();
    const auto busta = trova_busta(r.corpo, "<soapenv", "</soapenv:Envelope>");
    // Without its closing tag the envelope has no end to read up to.
    const auto documento = busta.testo ? DocumentoSoap::carica(*busta.testo) : std::nullopt;
    return documento ? leggi_esito(*documento, messaggi, protocollo)
                     : avvisa_senza_busta(r, busta.trovata, true, messaggi);
}

} // namespace meravo
