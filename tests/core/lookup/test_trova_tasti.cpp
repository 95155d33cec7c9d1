#include "banco_trova.h"

#include <gtest/gtest.h>

namespace meravo::prova {
namespace {

using Eventi = std::vector<std::string>;

// Each row starts a fresh look-up over the diagnoses on a text, plays a script of keys, and
// checks the screen, the beeps and, where given, what the container heard after the last |.
TEST(TrovaTasti, OgniSequenzaLasciaIlSuoSchermo) {
    const struct {
        const char* avvio;
        const char* script;
        const char* schermo;
        int beep = 0;
        std::optional<Eventi> eventi = {};
    } casi[] = {
        {"", "", "< [ASMA] 1/9"},
        {"", "br", "< BR[ONCHITE ACUTA] 1/2", 0, Eventi{"candidato", "candidato"}},
        // A character that finds nothing is refused, unannounced.
        {"", "br|↓X", "< BR[ONCHITE CRONICA] 2/2", 1, Eventi{"candidato"}},
        // Space fixes the prefix, and the typing goes on in a second term; the mouse cannot
        // move the typing position. Left takes the second term back, then leaves the mode.
        {"", "BRONCHITE @", "<> {BRONCHITE}[ ACUTA] 1/2"},
        {"", "BRONCHITE c", "<> {BRONCHITE}{ A}C[UTA] 1/2"},
        {"", "BRONCHITE c↓R", "<> {BRONCHITE}{ }CR[ONICA] 1/1"},
        {"", "BRONCHITE c↓R←←", "<> {BRONCHITE}[ ACUTA] 1/2"},
        {"", "BRONCHITE c↓R←←←", "< BRONCHITE[ ACUTA] 1/2"},
        // Space with nothing typed searches anywhere, and fixes the term once one is typed.
        {"", "  ", "> [ASMA] 1/9", 1},
        {"", " acu", "> {BRONCHITE }ACU[TA] 1/5"},
        {"", " acu A↓", ">> {FARINGITE }{ACU}{T}A[] 2/5"},
        {"", " acu A↓←←", "> {BRONCHITE }ACU[TA] 1/5"},
        {"", " acu←←←|←", "< [ASMA] 1/9", 0, Eventi{}},
        {"", " acu←←←←←", "< [ASMA] 1/9", 1},
        // Right takes the completion's next character as typed, a space as text.
        {"BRONCHITE", "→", "< BRONCHITE [ACUTA] 1/2"},
        {"BRONCHITE", "→@→", "< BRONCHITE A[CUTA] 1/1"},
        {"BRONCHITE", "→→⇲|→", "< BRONCHITE ACUTA[] 1/1", 1, Eventi{"candidato"}},
        // Up and Down stop at the ends; End makes the candidate the search, Home drops it all.
        {"BR", "↑↓↓", "< BR[ONCHITE CRONICA] 2/2", 2, Eventi{"candidato"}},
        {"BR", "↓⇲ ⇱", "< [ASMA] 1/9"},
        // Enter confirms a single candidate, or any with Ctrl, and opens no list; Esc leaves.
        {"CE", "⏎", "< CEFALEA[] 1/1", 0, Eventi{"conferma", "candidato"}},
        {"", "BRONCHITE ↓|⌃⏎", "< BRONCHITE CRONICA[] 1/1", 0, Eventi{"conferma", "candidato"}},
        {"CE", "⎋", "< CE[FALEA] 1/1", 0, Eventi{"uscita", "candidato"}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(std::string(c.avvio) + " + " + c.script);
        BancoTrova b;
        b.avvia(c.avvio);
        b.esegui(c.script);
        EXPECT_EQ(b.schermo(), c.schermo);
        EXPECT_EQ(b.segnale.beep_emessi, c.beep);
        if (c.eventi) {
            EXPECT_EQ(b.eventi, *c.eventi);
        }
    }
}

TEST(TrovaTasti, SpazioSuUnTermineGiaFissatoMostraUnAvviso) {
    BancoTrova b;
    b.avvia();
    b.esegui("BR ");
    EXPECT_TRUE(b.t.ridimensionato()); // back to "<", the caption hidden but kept
    b.esegui("  ");
    ASSERT_EQ(b.messaggi.mostrati.size(), 1u);
    EXPECT_EQ(b.messaggi.mostrati[0].testo, "linea non praticata");
    EXPECT_EQ(b.messaggi.mostrati[0].titolo, titolo_predefinito);
    EXPECT_EQ(b.schermo(), "> [ONCHITE ACUTA] 1/2");
    EXPECT_EQ(b.segnale.beep_emessi, 1);
}

// The drug table always wants the list; the diagnosis tables hear every key's text.
TEST(TrovaTasti, LeTabelleConUnComportamentoProprio) {
    BancoTrova farmaci(diagnosi, std::nullopt, "farmaci_tab");
    farmaci.avvia("CE");
    farmaci.esegui("⌃⏎");
    EXPECT_EQ(farmaci.schermo(), "< CE[FALEA] 1/1 lista 1/1");

    const struct {
        std::optional<std::string> nome;
        bool sente;
    } casi[] = {{"icdix", true},      {"icdix_bpco", true},     {"icdix_procedure", true},
                {"ICDIX", false},     {"icdix_vecchio", false}, {"comuni", false},
                {std::nullopt, false}};
    for (const auto& c : casi) {
        BancoTrova b(diagnosi, c.nome);
        b.t.inizializza(b.tabella, 2, "AS");
        b.esegui("m↓");
        const Eventi attesi = c.sente
                                  ? Eventi{"digitato:ASMA", "candidato", "digitato:m", "digitato:"}
                                  : Eventi{"candidato"};
        EXPECT_EQ(b.eventi, attesi) << c.nome.value_or("(none)");
    }
}

// Keys typed while a search (or the start) lets events run are queued and applied afterwards,
// in order, as if typed slowly; the character Right accepts comes before a key typed after it.
TEST(TrovaTasti, ITastiDigitatiDuranteUnaRicercaSonoApplicatiInOrdine) {
    BancoTrova b;
    b.avvia();
    b.in_arrivo = {[&] { b.esegui("R"); }, [&] { b.esegui("X"); }, [&] { b.esegui("O"); }};
    b.esegui("B");
    EXPECT_EQ(b.occupato_all_arrivo, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(b.schermo(), "< BRO[NCHITE ACUTA] 1/2");
    EXPECT_EQ(b.segnale.beep_emessi, 1);
    EXPECT_EQ(b.eventi, Eventi(3, "candidato"));

    BancoTrova destra;
    destra.avvia("B");
    destra.in_arrivo = {[&] { destra.esegui("→"); }, [&] { destra.esegui("N"); }};
    destra.esegui("R");
    EXPECT_EQ(destra.schermo(), "< BRON[CHITE ACUTA] 1/2");

    BancoTrova avvio;
    avvio.in_arrivo = {[&] { avvio.esegui("C"); }, [&] { avvio.esegui("E"); }};
    avvio.avvia();
    EXPECT_EQ(avvio.schermo(), "< CE[FALEA] 1/1");
}

} // namespace
} // namespace meravo::prova
