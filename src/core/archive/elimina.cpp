#include "archive/elimina.h"

#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "report/copie_certificato.h"
#include "services/messaggi.h"
#include "text/testo.h"

#include <algorithm>

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

// Fields of the archive record that tell the doctor which certificate an entry is.
constexpr std::size_t campo_protocollo = 1, campo_rilascio = 2, campo_dal = 6, campo_al = 7,
                      campo_diagnosi = 13, campo_cognome = 15, campo_nome = 16;

std::string periodo(const std::array<std::string, record_certificato::numero_campi>& c) {
    if (c[campo_dal].empty() && c[campo_al].empty()) {
        return "";
    }
    return "dal " + c[campo_dal] + " al " + c[campo_al];
}

std::string voce_elenco(const std::string& chiave, std::string_view record) {
    const auto c = record_certificato::campi(record);
    std::string voce;
    for (const auto& parte :
         {c[campo_rilascio], c[campo_protocollo].empty() ? "" : "prot. " + c[campo_protocollo],
          periodo(c), c[campo_diagnosi].empty() ? "" : "diagn. " + c[campo_diagnosi]}) {
        if (!parte.empty()) {
            voce += (voce.empty() ? "" : "  ") + parte;
        }
    }
    return voce.empty() ? "archiviato il " + record_certificato::elenco_da_chiave(chiave) : voce;
}

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
    chiavi_ = form_.certificati.chiavi();
    for (const auto& chiave : chiavi_) {
        list1_.push_back(voce_elenco(chiave, form_.certificati.leggi(chiave).value_or("")));
    }
}

void Elimina::list1_Click(int indice) {
    if (indice < 0 || static_cast<std::size_t>(indice) >= list1_.size()) {
        ListIndex_ = -1;
        return;
    }
    ListIndex_ = indice;
    const auto& chiave = chiavi_[static_cast<std::size_t>(indice)];
    // A key no longer in the archive leaves both copies empty.
    storico_ = copie_certificato::storico_da_record(form_.certificati.leggi(chiave).value_or(""));
    if (form_.modo_test) {
        for (const auto* suffisso : {"", "2"}) {
            storico_.imposta(std::string(copie_certificato::campo_avviso_prova) + suffisso,
                             std::string(copie_certificato::avviso_prova));
        }
    }
}

void Elimina::list1_KeyDown(Tasto tasto) {
    const int ultimo = static_cast<int>(list1_.size()) - 1;
    if (ultimo < 0) {
        return;
    }
    switch (tasto) {
    case Tasto::giu:
        list1_Click(ListIndex_ < 0 ? 0 : std::min(ListIndex_ + 1, ultimo));
        break;
    case Tasto::su:
        list1_Click(std::max(ListIndex_ - 1, 0));
        break;
    case Tasto::inizio:
        list1_Click(0);
        break;
    case Tasto::fine:
        list1_Click(ultimo);
        break;
    default:
        break;
    }
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

std::string Elimina::descrizione(const std::string& chiave) const {
    const auto c = record_certificato::campi(form_.certificati.leggi(chiave).value_or(""));
    std::string d =
        c[campo_protocollo].empty() ? "senza protocollo" : "protocollo " + c[campo_protocollo];
    const auto persona = testo::rifilato(c[campo_cognome] + " " + c[campo_nome]);
    if (!persona.empty()) {
        d += " di " + persona;
    }
    if (const auto p = periodo(c); !p.empty()) {
        d += ",\r\nmalattia " + p;
    }
    return d;
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
    const auto chiave = chiavi_[static_cast<std::size_t>(ListIndex_)];
    const auto certificato = descrizione(chiave);
    if (messaggi.mostra("Attenzione con questa operazione verr\xE0 eliminato definitivamente\r\nil "
                        "certificato " +
                            certificato + ",\r\nsia in locale che sul server INPS\r\nContinuare?",
                        titolo_predefinito, Icona::nessuna, Pulsanti::si_no) != Risposta::si) {
        abilita_pulsanti(true);
        return;
    }
    {
        frm_Meravo::Lavoro lavoro(form_, "Annullamento in corso\x85");
        if (annulla(chiave) != EsitoInvio::riuscito) {
            abilita_pulsanti(true);
            return;
        }
        if (form_.certificati.rimuovi(chiave)) {
            carica_inps();
        }
        // The certificate no longer exists at the service: the caller's archive must not keep
        // it as valid, however the window is closed afterwards.
        if (const auto esito = form_.salva_archivio(); !esito) {
            messaggi.avvisa(esito.messaggio(), Icona::critico);
        }
    }
    // The list without the certificate is on screen before the doctor is told. The road leaves
    // the cancellation's identifier, or the service's reasons when the doctor chose to remove a
    // certificate the service does not hold as valid.
    abilita_pulsanti(true);
    const auto& id = form_.protocollo;
    if (id.find_first_of("\r\n") != std::string::npos) {
        messaggi.mostra("Certificato eliminato dall'archivio: " + certificato + ".",
                        titolo_predefinito, Icona::nessuna, Pulsanti::ok);
    } else {
        messaggi.mostra("Certificato annullato: " + certificato + "." +
                            (id.empty() ? "" : "\r\nIdentificativo dell'annullamento: " + id),
                        titolo_predefinito, Icona::nessuna, Pulsanti::ok);
    }
}

} // namespace meravo
