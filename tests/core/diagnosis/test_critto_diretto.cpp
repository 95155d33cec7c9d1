#include "diagnosis/critto_diretto.h"

#include "doppi/doppi.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace meravo {
namespace {

using prova::CartellaTemporanea;
using prova::PompaEventiContata;

// A complete-table line: prefix, code (9), description (250), flag.
std::string completa(const std::string& prefisso, const std::string& codice,
                     const std::string& descrizione, const std::string& flag = " ") {
    auto riga = prefisso + codice;
    riga.resize(12, ' ');
    riga += descrizione;
    riga.resize(262, ' ');
    return riga + flag + "\r\n";
}

std::string secondaria(const std::string& prefisso, const std::string& codice, int record) {
    auto riga = prefisso + codice;
    riga.resize(12, ' ');
    const auto numero = std::to_string(record);
    return riga + "+" + std::string(10 - numero.size(), '0') + numero + "\r\n";
}

struct Tabelle {
    CartellaTemporanea cartella;
    PompaEventiContata pompa;
    std::shared_ptr<TabelleIcdix> dati = std::make_shared<TabelleIcdix>();
    CrittoDiretto icdix{pompa, "icdix", dati};

    Tabelle() {
        cartella.scrivi("c.tda", completa("00A", "000034", "BRONCHITE ACUTA") +
                                     completa("C00", "00008", "CANCELLATA") +
                                     completa("000", "00487", "INFLUENZA", "X") +
                                     completa("00B", "000724", "LOMBALGIA") +
                                     completa("000", "00558", "GASTROENTERITE NON INFETTIVA"));
        cartella.scrivi("s.tda", secondaria("000", "000034", 1) + secondaria("000", "00487", 2) +
                                     secondaria("C00", "00008", 9) +
                                     secondaria("000", "000724", 3));
    }
    Esito carica(bool ridotto = false, const std::string& secondario = "s.tda") {
        return icdix.carica_icdix(cartella.file("c.tda"), cartella.file(secondario), ridotto);
    }
};

TEST(CrittoDiretto, CaricaLeDueTabelleSaltandoLeRigheCancellate) {
    Tabelle t;
    ASSERT_TRUE(t.carica());
    const auto descrizioni = t.icdix.dati(2);
    ASSERT_TRUE(descrizioni);
    EXPECT_EQ(*descrizioni,
              (std::vector<std::string>{"", "BRONCHITE ACUTA", "INFLUENZA", "LOMBALGIA",
                                        "GASTROENTERITE NON INFETTIVA"}));
    EXPECT_EQ(t.icdix.dati_diretto_icdix(0, 1), "00A");
    EXPECT_EQ(t.icdix.dati_diretto_icdix(1, 2), "00487");
    EXPECT_EQ(t.icdix.dati_diretto_icdix(3, 2), "X");
    EXPECT_EQ(t.icdix.dati_diretto_icdix(2, 9), "");
    EXPECT_EQ(t.dati->secondaria.righe(), 3U);
    EXPECT_EQ(t.icdix.dati_diretto_secondario_icdix(2, 3), Valore(std::int32_t{3}));
    EXPECT_FALSE(t.icdix.dati(2, "farmaci"));
}

TEST(CrittoDiretto, RicercheDicotomiche) {
    Tabelle t;
    ASSERT_TRUE(t.carica());
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_icdix("INFLUENZA"), 2);
    // Compared as given: no trimming, no upper-casing.
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_icdix("influenza"), -1);
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_icdix("INFLUENZA "), -1);
    int indice = 0;
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_secondario_icdix("000724", &indice), 3);
    EXPECT_EQ(indice, 3);
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_secondario_icdix("99999"), -1);
}

TEST(CrittoDiretto, UnaTabellaDiUnSoloRecordSiTrova) {
    Tabelle t;
    t.cartella.scrivi("uno.tda", completa("00A", "00487", "INFLUENZA"));
    ASSERT_TRUE(t.icdix.carica_icdix(t.cartella.file("uno.tda"), "", true));
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_icdix("INFLUENZA"), 1);
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_icdix("LOMBALGIA"), -1);
    t.cartella.scrivi("vuota.tda", "");
    ASSERT_TRUE(t.icdix.carica_icdix(t.cartella.file("vuota.tda"), "", true));
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_icdix(""), -1);
}

TEST(CrittoDiretto, RidottoCostruisceLIndicePerCodiceSenzaLeggerlo) {
    Tabelle t;
    ASSERT_TRUE(t.carica(true, "non_esiste.tda"));
    EXPECT_EQ(*t.icdix.dati(2), (std::vector<std::string>{"", "BRONCHITE ACUTA", "LOMBALGIA"}));
    EXPECT_EQ(*t.icdix.dati_secondario(1),
              (std::vector<Valore>{{}, std::string("000034"), std::string("000724")}));
    EXPECT_EQ(*t.icdix.dati_secondario(2), (std::vector<Valore>{{}, 1, 2}));
    EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_secondario_icdix("000724"), 2);
}

TEST(CrittoDiretto, FileMancanti) {
    Tabelle t;
    const auto assente = t.cartella.file("assente.tda");
    auto esito = t.icdix.carica_icdix(assente, t.cartella.file("s.tda"));
    EXPECT_EQ(esito.messaggio(), "File " + assente + " mancante");
    EXPECT_EQ(t.dati->completa.righe(), 0U);

    esito = t.carica(false, "assente.tda");
    EXPECT_EQ(esito.messaggio(), "File " + assente + " mancante");
    EXPECT_EQ(t.dati->completa.righe(), 4U); // the complete table stays loaded
}

TEST(CrittoDiretto, LeTabelleSonoCondiviseDaTutteLeIstanze) {
    Tabelle t;
    ASSERT_TRUE(t.carica());
    CrittoDiretto altro(t.pompa, "icdix_procedure", t.dati);
    EXPECT_EQ(altro.identifica_elemento_dicotomica_icdix("LOMBALGIA"), 3);
    altro.marca_servizio_icdix(3, 2, "XY");
    EXPECT_EQ(t.icdix.dati_diretto_icdix(0, 3), "0XY");
    t.icdix.reset_icdix();
    EXPECT_EQ(altro.identifica_elemento_dicotomica_icdix("LOMBALGIA"), -1);
    EXPECT_EQ(*altro.Name(), "icdix_procedure");
}

TEST(CrittoDiretto, AggiungiRecordTieneOrdinatiEntrambiIFile) {
    Tabelle t;
    const auto c = t.cartella.file("c.tda");
    const auto s = t.cartella.file("s.tda");
    ASSERT_TRUE(
        t.icdix.aggiungi_record("00465", completa("000", "00465", "FARINGITE ACUTA"), c, s));
    ASSERT_TRUE(t.icdix.aggiungi_record("", completa("000", "000842", "DISTORSIONE POLSO"), c, s));
    EXPECT_FALSE(t.icdix.aggiungi_record("1", completa("000", "00490", "ALTRO"), c, s));
    EXPECT_TRUE(std::filesystem::exists(c + ".bak"));
    EXPECT_TRUE(std::filesystem::exists(s + ".bak"));

    ASSERT_TRUE(t.carica());
    EXPECT_EQ(*t.icdix.dati(2), (std::vector<std::string>{
                                    "", "BRONCHITE ACUTA", "DISTORSIONE POLSO", "FARINGITE ACUTA",
                                    "GASTROENTERITE NON INFETTIVA", "INFLUENZA", "LOMBALGIA"}));
    for (int r = 1; r <= 6; ++r) {
        const auto codice = t.icdix.dati_diretto_icdix(1, r);
        EXPECT_EQ(t.icdix.identifica_elemento_dicotomica_secondario_icdix(codice), r) << codice;
    }
}

// The full-size table: every description and every code is found by halving search.
TEST(CrittoDiretto, TabellaCompletaReale) {
    const std::string cartella = MERAVO_DATI_COMPLETI;
    if (!std::filesystem::exists(cartella + "/icdIX_completo.tda")) {
        GTEST_SKIP() << "full-size tables not beside this checkout";
    }
    PompaEventiContata pompa;
    CrittoDiretto icdix(pompa, "icdix", std::make_shared<TabelleIcdix>());
    ASSERT_TRUE(icdix.carica_icdix(cartella + "/icdIX_completo.tda",
                                   cartella + "/icdIX_secondario_completo.tda"));
    const auto descrizioni = *icdix.dati(2);
    ASSERT_EQ(descrizioni.size(), 16286U);
    for (std::size_t r = 1; r < descrizioni.size(); ++r) {
        const int trovato = icdix.identifica_elemento_dicotomica_icdix(descrizioni[r]);
        ASSERT_GT(trovato, 0) << descrizioni[r];
        ASSERT_EQ(icdix.dati_diretto_icdix(2, trovato), descrizioni[r]);
        const auto codice = icdix.dati_diretto_icdix(1, static_cast<int>(r));
        ASSERT_EQ(icdix.identifica_elemento_dicotomica_secondario_icdix(codice),
                  static_cast<int>(r))
            << codice;
    }
}

} // namespace
} // namespace meravo
