#include "ambiente_tabelle.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace meravo {
namespace {

using prova::AmbienteTabelle;
using prova::righe_crlf;

const std::vector<DescrizioneColonna> nome_e_numero = {{8, 10, "nome"}, {2, 0, "numero"}};

std::string record(std::string stato, std::string nome, int numero) {
    nome.resize(10, ' ');
    char campo[16];
    std::snprintf(campo, sizeof campo, "%c%05d", numero < 0 ? '-' : '+', std::abs(numero));
    return stato + "00" + nome + campo;
}

void carica(AmbienteTabelle& a, const std::vector<std::string>& righe, OpzioniCarica opzioni = {}) {
    ASSERT_TRUE(a.tabella.descrizione(nome_e_numero));
    a.cartella.scrivi("t.tda", righe_crlf(righe));
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda"), opzioni));
}

TEST(RicercaTabella, RicercheLineari) {
    AmbienteTabelle a;
    a.tabella.separa_cessati = true;
    carica(a, {record("0", "AL ASTI", 1), record("0", "MI MILANO", 2), record("1", "TO TORINO", 3),
               record("0", "MILANO", 4)});
    // Rows: 1 AL ASTI, 2 MI MILANO, 3 MILANO; the ceased TO TORINO sits in the tail, row 4.
    ASSERT_EQ(a.tabella.righe_caricate(), 3);
    EXPECT_EQ(a.tabella.identifica_elemento(std::string("milano"), 1), 3);
    EXPECT_EQ(a.tabella.identifica_elemento(std::string("Milano"), 1, 3), 2);
    EXPECT_EQ(a.tabella.identifica_elemento(std::string("torino"), 1, 3), -1); // not in the tail
    EXPECT_EQ(a.tabella.identifica_elemento(std::string(""), 1, 40), 1); // nothing left to compare
    EXPECT_EQ(a.tabella.identifica_elemento(4, 2), 3);
    EXPECT_EQ(a.tabella.identifica_elemento(std::int16_t{3}, 2), -1);

    // The exact searches are case-sensitive and reach the tail.
    EXPECT_EQ(a.tabella.identifica_elemento_da(std::string("TO TORINO"), 1, 1), 4);
    EXPECT_EQ(a.tabella.identifica_elemento_da(std::string("to torino"), 1, 1), -1);
    EXPECT_EQ(a.tabella.identifica_elemento_da(std::string("MILANO"), 1, 4), -1);
    EXPECT_EQ(a.tabella.identifica_elemento_da(2.0, 2, -5), 2); // numbers by value, from row 1
    EXPECT_EQ(a.tabella.identifica_elemento_lunghezza("MI", 1), 2);
    EXPECT_EQ(a.tabella.identifica_elemento_da_lunghezza("MI", 1, 3), 3);
    EXPECT_EQ(a.tabella.identifica_elemento_lunghezza("TO", 1), 4);
    EXPECT_EQ(a.tabella.identifica_elemento_lunghezza("to", 1), -1);
    EXPECT_EQ(a.tabella.identifica_elemento_lunghezza("MILANO E", 1), -1);
    EXPECT_EQ(a.tabella.identifica_elemento_cessati(std::string("TO TORINO"), 1), 4);
    EXPECT_EQ(a.tabella.identifica_elemento_cessati(std::string("MILANO"), 1), -1);

    EXPECT_EQ(a.tabella.estrai("milano", 1), "MI MILANO\r\nMILANO");
    EXPECT_EQ(a.tabella.estrai("xyz", 1), "");
    // A search on a column outside the table finds nothing.
    EXPECT_EQ(a.tabella.identifica_elemento(std::string("MILANO"), 3), -1);
}

// The halving searches over every size from an empty table up: each stored value is found,
// values between them and outside them are not.
TEST(RicercaTabella, DicotomicaSuOgniDimensione) {
    for (int n = 0; n <= 40; ++n) {
        AmbienteTabelle a;
        std::vector<std::string> righe;
        for (int i = 1; i <= n; ++i) {
            const std::string numero = std::to_string(100 + 2 * i);
            righe.push_back(record("0", "K" + numero, 2 * i));
        }
        carica(a, righe);
        for (int i = 1; i <= n; ++i) {
            const std::string numero = std::to_string(100 + 2 * i);
            const std::string nome = "K" + numero;
            ASSERT_EQ(a.tabella.identifica_elemento_dicotomica(nome, 1), i) << n;
            ASSERT_EQ(a.tabella.identifica_elemento_dicotomica("k" + numero, 1), i) << n;
            ASSERT_EQ(a.tabella.identifica_elemento_dicotomica(std::int16_t(2 * i), 2), i) << n;
            ASSERT_EQ(a.tabella.ricerca_dicotomica(nome, 1), i) << n;
            ASSERT_EQ(a.tabella.identifica_elemento_dicotomica(2 * i + 1, 2), -1) << n;
        }
        EXPECT_EQ(a.tabella.identifica_elemento_dicotomica(0, 2), -1) << n;
        EXPECT_EQ(a.tabella.identifica_elemento_dicotomica(2 * n + 2, 2), -1) << n;
        EXPECT_EQ(a.tabella.ricerca_dicotomica(std::string("k102"), 1), -1) << n; // no upper-casing

        std::vector<std::int64_t> autorizzati{0};
        for (int i = 1; i <= n; ++i) {
            autorizzati.push_back(10 * i);
        }
        for (int i = 1; i <= n; ++i) {
            ASSERT_EQ(Cls_Critto::identifica_autorizzati(autorizzati, 10 * i), i) << n;
            ASSERT_EQ(Cls_Critto::identifica_autorizzati(autorizzati, 10 * i + 5), -1) << n;
        }
    }
    EXPECT_EQ(Cls_Critto::identifica_autorizzati({}, 0), -1);
}

TEST(RicercaTabella, PrimoDiUnaSerieEIndiceSecondario) {
    AmbienteTabelle a;
    carica(a,
           {record("0", "A", 50), record("0", "B", 40), record("0", "B", 30), record("0", "B", 20),
            record("0", "D", 30)},
           {.ordinamento_secondario = 2});
    EXPECT_EQ(a.tabella.identifica_elemento_dicotomica_primo(std::string("b"), 1), 2);
    EXPECT_EQ(a.tabella.identifica_elemento_dicotomica_primo(std::string("C"), 1), -1);

    // Secondary index on the numbers: 20(4) 30(5) 30(3) 40(2) 50(1); the gap-4 pass moved the
    // last 30 ahead of the other.
    int posizione = 0;
    EXPECT_EQ(a.tabella.identifica_elemento_dicotomica_secondario(40, &posizione), 2);
    EXPECT_EQ(posizione, 4);
    EXPECT_EQ(a.tabella.identifica_elemento_dicotomica_secondario_primo(30, &posizione), 5);
    EXPECT_EQ(posizione, 2);
    EXPECT_EQ(a.tabella.identifica_elemento_dicotomica_secondario(35, &posizione), -1);
    EXPECT_EQ(posizione, -1);
    EXPECT_EQ(a.tabella.identifica_elemento_secondario_da(30, 1, 3), 3);
    EXPECT_EQ(a.tabella.identifica_elemento_secondario_da(5, 2, 1), 2);
    EXPECT_EQ(a.tabella.identifica_elemento_secondario_da(30, 1, 4), -1);
}

TEST(RicercaTabella, ValoriSingoliEPrefissi) {
    AmbienteTabelle a;
    carica(a, {record("0", "X", 1), record("0", "Y", 2), record("0", "X", 1),
               record("0", "AB CD", 3), record("0", "AB EF", 3)});
    EXPECT_EQ(a.tabella.ritorna_singoli(1),
              (std::vector<Valore>{Valore{}, std::string("X"), std::string("Y"),
                                   std::string("AB CD"), std::string("AB EF")}));
    EXPECT_EQ(
        a.tabella.ritorna_inizio_singoli(1),
        (std::vector<Valore>{Valore{}, std::string("X"), std::string("Y"), std::string("AB")}));
    EXPECT_EQ(a.tabella.ritorna_singoli(2),
              (std::vector<Valore>{Valore{}, std::int16_t{1}, std::int16_t{2}, std::int16_t{3}}));

    EXPECT_TRUE(a.tabella.marca_servizio(2, 2, "ZZZZ"));
    EXPECT_EQ(a.tabella.risposta_servizio(2), "0ZZ"); // never longer than three characters
    EXPECT_FALSE(a.tabella.marca_servizio(6, 1, "1"));
    EXPECT_FALSE(a.tabella.marca_servizio(1, 4, "1"));
    ASSERT_TRUE(a.tabella.salva(a.cartella.percorso("s.tda")));
    EXPECT_EQ(a.cartella.leggi("s.tda").substr(21, 21),
              record("0", "Y", 2).replace(1, 2, "ZZ") + "\r\n");
}

// Codes kept by levels, ten leaves to a branch: the first and the last leaf of every branch, on
// tables small enough to be scanned and large enough to be halved first.
TEST(RicercaTabella, TrovaFogliaPrimaEUltimaDelRamo) {
    for (const int n : {0, 7, 49, 50, 133}) {
        AmbienteTabelle a;
        std::vector<std::string> righe;
        for (int i = 0; i < n; ++i) {
            righe.push_back(
                record("0", std::to_string(100 + i / 10) + "." + std::to_string(i % 10), i));
        }
        carica(a, righe, {.ordinamento_secondario = 1});
        a.tabella.inizializza_livelli({3});
        for (int i = 0; i < n; ++i) {
            const std::string codice = std::to_string(100 + i / 10) + ".x";
            ASSERT_EQ(a.tabella.trova_foglia(codice), i / 10 * 10 + 1) << n << " " << codice;
            ASSERT_EQ(a.tabella.trova_foglia(codice, false), std::min(i / 10 * 10 + 10, n)) << n;
        }
        EXPECT_EQ(a.tabella.trova_foglia("099"), -1) << n;
        EXPECT_EQ(a.tabella.trova_foglia("999", false), -1) << n;
        a.tabella.inizializza_livelli({}); // without levels the whole code is the branch
        EXPECT_EQ(a.tabella.trova_foglia("100.4"), n > 4 ? 5 : -1) << n;
    }
}

} // namespace
} // namespace meravo
