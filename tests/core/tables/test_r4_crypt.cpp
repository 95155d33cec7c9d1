#include "tables/generatore_r4.h"
#include "tables/r4_crypt.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace meravo {
namespace {

using prova::OrologioFinto;

// Every code from 32 to 127, the range the substitution tables cover.
std::string stampabili() {
    std::string s;
    for (int c = 32; c < 128; ++c) {
        s.push_back(static_cast<char>(c));
    }
    return s;
}

// A reader keyed from the key lines that a writer produced.
r4_crypt lettore_di(r4_crypt& scrittore, OrologioFinto& orologio) {
    r4_crypt lettore(orologio);
    for (int j = 1; j <= r4_crypt::righe_chiave; ++j) {
        EXPECT_TRUE(lettore.carica_chiavi(scrittore.scrivi_chiavi(j), j));
    }
    return lettore;
}

TEST(GeneratoreR4, ValoriNotiDelFormato) {
    GeneratoreR4 g;
    EXPECT_NEAR(g.next(), 0.7055475, 5e-8);
    EXPECT_NEAR(g.next(), 0.5334240, 5e-8);
    EXPECT_NEAR(GeneratoreR4{}.reseed(-1), 0.2240070, 5e-8);

    EXPECT_EQ(r4_crypt::seme(r4_crypt::frase_chiave), 79078);
    OrologioFinto orologio;
    const r4_crypt cifrario(orologio);
    EXPECT_EQ(cifrario.posizioni(),
              (std::vector<int>{0, 698, 256, 700, 951, 634, 711, 795, 532, 543, 280, 444, 767}));
}

TEST(R4Crypt, AndataERitornoConLeChiaviDelFile) {
    OrologioFinto orologio;
    r4_crypt scrittore(orologio);
    const r4_crypt lettore = lettore_di(scrittore, orologio);

    std::string riga = stampabili();
    const std::string cifrata = scrittore.str_encrypt(riga, 5);
    EXPECT_NE(cifrata, riga);
    EXPECT_EQ(lettore.str_decrypt(cifrata, 5), stampabili());
    // With the wrong line number another table answers.
    EXPECT_NE(lettore.str_decrypt(cifrata, 6), stampabili());
}

TEST(R4Crypt, CaratteriFuoriDallaTabella) {
    OrologioFinto orologio;
    r4_crypt scrittore(orologio);
    const r4_crypt lettore = lettore_di(scrittore, orologio);

    std::string accentate = "\xE0\xE8\xE9\xEC\xF2\xF9\x80\xC0\xFE";
    EXPECT_EQ(scrittore.str_encrypt(accentate, 1), accentate);
    EXPECT_EQ(lettore.str_decrypt(accentate, 1), accentate);

    // Control characters and code 255 are cleaned to spaces, in the caller's line as well;
    // code 8 passes both ways.
    std::string sporca = std::string("a\tb\x01") + '\0' + "\x08\xFF";
    const std::string cifrata = scrittore.str_encrypt(sporca, 3);
    EXPECT_EQ(sporca, "a b  \x08 ");
    EXPECT_EQ(cifrata.size(), sporca.size());
    EXPECT_EQ(cifrata[5], '\x08');
    EXPECT_EQ(lettore.str_decrypt(cifrata, 3), sporca);

    // A control character met while deciphering stands in no table.
    EXPECT_EQ(lettore.str_decrypt("\x01\x1F", 1), "\x1F\x1F");
}

TEST(R4Crypt, LaTabellaSiRipeteOgniLRighe) {
    OrologioFinto orologio;
    const r4_crypt cifrario(orologio);
    auto cifra = [&](long n) {
        std::string riga = stampabili();
        return cifrario.str_encrypt(riga, n);
    };
    EXPECT_EQ(cifra(1), cifra(13));
    EXPECT_EQ(cifra(2), cifra(26));
    EXPECT_NE(cifra(1), cifra(2));
    // Every line number picks its table by the same rule, down to the lowest one.
    constexpr long minimo = std::numeric_limits<long>::min();
    constexpr long massimo = std::numeric_limits<long>::max();
    EXPECT_EQ(cifra(0), cifra(12));
    EXPECT_EQ(cifra(-1), cifra(11));
    EXPECT_EQ(cifra(minimo), cifra(minimo + 12));
    EXPECT_EQ(cifra(massimo), cifra(massimo - 12));
    // Every table is a permutation of the 96 codes.
    for (long n = 1; n <= 12; ++n) {
        std::string ordinata = cifra(n);
        std::sort(ordinata.begin(), ordinata.end());
        EXPECT_EQ(ordinata, stampabili()) << n;
    }
}

TEST(R4Crypt, RigheChiaveEOrarioDiScrittura) {
    OrologioFinto orologio;
    r4_crypt primo(orologio);
    std::vector<std::string> righe;
    for (int j = 1; j <= r4_crypt::righe_chiave; ++j) {
        righe.push_back(primo.scrivi_chiavi(j));
        EXPECT_EQ(righe.back().size(), 1000u);
    }
    // Lines past the phrase's length carry nothing: any text there is read without effect.
    r4_crypt lettore(orologio);
    for (int j = 1; j <= r4_crypt::righe_chiave; ++j) {
        EXPECT_TRUE(lettore.carica_chiavi(j <= 12 ? righe[j - 1] : std::string(), j));
    }
    std::string riga = stampabili();
    EXPECT_EQ(lettore.str_decrypt(primo.str_encrypt(riga, 7), 7), stampabili());

    // A key line too short to hold its key is refused.
    EXPECT_FALSE(r4_crypt(orologio).carica_chiavi(righe[0].substr(0, 600), 1));

    // Another time of day, other keys: the same plain line enciphers differently.
    orologio.avanza(37);
    r4_crypt secondo(orologio);
    std::string stessa = stampabili();
    EXPECT_NE(secondo.str_encrypt(stessa, 1), primo.str_encrypt(riga, 1));
    EXPECT_NE(secondo.scrivi_chiavi(1), righe[0]);
}

TEST(R4Crypt, FraseInutilizzabileRifiutata) {
    OrologioFinto orologio;
    r4_crypt cifrario(orologio);
    EXPECT_FALSE(cifrario.posizione_chiavi(""));
    EXPECT_FALSE(cifrario.posizione_chiavi(std::string(31, 'x')));
    EXPECT_EQ(cifrario.posizioni().size(), 13u);
    EXPECT_TRUE(cifrario.posizione_chiavi(std::string(30, 'x')));
    EXPECT_EQ(cifrario.posizioni().size(), 31u);
}

} // namespace
} // namespace meravo
