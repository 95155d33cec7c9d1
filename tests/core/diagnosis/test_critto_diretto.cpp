#include "diagnosis/critto_diretto.h"
#include "diagnosis/risistema.h"

#include "doppi/doppi.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace meravo {
namespace {

using prova::CartellaTemporanea;
using prova::PompaEventiContata;

// A table line: prefix and code (9) in 12 characters, then `resto` to its width: a description
// of 250 and a flag (the complete table), or the complete table's record number (the secondary).
std::string riga(const std::string& codice, std::string resto, std::size_t larghezza = 251) {
    auto r = "000" + codice;
    r.resize(12, ' ');
    resto.resize(std::max(larghezza, resto.size()), ' ');
    return r + resto + "\r\n";
}

struct Tabelle {
    CartellaTemporanea cartella;
    PompaEventiContata pompa;
    std::shared_ptr<TabelleIcdix> dati = std::make_shared<TabelleIcdix>();
    CrittoDiretto icdix{pompa, "icdix", dati};
    // The sample tables of dati/: a cancelled line in each, a flag, records marked A and B.
    Tabelle() {
        cartella.scrivi("c.tda", CartellaTemporanea::leggi_file(MERAVO_DATI_PROVA "/icdix.tda"));
        cartella.scrivi("s.tda",
                        CartellaTemporanea::leggi_file(MERAVO_DATI_PROVA "/icdix_secondario.tda"));
    }
    Esito carica(bool ridotto = false, const std::string& secondario = "s.tda") {
        return icdix.carica_icdix(cartella.file("c.tda"), cartella.file(secondario), ridotto);
    }
};

TEST(CrittoDiretto, CaricaLeDueTabelleSaltandoLeRigheCancellate) {
    Tabelle t;
    const auto assente = t.cartella.file("assente.tda");
    EXPECT_EQ(t.icdix.carica_icdix(assente, "").messaggio(), "File " + assente + " mancante");
    EXPECT_EQ(t.carica(false, "assente.tda").messaggio(), "File " + assente + " mancante");
    EXPECT_EQ(t.dati->completa.righe(), 4U); // the complete table stays loaded
    ASSERT_TRUE(t.carica());
    EXPECT_EQ(*t.icdix.dati(2), (std::vector<std::string>{"", "BRONCHITE ACUTA", "INFLUENZA",
                                                          "LOMBALGIA", "GASTROENTERITE"}));
    EXPECT_EQ(t.icdix.dati_diretto_icdix(0, 1), "00A");
    EXPECT_EQ(t.icdix.dati_diretto_icdix(1, 2), "00487");
    EXPECT_EQ(t.icdix.dati_diretto_icdix(3, 2), "X");
    EXPECT_EQ(t.icdix.dati_diretto_icdix(2, 9), "");
    EXPECT_EQ(t.icdix.dati_diretto_secondario_icdix(2, 3), Valore(std::int32_t{3}));
    EXPECT_FALSE(t.icdix.dati(2, "farmaci"));
    t.icdix.marca_servizio_icdix(3, 2, "XY");
    EXPECT_EQ(t.icdix.dati_diretto_icdix(0, 3), "0XY");
    // The reduced set keeps the records marked A or B and indexes them by code itself.
    ASSERT_TRUE(t.carica(true, "non_esiste.tda"));
    EXPECT_EQ(*t.icdix.dati(2), (std::vector<std::string>{"", "BRONCHITE ACUTA", "LOMBALGIA"}));
    EXPECT_EQ(*t.icdix.dati_secondario(1),
              (std::vector<Valore>{{}, std::string("000034"), std::string("000724")}));
    EXPECT_EQ(*t.icdix.dati_secondario(2), (std::vector<Valore>{{}, 1, 2}));
}

// Tables of every size from empty up: each description and each code is found, texts between
// them or compared otherwise than as given are not. The last description sorts after the others
// by its accented first byte, as the files' code page orders them.
TEST(CrittoDiretto, RicercheDicotomicheSuOgniDimensione) {
    for (int n = 0; n <= 12; ++n) {
        const auto testo = [n](int i) {
            return (i == n ? "\xC8" : "D") + std::string("IAGNOSI ") + std::to_string(100 + 2 * i);
        };
        Tabelle t;
        std::string c, s;
        for (int i = 1; i <= n; ++i) {
            c += riga(std::to_string(100 + 2 * i), testo(i));
            // The record differs from the position in the secondary table.
            char record[16];
            std::snprintf(record, sizeof record, "%+011d", n + 1 - i);
            s += riga(std::to_string(100 + 2 * i), record, 11);
        }
        t.cartella.scrivi("c.tda", c);
        t.cartella.scrivi("s.tda", s);
        ASSERT_TRUE(t.carica());
        for (int i = 1; i <= n; ++i) {
            int indice = 0;
            ASSERT_EQ(t.icdix.identifica_elemento_dicotomica_icdix(testo(i)), i) << n;
            ASSERT_EQ(t.icdix.identifica_elemento_dicotomica_secondario_icdix(
                          std::to_string(100 + 2 * i), &indice),
                      n + 1 - i)
                << n;
            ASSERT_EQ(indice, i) << n;
            const auto tra = std::to_string(101 + 2 * i);
            ASSERT_EQ(t.icdix.identifica_elemento_dicotomica_icdix("DIAGNOSI " + tra), -1) << n;
            ASSERT_EQ(t.icdix.identifica_elemento_dicotomica_secondario_icdix(tra), -1) << n;
        }
        for (const auto* altro : {"DIAGNOSI 100", "diagnosi 102", "DIAGNOSI 102 ", ""}) {
            EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_icdix(altro), -1) << n << altro;
        }
    }
}

// A diagnosis added: both files keep a backup of what they were and are rewritten in order, so
// that both halving searches find every diagnosis.
TEST(CrittoDiretto, AggiungiRecordTieneOrdinatiEntrambiIFile) {
    Tabelle t;
    const auto prima = t.cartella.leggi("c.tda") + t.cartella.leggi("s.tda");
    // A code given must be the record's own.
    EXPECT_FALSE(t.icdix.aggiungi_record("1", riga("00490", "ALTRO"), t.cartella.file("c.tda"),
                                         t.cartella.file("s.tda")));
    ASSERT_TRUE(t.icdix.aggiungi_record("000842", riga("000842", "DISTORSIONE"),
                                        t.cartella.file("c.tda"), t.cartella.file("s.tda")));
    EXPECT_EQ(t.cartella.leggi("c.tda.bak") + t.cartella.leggi("s.tda.bak"), prima);
    ASSERT_TRUE(t.carica());
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_icdix(t.icdix.dati_diretto_icdix(2, r)),
                  r);
        const auto codice = t.icdix.dati_diretto_icdix(1, r);
        EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_secondario_icdix(codice), r) << codice;
    }
    EXPECT_EQ(t.icdix.dati_diretto_icdix(2, 2), "DISTORSIONE");
}

// Fields written at their widths, and whole drug lines: the first, of the reduced set (marked A),
// in its own file too.
TEST(Risistema, CampiERigheDeiFarmaciAdAmpiezzaFissa) {
    std::optional<std::int16_t> intero = -7;
    std::optional<std::int16_t> vuoto;
    std::optional<float> decimale = -12.5F;
    EXPECT_EQ(risistema_integer(intero) + risistema_integer(vuoto) + risistema_single(decimale),
              "-00007+00000-0000000000012,500000");
    EXPECT_EQ(vuoto, 0); // the caller's value becomes 0
    CartellaTemporanea cartella;
    std::vector<RecordFarmaco> farmaci(2);
    farmaci[0].servizio = "00A";
    farmaci[0].descri = "TACHIPIRINA 500 MG COMPRESSE, CONFEZIONE DA 20";
    farmaci[0].prezzo = 1234;
    farmaci[1].servizio = "000";
    farmaci[1].datafine = Data::da_numeri(2024, 2, 29);
    ASSERT_TRUE(salva_farmaci(farmaci, cartella.file("f.tda"), cartella.file("fr.tda")));
    EXPECT_EQ(cartella.leggi("fr.tda"),
              CartellaTemporanea::leggi_file(MERAVO_DATI_PROVA "/farmaci_ridotti.tda"));
    EXPECT_EQ(cartella.leggi("f.tda"),
              CartellaTemporanea::leggi_file(MERAVO_DATI_PROVA "/farmaci.tda"));
    EXPECT_EQ(farmaci[1].prezzo, 0);
}

} // namespace
} // namespace meravo
