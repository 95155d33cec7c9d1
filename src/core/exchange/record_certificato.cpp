#include "exchange/record_certificato.h"

#include "process/r4_procedure.h"

#include <algorithm>

namespace meravo::record_certificato {

const std::array<std::string_view, numero_campi> nomi_campi = {"",
                                                               "protocollo",
                                                               "dt_rilascio",
                                                               "medico",
                                                               "codreg",
                                                               "asl",
                                                               "dt_dal",
                                                               "dt_al",
                                                               "inizio",
                                                               "continuazione",
                                                               "ricaduta",
                                                               "ambulatoriale",
                                                               "domiciliare",
                                                               "cod_diagnosi",
                                                               "diagnosi",
                                                               "cognome",
                                                               "nome",
                                                               "cf",
                                                               "dt_nascita",
                                                               "comune_nascita",
                                                               "pr_nascita",
                                                               "via",
                                                               "comune",
                                                               "cap",
                                                               "pr",
                                                               "nominativo",
                                                               "via_nominativo",
                                                               "comune_nominativo",
                                                               "cap_nominativo",
                                                               "pr_nominativo"};

namespace {

// Characters `da` to `a` (1-based, inclusive) of the text, or as many of them as there are.
std::string_view caratteri(std::string_view testo, std::size_t da, std::size_t a) {
    if (da > testo.size()) {
        return {};
    }
    return testo.substr(da - 1, a - da + 1);
}

} // namespace

std::string campo_archivio(const std::optional<std::string>& valore) {
    std::optional<std::string> testo = valore;
    if (testo) {
        std::replace(testo->begin(), testo->end(), separatore, ' ');
    }
    return appiattisci_testo(testo);
}

std::string componi(std::string_view chiave, const std::vector<std::optional<std::string>>& campi) {
    std::string record(chiave);
    for (std::size_t i = 1; i < numero_campi; ++i) {
        record.push_back(separatore);
        record += campo_archivio(i - 1 < campi.size() ? campi[i - 1] : std::nullopt);
    }
    return record;
}

std::array<std::string, numero_campi> campi(std::string_view record) {
    std::array<std::string, numero_campi> risultato;
    std::size_t i = 0;
    for (std::size_t inizio = 0; i < numero_campi; ++i) {
        const auto fine = record.find(separatore, inizio);
        risultato[i] = std::string(record.substr(inizio, fine - inizio));
        if (fine == std::string_view::npos) {
            break;
        }
        inizio = fine + 1;
    }
    return risultato;
}

std::optional<std::string> chiave(std::string_view record) {
    const auto fine = record.find(separatore);
    if (fine == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(record.substr(0, fine));
}

std::string elenco_da_chiave(std::string_view c) {
    std::string s;
    s += caratteri(c, 7, 8);
    s += '/';
    s += caratteri(c, 5, 6);
    s += '/';
    s += caratteri(c, 1, 4);
    s += ' ';
    s += caratteri(c, 9, 10);
    s += ':';
    s += caratteri(c, 11, 12);
    s += ':';
    s += caratteri(c, 13, 14);
    return s;
}

} // namespace meravo::record_certificato
