#pragma once

#include "doppi/doppi.h"
#include "form/frm_meravo.h"

#include <map>
#include <memory>
#include <string>

namespace meravo::prova {

// A program folder with the sample tables and a form started in regional mode.
struct BancoSiss {
    CartellaTemporanea cartella;
    prova::MessaggiRegistrati messaggi;
    prova::OrologioFinto orologio;
    prova::PompaEventiContata pompa;
    prova::SegnaleContato segnale;
    std::map<std::string, std::string, std::less<>> ambiente;
    std::unique_ptr<frm_Meravo> form;
    // The program folder, when it is not the test folder itself.
    std::filesystem::path programma;

    BancoSiss() {
        prova::copia_tabelle_esempio(MERAVO_DATI_ESEMPIO, cartella.percorso() / "tabelle");
    }

    frm_Meravo& avvia() {
        cartella.scrivi("paziente.txt",
                        "000direttorio tabelle=" + (cartella.percorso() / "tabelle").string() +
                            "/\r\n000siss=S\r\n");
        ServiziForm servizi(messaggi, orologio, pompa, segnale,
                            programma.empty() ? cartella.percorso() : programma);
        servizi.ambiente = [this](std::string_view nome) -> std::optional<std::string> {
            const auto v = ambiente.find(nome);
            return v == ambiente.end() ? std::nullopt : std::optional(v->second);
        };
        servizi.tabelle_icdix = std::make_shared<TabelleIcdix>();
        form = std::make_unique<frm_Meravo>(std::move(servizi));
        form->avvia(cartella.file("paziente.txt"));
        return *form;
    }

    // Every field filled, availability address included.
    frm_Meravo& avvia_compilato() {
        auto& f = avvia();
        f.nome_medico.Text = " Rossi*Mario Luigi ";
        f.utente.Text = "RSSMRA60A01F205Z";
        f.asl_medico.Text = "308";
        f.cod_reg_medico.Text = "030";
        f.txt_cf.Text = "BNCNNA80A41F205X";
        f.cognome.Text = "D'Amico & <Figli>";
        f.nome.Text = "Anna";
        f.sesso.Text = "F";
        f.dt_nascita.Text("07/03/1965");
        f.comune_nascita.Text = "Roma";
        f.provincia_nascita.Text = "RM";
        f.residenza_via.Text = "Via Roma 1";
        f.residenza_cap.Text = "20121";
        f.residenza_comune.Text = " milano ";
        f.residenza_provincia.Text = "MI";
        f.nominativo.Text = "c/o Verdi";
        f.nominativo_via.Text = "Via Po 2";
        f.nominativo_cap.Text = "00118";
        f.nominativo_comune.Text = "Roma";
        f.nominativo_provincia.Text = "RM";
        f.dt_rilascio.Text("05/01/2024");
        f.dt_inizio.Text("05/01/2024");
        f.dt_fine.Text("09/01/2024");
        f.opt_visita = 1;
        f.opt_tipo = 2;
        f.cod_icdix.Text = "487.1";
        f.note_diagnosi.Text = "Febbre";
        return f;
    }
};

} // namespace meravo::prova
