#include "tables/file_cifrato.h"
#include "tables/r4_crypt.h"

#include "comando_tabella.h"
#include "doppi/doppi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <numeric>
#include <sstream>

namespace meravo {
namespace {

using prova::OrologioFinto;

// Known answers from an implementation of the cipher written apart from this one: its file
// deciphers to its plain text (by a reader whose clock stands at another second, so that the
// keys must come from the file's lines), and the plain text enciphered at the second its keys
// were drawn is its file, byte for byte. A key read and written at the same wrong place, or a
// table chosen one off on both sides, passes every round trip and fails here.
TEST(R4Crypt, RisposteNoteDiUnCifrarioIndipendente) {
    const auto chiaro = prova::CartellaTemporanea::leggi_file(MERAVO_DATI "/tabella_chiara.txt");
    const auto cifrato = prova::CartellaTemporanea::leggi_file(MERAVO_DATI "/tabella_cifrata.tcl");
    OrologioFinto orologio;
    std::vector<std::string> righe;
    ASSERT_TRUE(decifra_righe(cifrato, orologio, "tabella_cifrata.tcl", righe));
    EXPECT_EQ(unisci_righe(righe), chiaro);
    orologio.secondi = 37853;
    EXPECT_EQ(cifra_righe(righe_di(chiaro), orologio), cifrato);
    // A phrase that is empty or longer than the key lines can carry is refused.
    r4_crypt cifrario(orologio);
    EXPECT_FALSE(cifrario.posizione_chiavi("") || cifrario.posizione_chiavi(std::string(31, 'x')));
    EXPECT_TRUE(cifrario.posizione_chiavi(std::string(30, 'x')));
    EXPECT_EQ(cifrario.posizioni().size(), 31u);
}

TEST(R4Crypt, CaratteriDiControlloPulitiNellaRigaDelChiamante) {
    // Control characters and code 255 become spaces, in the caller's line as well; code 8
    // passes both ways; a control character met while deciphering stands in no table.
    OrologioFinto orologio;
    r4_crypt cifrario(orologio);
    std::string sporca = std::string("a\tb\x01") + '\0' + "\x08\xFF";
    const std::string pulita = cifrario.str_encrypt(sporca, 3);
    EXPECT_EQ(sporca, "a b  \x08 ");
    EXPECT_EQ(pulita[5], '\x08');
    EXPECT_EQ(cifrario.str_decrypt(pulita, 3), sporca);
    EXPECT_EQ(cifrario.str_decrypt("\x01\x1F", 1), "\x1F\x1F");
    // Key lines past the phrase's length carry nothing: any text there is read without effect.
    EXPECT_TRUE(cifrario.carica_chiavi("", 13));
}

TEST(R4Crypt, LaTabellaSiRipeteOgniLRighe) {
    OrologioFinto orologio;
    const r4_crypt cifrario(orologio);
    const auto cifra = [&](long n) {
        std::string riga(96, ' '); // every code the substitution tables cover, 32 to 127
        std::iota(riga.begin(), riga.end(), ' ');
        return cifrario.str_encrypt(riga, n);
    };
    // Every line number picks its table by the same rule, down to the lowest one.
    for (const long n : {1L, 2L, 0L, -1L, std::numeric_limits<long>::min(),
                         std::numeric_limits<long>::max() - 12}) {
        EXPECT_EQ(cifra(n), cifra(n + 12)) << n;
    }
    EXPECT_NE(cifra(1), cifra(2));
}

// The tool's exit code, then what it wrote on standard output and on standard error.
std::tuple<int, std::string, std::string> esegui(const std::vector<std::string>& argomenti) {
    prova::OrologioFinto orologio;
    std::ostringstream uscita;
    std::ostringstream errori;
    const int codice = esegui_tabella(argomenti, uscita, errori, orologio);
    return {codice, uscita.str(), errori.str()};
}

TEST(MeravoTabella, CifraDecifraEMostra) {
    prova::CartellaTemporanea c;
    // Bare LF in, CR LF out; an accented byte of Windows-1252 shown in UTF-8.
    c.scrivi("piano.txt", "000ABANO   PD+00042-20240229\n000CANT\xD9   CO-00007-18991230\n");
    EXPECT_EQ(esegui({"cifra", c.file("piano.txt"), c.file("t.tcl")}), std::tuple(0, "", ""));
    EXPECT_EQ(esegui({"decifra", c.file("t.tcl"), c.file("chiaro.txt")}), std::tuple(0, "", ""));
    EXPECT_EQ(c.leggi("chiaro.txt"),
              "000ABANO   PD+00042-20240229\r\n000CANT\xD9   CO-00007-18991230\r\n");
    EXPECT_EQ(esegui({"mostra", c.file("t.tcl"), "8:8:comune,8:2:provincia,2::eta,8:9:resto",
                      "--cifrato"}),
              std::tuple(0, "ABANO\tPD\t42\t-20240229\nCANT\xC3\x99\tCO\t-7\t-18991230\n", ""));
    c.scrivi("date.tda", "000+0000000000012,500000-0000000000000,25000020240229\r\n");
    EXPECT_EQ(std::get<1>(esegui({"mostra", c.file("date.tda"), "5::x,4::y,7::d"})),
              "12.5\t-0.25\t2024-02-29\n");
}

// Wrong arguments, layouts, files: exit code 1, one line of error, no output and no file written.
TEST(MeravoTabella, ErroriSuUnaRigaConCodiceUno) {
    prova::CartellaTemporanea c;
    c.scrivi("t.tda", "000ABC\r\n");
    c.scrivi("rotto.tcl", "corta\r\n");
    const std::vector<std::vector<std::string>> chiamate = {
        {},
        {"mostra", c.file("t.tda"), "6:3:a"},
        {"mostra", c.file("t.tda"), "8:x:a"},
        {"mostra", c.file("manca.tda"), "8:3:a"},
        {"mostra", c.file("rotto.tcl"), "8:3:a", "--cifrato"},
        {"decifra", c.file("rotto.tcl"), c.file("out.txt")},
        {"cifra", c.file("manca.txt"), c.file("out.tcl")},
    };
    for (const auto& argomenti : chiamate) {
        const auto [codice, uscita, errori] = esegui(argomenti);
        EXPECT_EQ(codice, 1) << errori;
        EXPECT_EQ(uscita, "") << errori;
        EXPECT_TRUE(!errori.empty() && errori.find('\n') == errori.size() - 1) << errori;
    }
    EXPECT_FALSE(std::filesystem::exists(c.file("out.txt")));
    EXPECT_FALSE(std::filesystem::exists(c.file("out.tcl")));
}

} // namespace
} // namespace meravo
