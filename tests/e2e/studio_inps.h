#pragma once

#include "form/frm_meravo.h"
#include "national/invio_inps.h"

#include "doppi/doppi.h"
#include "simulatore_prova.h"

#include <memory>
#include <optional>
#include <string>

namespace meravo::prova {

// The national road set up for real: the stand-in running, a program folder laid out as
// installed, the form started on it (addressing the stand-in as its test service) with a valid
// end date and diagnosis, and the national sender bound to it. `righe_in_piu` go into the
// exchange file after the patient's data.
struct StudioInps {
    CartellaTemporanea cartella;
    MessaggiRegistrati messaggi;
    OrologioFinto orologio;
    PompaEventiContata pompa;
    SegnaleContato segnale;
    SimulatoreProva simulatore;
    std::string host = simulatore.host();
    std::unique_ptr<frm_Meravo> form;
    std::unique_ptr<InvioInps> invio;

    // `ritardo_ms`: the stand-in answers that much later, as a slow service would.
    explicit StudioInps(const std::string& righe_in_piu, int ritardo_ms = 0)
        : simulatore(MERAVO_SIMULATORE, MERAVO_PKI, cartella.percorso(), ritardo_ms) {
        prepara_studio(cartella, MERAVO_PKI, MERAVO_DATI_ESEMPIO, righe_in_piu);
        ServiziForm servizi(messaggi, orologio, pompa, segnale, cartella.percorso());
        servizi.ambiente = [this](std::string_view nome) -> std::optional<std::string> {
            return nome == "MERAVO_INPS_HOST" ? std::optional(host) : std::nullopt;
        };
        servizi.tabelle_icdix = std::make_shared<TabelleIcdix>();
        form = std::make_unique<frm_Meravo>(std::move(servizi));
        form->avvia(cartella.file("paziente.txt"));
        form->dt_fine.Text("10/01/2024");
        form->cod_icdix.Text = "487.1";
        invio = std::make_unique<InvioInps>(*form);
    }
};

} // namespace meravo::prova
