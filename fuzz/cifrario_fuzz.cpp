// libFuzzer target: the line cipher of the enciphered tables. Whatever the writer is given comes
// back from the reader exactly as the writer cleaned it (control characters other than code 8,
// and code 255, become blanks; line ends split lines): through whole files keyed at any time of
// day, and line by line under any key phrase and any line number.
#include "tables/file_cifrato.h"
#include "tables/r4_crypt.h"

#include "doppi/doppi.h"
#include "servizi_fuzz.h"

namespace meravo::fuzz {
namespace {

// The cleaning that the writer promises, stated on its own.
std::string pulita(std::string riga) {
    for (auto& c : riga) {
        const auto b = static_cast<unsigned char>(c);
        c = (b < 32 && b != 8) || b == 255 ? ' ' : c;
    }
    return riga;
}

void file_interi(const std::vector<std::string>& righe, double secondi) {
    prova::OrologioFinto scrittura;
    scrittura.secondi = secondi;
    const auto contenuto = cifra_righe(righe, scrittura);
    // The reader's clock must not matter: its keys come from the file.
    prova::OrologioFinto lettura;
    lettura.secondi = secondi + 1.5;
    std::vector<std::string> lette;
    esigi(static_cast<bool>(decifra_righe(contenuto, lettura, "tabella", lette)));
    esigi(lette.size() == righe.size());
    for (std::size_t i = 0; i < righe.size(); ++i) {
        esigi(lette[i] == pulita(righe[i]));
    }
}

void riga_per_riga(const std::vector<std::string>& righe, std::string_view frase,
                   std::uint64_t primo_numero, double secondi) {
    prova::OrologioFinto orologio;
    orologio.secondi = secondi;
    r4_crypt scrittore(orologio);
    r4_crypt lettore(orologio);
    // A phrase the cipher refuses leaves both with the program's own keys.
    esigi(scrittore.posizione_chiavi(frase) == lettore.posizione_chiavi(frase));
    for (int j = 1; j <= r4_crypt::righe_chiave; ++j) {
        const auto chiavi = scrittore.scrivi_chiavi(j);
        esigi(chiavi.size() == r4_crypt::lunghezza_riga_chiave && lettore.carica_chiavi(chiavi, j));
    }
    for (std::size_t i = 0; i < righe.size(); ++i) {
        const auto numero = static_cast<long>(primo_numero + i);
        std::string chiara = righe[i];
        const auto cifrata = scrittore.str_encrypt(chiara, numero);
        esigi(chiara == pulita(righe[i]) && cifrata.size() == chiara.size());
        esigi(cifrata.find_first_of("\r\n") == std::string::npos);
        esigi(lettore.str_decrypt(cifrata, numero) == chiara);
        esigi(lettore.mappa_decifra(numero)[lettore.spazio_cifrato(numero)] == ' ');
    }
}

} // namespace

MERAVO_FUZZ(testo) {
    Byte byte(testo);
    const double secondi = byte.intero<std::uint32_t>() % 8640000 / 100.0;
    const auto primo_numero = byte.intero<std::uint64_t>();
    const auto frase = byte.testo(40);
    const auto righe = righe_di(byte.tutto());
    file_interi(righe, secondi);
    riga_per_riga(righe, frase, primo_numero, secondi);
}

} // namespace meravo::fuzz
