#include "exchange/file_input.h"

#include "exchange/archivio_certificati.h"
#include "tables/campi_record.h"
#include "tables/file_interi.h"
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
    // Lines end in CR LF, LF or a CR alone, as the calling program's platform writes them: a
    // file of CR-ended lines read as one line would put the whole file in its first value.
    while (!testo.empty()) {
        const auto fine = std::min(testo.find_first_of("\r\n"), testo.size());
        interpreta_riga(testo.substr(0, fine), dati, certificati);
        std::size_t dopo = fine;
        if (dopo < testo.size()) {
            dopo += testo.compare(dopo, 2, "\r\n") == 0 ? 2 : 1;
        }
        testo.remove_prefix(dopo);
    }
}

bool leggi_file_input(const std::string& file_input, DatiInput& dati,
                      ArchivioCertificati& certificati) {
    const auto testo = leggi_file_intero(testo::percorso(file_input));
    if (testo) {
        interpreta_file_input(*testo, dati, certificati);
    }
    return testo.has_value();
}

} // namespace meravo
