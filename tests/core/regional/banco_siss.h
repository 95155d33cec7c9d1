#pragma once

#include "doppi/banco_form.h"

namespace meravo::prova {

// A program folder with the sample tables and a form started in regional mode.
struct BancoSiss : prova::BancoForm {
    explicit BancoSiss(bool simulato = false) {
        copia_tabelle(MERAVO_DATI_ESEMPIO);
        // The component in the tests' stead, which only an installation in test mode takes.
        ambiente["MERAVO_SISS_SIMULATO"] = "1";
        if (simulato) {
            cartella.scrivi("debug_inps.txt", "");
        }
    }

    // Every field filled, availability address included.
    frm_Meravo& avvia_compilato() {
        auto& f = avvia("000siss=S\r\n000nome medico= Rossi*Mario Luigi \r\n"
                        "000utente=RSSMRA60A01F205Z\r\n000asl=308\r\n000cod regione=030\r\n"
                        "000cf=BNCNNA80A41F205X\r\n000cognome=D'Amico & <Figli>\r\n000nome=Anna\r\n"
                        "000sesso=F\r\n000data nascita=07/03/1965\r\n000com nascita=Roma\r\n"
                        "000prov nascita=RM\r\n000via=Via Roma 1\r\n000cap=20121\r\n"
                        "000comune= milano \r\n000provincia=MI\r\n");
        f.nominativo.Text = "c/o Verdi";
        f.nominativo_via.Text = "Via Po 2";
        f.nominativo_cap.Text = "00118";
        f.nominativo_comune.Text = "Roma";
        f.nominativo_provincia.Text = "RM";
        f.cod_icdix.Text = "487.1";
        f.note_diagnosi.Text = "Febbre";
        f.dt_fine.Text("09/01/2024");
        f.opt_visita = 1;
        f.opt_tipo = 2;
        return f;
    }
};

} // namespace meravo::prova
