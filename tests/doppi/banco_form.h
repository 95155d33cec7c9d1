#pragma once

#include "doppi/doppi.h"
#include "form/frm_meravo.h"

#include <map>
#include <memory>

namespace meravo::prova {

// The exchange file's lines of the invented patient the tests share: everything the mandatory
// rule wants, the doctor's credentials included.
inline std::string paziente() {
    return CartellaTemporanea::leggi_file(MERAVO_PAZIENTE);
}

// A program folder, the recorded services and a form on them: what the tests of the form, of
// both roads and of the archive share. The environment holds only what a test puts in it.
struct BancoForm {
    CartellaTemporanea cartella;
    MessaggiRegistrati messaggi;
    OrologioFinto orologio;
    PompaEventiContata pompa;
    SegnaleContato segnale;
    std::map<std::string, std::string, std::less<>> ambiente;
    std::vector<std::string> indirizzi_aperti;
    bool browser = true; // whether a browser opens them
    std::vector<std::string> comandi_avviati;
    std::vector<int> fine;
    std::filesystem::path programma = cartella.percorso();
    std::unique_ptr<frm_Meravo> form;

    std::string input() const { return cartella.file("paziente.txt"); }
    std::string tabelle() const { return (cartella.percorso() / "tabelle").string() + "/"; }
    void copia_tabelle(const std::filesystem::path& dati) {
        copia_tabelle_esempio(dati, cartella.percorso() / "tabelle");
    }

    // The form, not started yet.
    frm_Meravo& crea() {
        ServiziForm servizi(messaggi, orologio, pompa, segnale, programma);
        servizi.cartella_temporanea = cartella.percorso() / "temp";
        servizi.apri_indirizzo = [this](const std::string& a) {
            return indirizzi_aperti.push_back(a), browser;
        };
        servizi.avvia_senza_attendere = [this](const std::string& c) {
            comandi_avviati.push_back(c);
        };
        servizi.ambiente = [this](std::string_view nome) -> std::optional<std::string> {
            const auto v = ambiente.find(nome);
            return v == ambiente.end() ? std::nullopt : std::optional(v->second);
        };
        servizi.tabelle_icdix = std::make_shared<TabelleIcdix>();
        form = std::make_unique<frm_Meravo>(std::move(servizi));
        form->fine_programma = [this](int codice) { fine.push_back(codice); };
        return *form;
    }

    // Started on an exchange file naming the tables' folder, then holding `righe`; or on
    // `riga_comando` when one is given.
    frm_Meravo& avvia(const std::string& righe, const std::string& riga_comando = "") {
        cartella.scrivi("paziente.txt", "000direttorio tabelle=" + tabelle() + "\r\n" + righe);
        crea().avvia(riga_comando.empty() ? input() : riga_comando);
        return *form;
    }

    // Started on the shared patient, then `righe`, with what the mandatory rule still wants.
    frm_Meravo& compilato(const std::string& righe = "") {
        avvia(paziente() + righe);
        form->dt_fine.Text("10/01/2024");
        form->cod_icdix.Text = "487.1";
        return *form;
    }

    std::vector<std::string> testi() const { return messaggi.testi(); }
    std::string primo_messaggio() const {
        return messaggi.mostrati.empty() ? "" : messaggi.mostrati[0].testo;
    }
};

} // namespace meravo::prova
