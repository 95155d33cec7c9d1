#include "textbox/data_digitata.h"

namespace meravo {

namespace {

bool cifra(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits of one of the allowed lengths from `pos`, moving past it.
std::optional<int> numero(std::string_view testo, std::size_t& pos, std::size_t minimo,
                          std::size_t massimo) {
    std::size_t fine = pos;
    int valore = 0;
    while (fine < testo.size() && cifra(testo[fine]) && fine - pos < massimo) {
        valore = valore * 10 + (testo[fine] - '0');
        ++fine;
    }
    if (fine - pos < minimo || (fine < testo.size() && cifra(testo[fine]))) {
        return std::nullopt;
    }
    pos = fine;
    return valore;
}

bool bisestile(int anno) {
    return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
}

int giorni_del_mese(int mese, int anno) {
    constexpr int giorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mese == 2 && bisestile(anno) ? 29 : giorni[mese - 1];
}

bool separatore(char c) {
    return c == '/' || c == '-' || c == '.';
}

std::string due_cifre(int n) {
    return std::string{char('0' + n / 10), char('0' + n % 10)};
}

std::optional<std::string> data_scritta(int giorno, int mese, int anno) {
    if (mese < 1 || mese > 12 || giorno < 1 || giorno > giorni_del_mese(mese, anno)) {
        return std::nullopt;
    }
    return due_cifre(giorno) + '/' + due_cifre(mese) + '/' + std::to_string(anno);
}

// aaaa-mm-gg, as programs write dates (the exchange file, a pasted database value).
std::optional<std::string> data_anno_prima(std::string_view testo) {
    std::size_t pos = 0;
    const auto anno = numero(testo, pos, 4, 4);
    if (!anno || testo[0] == '0' || pos >= testo.size() || testo[pos++] != '-') {
        return std::nullopt;
    }
    const auto mese = numero(testo, pos, 2, 2);
    if (!mese || pos >= testo.size() || testo[pos++] != '-') {
        return std::nullopt;
    }
    const auto giorno = numero(testo, pos, 2, 2);
    if (!giorno || pos != testo.size()) {
        return std::nullopt;
    }
    return data_scritta(*giorno, *mese, *anno);
}

} // namespace

std::optional<std::string> data_riconosciuta(std::string_view testo) {
    // Blanks around a date are no part of it: a program or a paste often leaves some.
    while (!testo.empty() && (testo.front() == ' ' || testo.front() == '\t')) {
        testo.remove_prefix(1);
    }
    while (!testo.empty() && (testo.back() == ' ' || testo.back() == '\t')) {
        testo.remove_suffix(1);
    }
    if (auto iso = data_anno_prima(testo)) {
        return iso;
    }
    std::size_t pos = 0;
    const auto giorno = numero(testo, pos, 1, 2);
    if (!giorno || pos >= testo.size() || !separatore(testo[pos])) {
        return std::nullopt;
    }
    const char sep = testo[pos++];
    const auto mese = numero(testo, pos, 1, 2);
    if (!mese || pos >= testo.size() || testo[pos] != sep) {
        return std::nullopt;
    }
    ++pos;
    const std::size_t inizio_anno = pos;
    const auto letto = numero(testo, pos, 2, 4);
    const std::size_t cifre_anno = pos - inizio_anno;
    if (!letto || pos != testo.size() || cifre_anno == 3) {
        return std::nullopt;
    }
    int anno = *letto;
    if (cifre_anno == 2) {
        anno += anno < 30 ? 2000 : 1900;
    } else if (testo[inizio_anno] == '0') {
        // A four-digit year with a leading zero is a slip of the fingers, not a date to certify.
        return std::nullopt;
    }
    return data_scritta(*giorno, *mese, anno);
}

} // namespace meravo
