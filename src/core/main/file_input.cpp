#include "main/file_input.h"

#include "main/archivio_certificati.h"
#include "tables/campi_record.h"
#include "tables/file_interi.h"
#include "tables/lettore_righe.h"
#include "text/testo.h"

#include <algorithm>
#include <utility>

namespace meravo {

namespace {

std::string* campo_di(DatiInput& d, std::string_view chiave) {
    static const std::pair<std::string_view, std::string DatiInput::*> campi[] = {
        {"direttorio tabelle", &DatiInput::direttorio_tabelle},
        {"nome medico", &DatiInput::nome_medico},
        {"cod regione", &DatiInput::cod_reg_medico},
        {"asl", &DatiInput::asl_medico},
        {"cognome", &DatiInput::cognome},
        {"nome", &DatiInput::nome},
        {"cf", &DatiInput::txt_cf},
        {"data nascita", &DatiInput::dt_nascita},
        {"com nascita", &DatiInput::comune_nascita},
        {"prov nascita", &DatiInput::provincia_nascita},
        {"via", &DatiInput::residenza_via},
        {"comune", &DatiInput::residenza_comune},
        {"cap", &DatiInput::residenza_cap},
        {"provincia", &DatiInput::residenza_provincia},
        {"utente", &DatiInput::utente},
        {"password", &DatiInput::password},
        {"pin", &DatiInput::cf_medico},
        {"sesso", &DatiInput::sesso},
    };
    for (const auto& [nome, membro] : campi) {
        if (nome == chiave) {
            return &(d.*membro);
        }
    }
    return nullptr;
}

void interpreta_riga(std::string_view riga, DatiInput& dati, ArchivioCertificati& certificati) {
    if (riga.size() < 3 || campi_record::numero_lenient(riga.substr(0, 3)) != 0) {
        return;
    }
    riga.remove_prefix(3);
    const auto uguale = riga.find('=');
    if (uguale == std::string_view::npos) {
        return;
    }
    const auto chiave = testo::minuscolo(riga.substr(0, uguale));
    const auto valore = riga.substr(uguale + 1);
    if (chiave == "certificato") {
        certificati.aggiungi_da_input(valore);
    } else if (chiave == "siss") {
        dati.usa_siss = testo::rifila(valore) == "S";
    } else if (auto* campo = campo_di(dati, chiave)) {
        *campo = std::string(valore);
    }
}

} // namespace

void interpreta_file_input(std::string_view testo, DatiInput& dati,
                           ArchivioCertificati& certificati) {
    LettoreRighe righe(testo);
    while (const auto riga = righe.prossima()) {
        interpreta_riga(*riga, dati, certificati);
    }
}

void leggi_file_input(const std::string& file_input, DatiInput& dati,
                      ArchivioCertificati& certificati) {
    if (const auto testo = leggi_file_intero(testo::percorso(file_input))) {
        interpreta_file_input(*testo, dati, certificati);
    }
}

} // namespace meravo
