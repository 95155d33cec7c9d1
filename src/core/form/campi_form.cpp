#include "form/campi_form.h"

namespace meravo {

const std::vector<DescrizioneGruppo>& gruppi_form() {
    static const std::vector<DescrizioneGruppo> gruppi = {
        {"frm_medico", "Utente"},
        {"frm_paziente", "Dati paziente"},
        {"frm_certificato", "Dati certificato"},
        {"riferimento", "Reperibilit\xE0 durante la malattia (dati da indicare se diversi da "
                        "quelli di residenza)"},
    };
    return gruppi;
}

const std::vector<DescrizioneControllo>& controlli_form() {
    using T = TipoControllo;
    // Names and places run to 35 characters, streets to 40.
    static const std::vector<DescrizioneControllo> controlli = {
        {"frm_medico", "nome_medico", "Medico", T::testo, false, 0, 35},
        {"frm_medico", "cod_reg_medico", "Cod.Regione", T::testo, false, 0, 3},
        {"frm_medico", "asl_medico", "ASL", T::testo, false, 0, 6},
        {"frm_medico", "utente", "Utente", T::testo, true, 0, 16, true},
        {"frm_medico", "password", "Password", T::password, true, 0, 16},
        {"frm_medico", "cf_medico", "Pin code", T::password, true, 0, 10},
        {"frm_paziente", "cognome", "Cognome", T::testo, false, 0, 35},
        {"frm_paziente", "nome", "Nome", T::testo, false, 0, 35},
        {"frm_paziente", "txt_cf", "CF", T::testo, true, 0, 16},
        {"frm_paziente", "dt_nascita", "Data nascita", T::data, false, 0, 10, true},
        {"frm_paziente", "comune_nascita", "Com nascita", T::testo, false, 0, 35},
        {"frm_paziente", "provincia_nascita", "Prov nascita", T::testo, false, 2, 2},
        {"frm_paziente", "sesso", "Sesso", T::testo, false, 1, 1},
        {"frm_paziente", "residenza_via", "Via", T::testo, true, 0, 40, true},
        {"frm_paziente", "residenza_cap", "Cap", T::testo, true, 5, 5},
        {"frm_paziente", "residenza_comune", "Comune", T::testo, true, 0, 35},
        {"frm_paziente", "residenza_provincia", "Provincia", T::testo, true, 2, 2},
        {"frm_certificato", "dt_rilascio", "Data ri&lascio", T::data, true, 0, 10},
        {"frm_certificato", "dt_inizio", "Data i&nizio", T::data, true, 0, 10},
        {"frm_certificato", "dt_fine", "Data &fine", T::data, true, 0, 10},
        {"frm_certificato", "trova1", "Dia&gnosi", T::ricerca, false, 0, 0, true},
        {"frm_certificato", "cod_icdix", "Codice diagn&osi", T::testo, true, 0, 6},
        {"frm_certificato", "note_diagnosi", "Diagnosi libera o not&e a diagnosi codificata",
         T::nota, true, 0, 0, true},
        {"riferimento", "nominativo",
         "Nominativo indicato presso l'abitazione (se diverso dal proprio)", T::testo, false, 0,
         35},
        {"riferimento", "nominativo_via", "Via", T::testo, false, 0, 40, true},
        {"riferimento", "nominativo_cap", "Cap", T::testo, false, 0, 5},
        {"riferimento", "nominativo_comune", "Comune", T::testo, false, 0, 35},
        {"riferimento", "nominativo_provincia", "Provincia", T::testo, false, 0, 2},
    };
    return controlli;
}

std::string senza_mnemonico(std::string_view etichetta) {
    std::string testo;
    for (std::size_t i = 0; i < etichetta.size(); ++i) {
        if (etichetta[i] == '&' && i + 1 < etichetta.size()) {
            ++i;
        }
        testo += etichetta[i];
    }
    return testo;
}

} // namespace meravo
