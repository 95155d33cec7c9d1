#include "tables/r4_crypt.h"

#include "services/orologio.h"

namespace meravo {

namespace {

constexpr int primo_codice = 32;
constexpr int codici = 96;
constexpr unsigned char backspace = 8;
// What deciphering yields for a character that no table holds (only codes below 32 can be such).
constexpr unsigned char fuori_tabella = 31;

unsigned char pulito(unsigned char c) {
    if ((c < primo_codice && c != backspace) || c == 255) {
        return ' ';
    }
    return c;
}

bool sostituibile(unsigned char c) {
    return c < 128 && c != backspace;
}

} // namespace

r4_crypt::r4_crypt(Orologio& orologio) : orologio_(orologio) {
    posizione_chiavi(frase_chiave);
}

long r4_crypt::seme(std::string_view frase) {
    long s = 0;
    for (std::size_t i = 0; i < frase.size(); ++i) {
        s += static_cast<unsigned char>(frase[i]) * 100L + static_cast<long>(i + 1);
    }
    return s;
}

void r4_crypt::reseed_da_orologio() {
    generatore_.reseed(-orologio_.secondi_da_mezzanotte());
}

bool r4_crypt::posizione_chiavi(std::string_view frase) {
    if (frase.empty() || frase.size() > righe_chiave) {
        return false;
    }
    lunghezza_ = static_cast<int>(frase.size());
    generatore_.reseed(-static_cast<double>(seme(frase)));
    pos_.assign(lunghezza_ + 1, 0);
    for (int j = 1; j <= lunghezza_; ++j) {
        pos_[j] = generatore_.posizione();
    }
    reseed_da_orologio();
    chiave_.assign(lunghezza_ + 1, 0);
    for (int j = 1; j <= lunghezza_; ++j) {
        chiave_[j] = generatore_.carattere();
    }
    crea_tabelle();
    return true;
}

void r4_crypt::crea_tabelle() {
    cifra_.assign(lunghezza_ + 1, Mappa{});
    decifra_.assign(lunghezza_ + 1, Mappa{});
    for (int k = 1; k <= lunghezza_; ++k) {
        // The order of the draws is part of the file format: one draw per place, places in
        // ascending order, a fresh draw only when the character is already taken.
        generatore_.reseed(-static_cast<double>(chiave_[k]));
        std::array<unsigned char, codici> tabella{};
        std::array<bool, 128> preso{};
        for (int v = 0; v < codici; ++v) {
            int c = generatore_.carattere();
            while (preso[c]) {
                c = generatore_.carattere();
            }
            preso[c] = true;
            tabella[v] = static_cast<unsigned char>(c);
        }
        Mappa& avanti = cifra_[k];
        Mappa& indietro = decifra_[k];
        for (int b = 0; b < 256; ++b) {
            const auto c = pulito(static_cast<unsigned char>(b));
            avanti[b] = sostituibile(c) ? tabella[c - primo_codice] : c;
            indietro[b] = sostituibile(static_cast<unsigned char>(b))
                              ? fuori_tabella
                              : static_cast<unsigned char>(b);
        }
        for (int v = 0; v < codici; ++v) {
            indietro[tabella[v]] = static_cast<unsigned char>(v + primo_codice);
        }
    }
}

bool r4_crypt::carica_chiavi(std::string_view stringacritt, int j_line) {
    if (j_line > lunghezza_) {
        return true;
    }
    if (j_line < 1 || static_cast<std::size_t>(pos_[j_line]) > stringacritt.size()) {
        return false;
    }
    chiave_[j_line] = static_cast<unsigned char>(stringacritt[pos_[j_line] - 1]);
    if (j_line == lunghezza_) {
        crea_tabelle();
    }
    return true;
}

std::string r4_crypt::scrivi_chiavi(int j_line) {
    if (j_line == 1) {
        reseed_da_orologio();
    }
    std::string riga(lunghezza_riga_chiave, ' ');
    for (auto& c : riga) {
        c = static_cast<char>(generatore_.carattere());
    }
    if (j_line >= 1 && j_line <= lunghezza_) {
        riga[pos_[j_line] - 1] = static_cast<char>(chiave_[j_line]);
    }
    return riga;
}

std::string r4_crypt::str_encrypt(std::string& stringa, long contarighe) const {
    const Mappa& mappa = cifra_[tabella_di(contarighe)];
    std::string cifrata(stringa.size(), ' ');
    for (std::size_t i = 0; i < stringa.size(); ++i) {
        const auto c = static_cast<unsigned char>(stringa[i]);
        stringa[i] = static_cast<char>(pulito(c));
        cifrata[i] = static_cast<char>(mappa[c]);
    }
    return cifrata;
}

std::string r4_crypt::str_decrypt(std::string_view stringa, long contarighe) const {
    std::string chiara(stringa);
    decritta(chiara.data(), chiara.size(), contarighe);
    return chiara;
}

void r4_crypt::decritta(char* riga, std::size_t lunghezza, long contarighe) const {
    const Mappa& mappa = decifra_[tabella_di(contarighe)];
    for (std::size_t i = 0; i < lunghezza; ++i) {
        riga[i] = static_cast<char>(mappa[static_cast<unsigned char>(riga[i])]);
    }
}

} // namespace meravo
