#include "archive/elimina.h"

#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "report/copie_certificato.h"
#include "services/messaggi.h"

namespace meravo {

namespace {

// The form's controls that the open browser disables.
constexpr std::string_view testi_disabilitati[] = {
    "nome_medico",
    "cf_medico",
    "utente",
    "password",
    "cod_reg_medico",
    "asl_medico",
    "cognome",
    "nome",
    "txt_cf",
    "comune_nascita",
    "provincia_nascita",
    "residenza_via",
    "residenza_comune",
    "residenza_cap",
    "residenza_provincia",
    "nominativo",
    "nominativo_via",
    "nominativo_comune",
    "nominativo_cap",
    "nominativo_provincia",
    "cod_icdix",
    "note_diagnosi",
};
constexpr std::string_view date_disabilitate[] = {"dt_nascita", "dt_rilascio", "dt_inizio",
                                                  "dt_fine"};

constexpr std::string_view domanda_elimina =
    "Attenzione con questa operazione verr\xE0 eliminato definitivamente il certificato "
    "selezionato\r\nsia in locale che sul server INPS\r\nContinuare?";

} // namespace

Elimina::Elimina(frm_Meravo& form) : form_(form) {}

void Elimina::abilita_form(bool abilitato) {
    for (const auto nome : testi_disabilitati) {
        form_.campo(nome)->Enabled = abilitato;
    }
    for (const auto nome : date_disabilitate) {
        form_.data(nome)->Enabled(abilitato);
    }
    form_.trova1.Enabled(abilitato);
    for (Pulsante* p : {&form_.Stampa, &form_.salva, &form_.archivio, &form_.cmd_crypta}) {
        p->Enabled = abilitato;
    }
    opzioni_abilitate_ = abilitato;
}

void Elimina::abilita_pulsanti(bool abilitati) {
    visualizza.Enabled = abilitati;
    elimina.Enabled = abilitati;
    chiudi.Enabled = abilitati;
    if (stato_cambiato) {
        stato_cambiato();
    }
}

void Elimina::archivio_Click() {
    if (form_.occupato() || !form_.archivio.Enabled || form_.data_respinta()) {
        return;
    }
    abilita_form(false);
    carica_inps();
    Visible_ = true;
}

void Elimina::carica_inps() {
    list1_.clear();
    ListIndex_ = -1;
    for (const auto& chiave : form_.certificati.chiavi()) {
        list1_.push_back(record_certificato::elenco_da_chiave(chiave));
    }
}

void Elimina::list1_Click(int indice) {
    if (indice < 0 || static_cast<std::size_t>(indice) >= list1_.size()) {
        ListIndex_ = -1;
        return;
    }
    ListIndex_ = indice;
    const auto chiave =
        record_certificato::chiave_da_elenco(list1_[static_cast<std::size_t>(indice)]);
    // A key no longer in the archive leaves both copies empty.
    storico_ = copie_certificato::storico_da_record(form_.certificati.leggi(chiave).value_or(""));
}

void Elimina::visualizza_Click() {
    auto& messaggi = form_.servizi().messaggi;
    if (ListIndex_ < 0) {
        messaggi.mostra("Selezionare un certificato da visualizzare", titolo_predefinito,
                        Icona::nessuna, Pulsanti::ok);
        return;
    }
    if (!mostra_storico) {
        messaggi.avvisa("L'anteprima del certificato non \xE8 disponibile.", Icona::esclamazione);
        return;
    }
    mostra_storico(storico_);
}

void Elimina::chiudi_Click() {
    if (form_.occupato()) {
        return;
    }
    Visible_ = false;
    abilita_form(true);
    if (chiusura) {
        chiusura();
    }
}

EsitoInvio Elimina::annulla(const std::string& chiave) {
    const auto& strada = form_.usa_siss ? annulla_certificato_siss : annulla_certificato_inps;
    if (!strada) {
        form_.servizi().messaggi.avvisa(
            form_.usa_siss ? "Il componente regionale non \xE8 disponibile: impossibile "
                             "annullare il certificato."
                           : "L'annullamento presso il servizio nazionale non \xE8 disponibile.",
            Icona::esclamazione);
        return EsitoInvio::rifiutato;
    }
    return strada(chiave);
}

void Elimina::elimina_Click() {
    // A second press while a cancellation runs must not cancel again, nor remove another record.
    if (form_.occupato() || !elimina.Enabled) {
        return;
    }
    auto& messaggi = form_.servizi().messaggi;
    abilita_pulsanti(false);
    if (ListIndex_ < 0) {
        messaggi.mostra("Selezionare un certificato da cancellare", titolo_predefinito,
                        Icona::nessuna, Pulsanti::ok);
        abilita_pulsanti(true);
        return;
    }
    if (messaggi.mostra(domanda_elimina, titolo_predefinito, Icona::nessuna, Pulsanti::si_no) !=
        Risposta::si) {
        abilita_pulsanti(true);
        return;
    }
    const auto chiave =
        record_certificato::chiave_da_elenco(list1_[static_cast<std::size_t>(ListIndex_)]);
    frm_Meravo::Lavoro lavoro(form_, "Annullamento in corso\x85");
    if (annulla(chiave) != EsitoInvio::riuscito) {
        abilita_pulsanti(true);
        return;
    }
    if (form_.certificati.rimuovi(chiave)) {
        carica_inps();
    }
    // The certificate no longer exists at the service: the caller's archive must not keep it as
    // valid, however the window is closed afterwards.
    if (const auto esito = form_.salva_archivio(); !esito) {
        messaggi.avvisa(esito.messaggio(), Icona::critico);
    }
    abilita_pulsanti(true);
}

} // namespace meravo
