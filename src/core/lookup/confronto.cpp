#include "lookup/confronto.h"

#include "text/testo.h"

#include <algorithm>

namespace meravo::confronto {

namespace {

bool stesso_carattere(char dalla_voce, char dalla_chiave, bool maiuscole) {
    const auto v = static_cast<unsigned char>(dalla_voce);
    return (maiuscole ? testo::maiuscola(v) : v) == static_cast<unsigned char>(dalla_chiave);
}

} // namespace

std::string preparato(std::string_view testo, bool maiuscole) {
    return maiuscole ? testo::maiuscolo(testo) : std::string(testo);
}

bool inizia_con(std::string_view voce, std::string_view chiave, bool maiuscole) {
    return voce.size() >= chiave.size() &&
           std::equal(chiave.begin(), chiave.end(), voce.begin(),
                      [&](char c, char v) { return stesso_carattere(v, c, maiuscole); });
}

std::size_t posizione(std::string_view voce, std::string_view chiave, std::size_t da,
                      bool maiuscole) {
    const std::size_t inizio = da == 0 ? 0 : da - 1;
    if (inizio > voce.size()) {
        return 0;
    }
    const auto resto = voce.substr(inizio);
    const auto trovato =
        std::search(resto.begin(), resto.end(), chiave.begin(), chiave.end(),
                    [&](char v, char c) { return stesso_carattere(v, c, maiuscole); });
    if (trovato == resto.end() && !chiave.empty()) {
        return 0;
    }
    return inizio + static_cast<std::size_t>(trovato - resto.begin()) + 1;
}

std::string_view parte(std::string_view testo, std::size_t da, std::size_t quanti) {
    const std::size_t inizio = da == 0 ? 0 : da - 1;
    if (inizio >= testo.size()) {
        return {};
    }
    return testo.substr(inizio, quanti);
}

} // namespace meravo::confronto
