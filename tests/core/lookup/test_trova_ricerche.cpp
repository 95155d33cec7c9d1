#include "banco_trova.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace meravo::prova {
namespace {

using Lista = std::vector<std::string>;

// Each case of the data file: a rule, the case rule, two terms, a list and what the rule keeps.
TEST(Ricorrenze, LeQuattroRegoleConLaRegolaDelleMaiuscole) {
    const std::map<std::string, ModoRicerca> modi = {{"<", ModoRicerca::sinistra},
                                                     {">", ModoRicerca::ovunque},
                                                     {"<>", ModoRicerca::sinistra_e_ovunque},
                                                     {">>", ModoRicerca::ovunque_e_ovunque}};
    const auto lista = [](const std::string& voci) {
        return voci == "-0-" ? Lista{} : parti(voci, '|');
    };
    const auto casi = casi_da_file(MERAVO_DATI_PROVA "/ricorrenze.txt");
    EXPECT_EQ(casi.size(), 18u);
    for (auto c : casi) {
        c.resize(6);
        EXPECT_EQ(secondo_la_regola(modi.at(c[0]), c[1] == "1", c[2], c[3], lista(c[4])),
                  lista(c[5]))
            << c[0] << " terms " << c[2] << "/" << c[3] << " in " << c[4];
    }
}

TEST(TrovaRicerche, UnAvvioSenzaRisultatoOSuUnaColonnaCheNonCeNonCambiaNulla) {
    BancoTrova b;
    b.avvia("CE");
    b.t.inizializza_senza_caricare("ZZ");
    EXPECT_FALSE(b.t.inizializza(b.tabella, 7));
    EXPECT_EQ(b.t.valori_colonna().size(), 10u);
    EXPECT_EQ(b.schermo(), "< CE[FALEA] 1/0");
}

// Runs of every length around the two windows (10 and 50 rows), so the bisection hands over
// to the scan on both sides of each threshold.
TEST(TrovaRicerche, LimitiTrovaOgniSequenzaComeUnaScansione) {
    std::vector<std::string> righe;
    const int lunghezze[] = {1, 2, 9, 10, 11, 12, 49, 50, 51, 52, 99, 100, 101, 300, 1, 3};
    std::vector<std::string> chiavi = {"P", "A", "Z", "P016", "P003-0009", "P003-0010", "P0", ""};
    for (int gruppo = 0; gruppo < 16; ++gruppo) {
        char riga[32];
        for (int j = 0; j < lunghezze[gruppo]; ++j) {
            std::snprintf(riga, sizeof riga, "P%03d-%04d", gruppo, j);
            righe.emplace_back(riga);
        }
        chiavi.push_back(righe.back().substr(0, 4));
        chiavi.push_back(righe.back().substr(0, 7));
    }
    BancoTrova b(righe);
    b.avvia();
    for (const auto& chiave : chiavi) {
        trova::Intervallo atteso;
        for (std::size_t i = 0; i < righe.size(); ++i) {
            if (righe[i].starts_with(chiave)) {
                const auto riga = static_cast<std::int32_t>(i + 1);
                atteso.inferiore = atteso.inferiore ? atteso.inferiore : riga;
                atteso.superiore = riga;
            }
        }
        EXPECT_EQ(b.t.limiti(chiave), atteso) << chiave;
    }
}

TEST(TrovaRicerche, LeQuattroRicercheTengonoPuntatoriEQuanti) {
    BancoTrova b;
    b.avvia();
    auto& t = b.t;
    const struct {
        std::function<void()> ricerca;
        std::vector<std::int32_t> puntatori;
    } casi[] = {
        {[&] { t.sinistra("BRONCHITE"); }, {0, 2, 3}},
        {[&] { t.ovunque("acuta"); }, {0, 2, 5, 6, 8, 9}},
        {[&] { t.sinistraEovunque("BRONCHITE", "CRON"); }, {0, 3}},
        // GASTROENTERITE: "ITE" ends the word, "ACU" follows. No "TE" follows an "ITE": the one
        // inside it does not count.
        {[&] { t.ovunqueEovunque("ITE", "ACU"); }, {0, 2, 5, 6, 9}},
        {[&] { t.ovunqueEovunque("ITE", "TE"); }, {0}},
        {[&] { t.sinistra("Q"); }, {0}},
        {[&] { t.sinistraEovunque("Q", "A"); }, {0}},
    };
    for (const auto& c : casi) {
        c.ricerca();
        EXPECT_EQ(t.puntatori(), c.puntatori);
        EXPECT_EQ(t.ritorna_quanti_trovati(), static_cast<std::int32_t>(c.puntatori.size() - 1));
        ASSERT_EQ(t.lista_trovati().size(), c.puntatori.size());
        for (std::size_t k = 1; k < c.puntatori.size(); ++k) {
            EXPECT_EQ(t.lista_trovati()[k], diagnosi[static_cast<std::size_t>(c.puntatori[k] - 1)]);
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

// The saved text shows before any binding; the legend is coloured by the number of candidates.
TEST(TrovaRicerche, IlTestoSalvatoTornaELaLegendaSegueIlNumeroDiCandidati) {
    ProprietaTrova p;
    p.Text = "CEFALEA";
    p.BackColorUno = 0x0000FF;
    p.BackColorMolti = 0x00FF00;
    BancoTrova b(diagnosi, std::nullopt, std::nullopt, p);
    EXPECT_EQ(b.t.testo(), "CEFALEA");
    b.avvia("CE");
    EXPECT_EQ(b.t.sfondo_legenda(), 0x0000FFu);
    b.esegui("⇱");
    EXPECT_EQ(b.t.sfondo_legenda(), 0x00FF00u);
    EXPECT_EQ(b.t.proprieta().Text, "ASMA");
}

} // namespace
} // namespace meravo::prova
