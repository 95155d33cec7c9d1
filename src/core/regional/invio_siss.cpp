#include "regional/invio_siss.h"

#include "archive/elimina.h"
#include "form/frm_meravo.h"
#include "regional/dataset_siss.h"
#include "services/messaggi.h"
#include "tables/file_interi.h"
#include "text/documento_soap.h"
#include "text/testo.h"

namespace meravo {

namespace {

constexpr std::string_view motivo_invio =
    "Impossibile stampare il certificato per il seguente motivo:";
constexpr std::string_view motivo_annullamento =
    "Impossibile eliminare il certificato per il seguente motivo:";

// The component does the whole exchange with the regional network: when its call fails, nothing
// tells whether the dataset reached INPS before it did.
constexpr std::string_view esito_ignoto =
    " la chiamata al componente regionale non \xE8 riuscita. L'esito non \xE8 noto: il "
    "certificato potrebbe essere gi\xE0 registrato all'INPS. Verificare sul portale SISS prima di "
    "ripetere l'operazione.";

void avvisa(Messaggi& messaggi, std::string_view testo) {
    messaggi.avvisa(testo, Icona::nessuna);
}

} // namespace

struct InvioSiss::Operazione {
    std::string_view motivo;
    std::string_view copia_invio;
    std::string_view copia_risposta;
};

InvioSiss::InvioSiss(frm_Meravo& form, std::unique_ptr<ComponenteRegionale> bean_siss)
    : form_(form), bean_siss_(std::move(bean_siss)) {}

EsitoInvio InvioSiss::invia_certificato_siss() {
    return scambia(componi_dataset_invio(form_),
                   {motivo_invio, "invio_siss.txt", "risposta_siss.txt"});
}

EsitoInvio InvioSiss::annulla_certificato_siss(const std::string& chiave) {
    return scambia(componi_dataset_annullamento(form_, chiave),
                   {motivo_annullamento, "invio_siss_canc.txt", "risposta_siss_canc.txt"});
}

EsitoInvio InvioSiss::scambia(std::string dataset, const Operazione& operazione) {
    form_.protocollo.clear();
    auto& messaggi = form_.servizi().messaggi;
    if (!bean_siss_) {
        avvisa(messaggi,
               std::string(operazione.motivo) +
                   " il componente regionale (WinBridge4Seb.Bean.1) non \xE8 disponibile");
        return EsitoInvio::rifiutato;
    }
    const auto risposta = bean_siss_->callSebMethod(dataset);
    const auto& cartella = form_.servizi().cartella_programma;
    // Copies for support staff; a folder the user cannot write to must not stop the exchange.
    scrivi_file_intero(cartella / operazione.copia_invio, dataset + "\r\n", Accesso::solo_utente);
    if (!risposta) {
        messaggi.avvisa(std::string(operazione.motivo) + std::string(esito_ignoto),
                        Icona::esclamazione);
        return EsitoInvio::incerto;
    }
    scrivi_file_intero(cartella / operazione.copia_risposta, *risposta + "\r\n",
                       Accesso::solo_utente);
    return interpreta_risposta_siss(*risposta, operazione.motivo, messaggi, form_.protocollo)
               ? EsitoInvio::riuscito
               : EsitoInvio::rifiutato;
}

bool interpreta_risposta_siss(std::string_view risposta, std::string_view motivo,
                              Messaggi& messaggi, std::string& protocollo) {
    const auto documento = DocumentoSoap::carica(risposta);
    if (!documento) {
        avvisa(messaggi,
               std::string(motivo) + " Errore nell'interpretare il messaggio di risposta");
        return false;
    }
    const auto guasto = testo::rifilato(documento->testo_primo("faultstring").value_or(""));
    if (!guasto.empty()) {
        avvisa(messaggi, std::string(motivo) + guasto);
        return false;
    }
    const auto errore = testo::rifilato(documento->testo_primo("descErrore").value_or(""));
    if (!errore.empty()) {
        std::string spiegazione = "\r\n" + errore + "\r\nEccezioni: ";
        for (const auto& e : documento->testi_dei_figli(
                 "eccezione", {"descEccezione", "nomeCampo", "descEccezioneCampo"})) {
            spiegazione += "\r\n" + e[0] + " - " + e[1] + " - " + e[2];
        }
        avvisa(messaggi, std::string(motivo) + testo::rifilato(spiegazione));
        return false;
    }
    protocollo = documento->testo_primo("protocolloINPS").value_or("");
    return true;
}

void collega_invio_regionale(frm_Meravo& form, InvioSiss& invio) {
    form.invio_regionale = [&invio] { return invio.invia_certificato_siss(); };
}

void collega_annullamento_regionale(Elimina& browser, InvioSiss& invio) {
    browser.annulla_certificato_siss = [&invio](const std::string& chiave) {
        return invio.annulla_certificato_siss(chiave);
    };
}

} // namespace meravo
