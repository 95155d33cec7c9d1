#include "banco_trova.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace meravo::prova {
namespace {

TEST(TrovaRicerche, InizializzaSenzaTestoMostraLaPrimaRigaETutteLeRighe) {
    BancoTrova b;
    b.avvia();
    EXPECT_EQ(b.schermo(), "< [ASMA]");
    EXPECT_EQ(b.t.quanti(), 9);
    EXPECT_EQ(b.t.Text(), "ASMA");
    const auto p = b.t.risultato_puntatori();
    ASSERT_EQ(p.size(), 10u);
    for (std::size_t i = 1; i < p.size(); ++i) {
        EXPECT_EQ(p[i], static_cast<std::int32_t>(i));
    }
}

TEST(TrovaRicerche, InizializzaConUnTesto) {
    BancoTrova b;
    b.avvia("br");
    EXPECT_EQ(b.schermo(), "< BR[ONCHITE ACUTA]");
    EXPECT_EQ(b.t.risultato_puntatori(), (std::vector<std::int32_t>{0, 2, 3}));
    EXPECT_EQ(b.t.ritorna_quanti_trovati(), 2);

    // Nothing begins with the text: no candidate, the box as it was.
    b.t.inizializza_senza_caricare("ZZ");
    EXPECT_EQ(b.t.quanti(), 0);
    EXPECT_EQ(b.t.testo(), "BRONCHITE ACUTA");
}

TEST(TrovaRicerche, UnaColonnaCheLaTabellaNonHaNonCambiaNulla) {
    BancoTrova b;
    b.avvia("CE");
    EXPECT_FALSE(b.t.inizializza(b.tabella, 7));
    EXPECT_EQ(b.t.quanti(), 1);
    EXPECT_EQ(b.t.valori_colonna().size(), 10u);
    EXPECT_EQ(b.schermo(), "< CE[FALEA]");
}

// Runs of every length around the two windows (10 and 50 rows), so the bisection hands over
// to the scan on both sides of each threshold.
TEST(TrovaRicerche, LimitiTrovaOgniSequenzaComeUnaScansione) {
    std::vector<std::string> righe;
    const int lunghezze[] = {1, 2, 9, 10, 11, 12, 49, 50, 51, 52, 99, 100, 101, 300, 1, 3};
    for (int gruppo = 0; gruppo < 16; ++gruppo) {
        for (int j = 0; j < lunghezze[gruppo]; ++j) {
            char riga[32];
            std::snprintf(riga, sizeof riga, "P%03d-%04d", gruppo, j);
            righe.emplace_back(riga);
        }
    }
    BancoTrova b(righe);
    b.avvia();
    const auto scansione = [&](const std::string& chiave) {
        trova::Intervallo atteso;
        for (std::size_t i = 0; i < righe.size(); ++i) {
            if (righe[i].compare(0, chiave.size(), chiave) == 0) {
                const auto riga = static_cast<std::int32_t>(i + 1);
                atteso.inferiore = atteso.inferiore ? atteso.inferiore : riga;
                atteso.superiore = riga;
            }
        }
        return atteso;
    };
    std::vector<std::string> chiavi = {"P", "A", "Z", "P016", "P003-0009", "P003-0010", "P0"};
    for (int gruppo = 0; gruppo < 16; ++gruppo) {
        char chiave[16];
        std::snprintf(chiave, sizeof chiave, "P%03d", gruppo);
        chiavi.emplace_back(chiave);
        chiavi.push_back(std::string(chiave) + "-00");
    }
    for (const auto& chiave : chiavi) {
        EXPECT_EQ(b.t.limiti(chiave), scansione(chiave)) << chiave;
    }
    EXPECT_EQ(b.t.limiti(""), (trova::Intervallo{1, static_cast<std::int32_t>(righe.size())}));
}

TEST(TrovaRicerche, ColonneDiUnaRigaONessuna) {
    BancoTrova una({"CEFALEA"});
    una.avvia();
    EXPECT_EQ(una.t.limiti("CE"), (trova::Intervallo{1, 1}));
    EXPECT_EQ(una.t.limiti("X"), trova::Intervallo{});
    una.digita("CX");
    EXPECT_EQ(una.schermo(), "< C[EFALEA]");
    EXPECT_EQ(una.t.risultato_puntatori(), (std::vector<std::int32_t>{0, 1}));

    // An empty column offers nothing to show, step through or confirm, and says so by beeping.
    BancoTrova vuota(std::vector<std::string>{});
    vuota.avvia();
    EXPECT_EQ(vuota.t.quanti(), 0);
    vuota.digita("A");
    vuota.premi(Tasto::giu);
    vuota.premi(Tasto::invio);
    vuota.premi(Tasto::inizio);
    EXPECT_EQ(vuota.segnale.beep_emessi, 3);
    EXPECT_FALSE(vuota.t.lista_visibile());
    EXPECT_EQ(vuota.schermo(), "< []");
}

TEST(TrovaRicerche, LeQuattroRicercheTengonoPuntatoriEQuanti) {
    BancoTrova b;
    b.avvia();
    auto& t = b.t;
    const struct {
        std::function<void()> ricerca;
        std::int32_t attesi;
    } casi[] = {
        {[&] { t.sinistra("BRONCHITE"); }, 2},
        {[&] { t.ovunque("acuta"); }, 5},
        {[&] { t.sinistraEovunque("BRONCHITE", "CRON"); }, 1},
        // GASTROENTERITE: "ITE" ends the word, "ACU" follows.
        {[&] { t.ovunqueEovunque("ITE", "ACU"); }, 4},
        {[&] { t.sinistra("Q"); }, 0},
        {[&] { t.sinistraEovunque("Q", "A"); }, 0},
    };
    for (const auto& c : casi) {
        c.ricerca();
        EXPECT_EQ(t.quanti(), c.attesi);
        EXPECT_EQ(t.ritorna_quanti_trovati(), t.quanti());
        ASSERT_EQ(t.puntatori().size(), t.lista_trovati().size());
        for (std::size_t k = 1; k < t.puntatori().size(); ++k) {
            EXPECT_EQ(t.valori_colonna()[static_cast<std::size_t>(t.puntatori()[k])],
                      t.lista_trovati()[k]);
        }
    }
}

// A container may bind the look-up again from an event that runs during a search: the search
// ends on the column it started on.
TEST(TrovaRicerche, UnNuovoLegameDuranteUnaRicercaNonLaInterrompe) {
    BancoTrova b;
    b.avvia();
    TabellaFinta altra;
    altra.colonne[2] = {"X"};
    b.in_arrivo = {[&] { b.t.inizializza(altra, 2); }};
    b.t.ovunqueEovunque("ITE", "ACU");
    EXPECT_EQ(b.t.lista_trovati()[4], "TONSILLITE ACUTA");
}

// Without the case rule matching is exact, also in the scan that ends a bisection.
TEST(TrovaRicerche, SenzaLaRegolaDelleMaiuscoleIlPrefissoEEsatto) {
    BancoTrova b({"Abc", "abc", "abd", "b"});
    b.t.InputMinMaiuscIndifferente(false);
    b.avvia();
    b.digita("a");
    EXPECT_EQ(b.t.risultato_puntatori(), (std::vector<std::int32_t>{0, 2, 3}));
    b.digita("B");
    EXPECT_EQ(b.segnale.beep_emessi, 1);
    EXPECT_EQ(b.schermo(), "< a[bc]");
}

TEST(TrovaRicerche, IlTestoSalvatoTornaELaLegendaSegueIlNumeroDiCandidati) {
    ProprietaTrova p;
    p.Text = "CEFALEA";
    p.BackColorUno = 0x0000FF;
    p.BackColorMolti = 0x00FF00;
    BancoTrova b(diagnosi, std::nullopt, std::nullopt, p);
    EXPECT_EQ(b.t.testo(), "CEFALEA");
    EXPECT_EQ(b.t.sfondo_legenda(), ProprietaTrova::azzurro);
    b.avvia("CE");
    EXPECT_EQ(b.t.sfondo_legenda(), 0x0000FFu);
    b.premi(Tasto::inizio);
    EXPECT_EQ(b.t.sfondo_legenda(), 0x00FF00u);
    EXPECT_EQ(b.t.proprieta().Text, "ASMA");
}

} // namespace
} // namespace meravo::prova
