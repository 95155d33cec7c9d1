#include "banco_trova.h"

#include <gtest/gtest.h>

namespace meravo::prova {
namespace {

using Eventi = std::vector<std::string>;

// Each row starts a fresh look-up over the diagnoses on a text, plays a script of keys, and
// checks the screen, the beeps and, where given, what the container heard after the last |.
// The box takes keys exactly while no list shows.
TEST(TrovaTasti, OgniSequenzaLasciaIlSuoSchermo) {
    const struct {
        const char* avvio;
        const char* script;
        const char* schermo;
        int beep = 0;
        std::optional<Eventi> eventi = {};
        bool esterna = false; // the container handles Enter itself
        std::optional<std::string> nome = {};
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
        // With two candidates Enter opens the list on the one shown, and the keys go to it.
        {"BR", "↓⏎|", "< BR[ONCHITE CRONICA] 2/2 lista 2/2", 0, Eventi{}},
        {"BR", "↓⏎|⇱", "< BR[ONCHITE CRONICA] 2/2 lista 1/2", 0, Eventi{"candidato"}},
        {"BR", "↓⏎|⇱↑", "< BR[ONCHITE CRONICA] 2/2 lista 1/2", 0, Eventi(2, "candidato")},
        {"BR", "↓⏎|⇱⇲↓", "< BR[ONCHITE CRONICA] 2/2 lista 2/2", 0, Eventi(3, "candidato")},
        // Escape on the list, or the container closing it (even when none shows), starts again
        // from the whole column; Enter confirms (once more, before the candidate, with Ctrl or
        // when the container handles Enter itself) and gives the box back its keys.
        {"BR", "↓⏎|⎋", "< [ASMA] 1/9", 0, Eventi{"candidato"}},
        {"BR", "↓⏎|✕", "< [ASMA] 1/9", 0, Eventi{"candidato"}},
        {"BR", "✕", "< [ASMA] 1/9"},
        {"BR", "↓⏎|⏎", "< BRONCHITE CRONICA[] 1/1", 0, Eventi{"candidato", "conferma"}},
        {"BR", "↓⏎|⏎", "< BRONCHITE CRONICA[] 1/1", 0, Eventi{"conferma", "candidato", "conferma"},
         true},
        {"BR", "↓⏎|⌃⏎", "< BRONCHITE CRONICA[] 1/1", 0,
         Eventi{"conferma", "candidato", "conferma"}},
        {"BR", "↓⏎⏎|←", "< BRONCHITE CRONIC[A] 1/1", 0, Eventi{"candidato"}},
        // A click chooses, a double click confirms and closes; the diagnosis tables hear the item.
        {"BR", "↓⏎|◦0•0", "< BRONCHITE ACUTA[] 1/1", 0,
         Eventi{"candidato", "digitato:BRONCHITE ACUTA", "conferma"}, false, "icdix"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(std::string(c.avvio) + " + " + c.script);
        BancoTrova b(diagnosi, c.nome);
        b.t.gestione_enter_esterna(c.esterna);
        b.avvia(c.avvio);
        b.esegui(c.script);
        EXPECT_EQ(b.schermo(), c.schermo);
        EXPECT_EQ(b.segnale.beep_emessi, c.beep);
        if (c.eventi) {
            EXPECT_EQ(b.eventi, *c.eventi);
        }
        EXPECT_EQ(b.t.testo_abilitato(), !b.t.lista_visibile());
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

// While Shift is held entries are confirmed one after the other and the list stays; its release
// gives back the text of when it went down, once, and only a press seen on the list has one.
TEST(TrovaLista, ConShiftSiConfermanoPiuVociEIlRilascioRipristinaText) {
    BancoTrova b;
    b.avvia("BR");
    b.esegui("↓⏎|");
    EXPECT_FALSE(b.t.ridimensionato()); // opening resized the control: no layout reset
    b.esegui("⇧⇪⇧↑⇧⏎");
    EXPECT_EQ(b.t.Text(), "BRONCHITE ACUTA");
    b.esegui("⇧⇪•1"); // held: the key repeats
    EXPECT_EQ(b.t.Text(), "BRONCHITE CRONICA");
    b.esegui("•0");
    EXPECT_TRUE(b.t.lista_visibile());
    EXPECT_EQ(b.eventi, (Eventi{"candidato", "candidato", "conferma", "candidato", "conferma",
                                "candidato", "conferma"}));
    b.t.tasto_su_lista(Tasto::maiuscole, modificatori::nessuno);
    EXPECT_EQ(b.t.Text(), "BRONCHITE CRONICA"); // as it was when Shift went down
    b.esegui("⇧⏎");
    b.t.tasto_su_lista(Tasto::maiuscole, modificatori::nessuno);
    EXPECT_EQ(b.t.Text(), "BRONCHITE ACUTA");

    // A list closed while Shift was down does not stay in multi-pick when opened again.
    b.esegui("⇧⇪⇧⎋");
    b.avvia("BR");
    b.esegui("↓⏎|•0");
    EXPECT_FALSE(b.t.lista_visibile());
    EXPECT_EQ(b.eventi, (Eventi{"conferma"}));
}

TEST(TrovaLista, ListaAPiuColonne) {
    BancoTrova b;
    b.tabella.colonne[1] = {"493", "466.0", "491.9", "784.0", "", "", "487.1", "", ""};
    b.tabella.colonne[3] = {"01/01/2024", "03/02/2023", "02/01/2024", "", "", "", "", "", ""};
    b.t.lista_treeview(true);
    b.t.setta_treeview({1, 3}, {"Codice", "Data"});
    b.avvia("BR");
    b.esegui("⏎|");
    const auto& v = b.t.vista();
    ASSERT_TRUE(v.visibile());
    EXPECT_EQ(b.schermo(), "< BR[ONCHITE ACUTA] 1/2"); // not the single-column list
    EXPECT_EQ(v.intestazioni(),
              (std::vector<std::string>{"Codice", "Data", "puntatore", "dataord"}));
    EXPECT_EQ(v.righe(),
              (std::vector<std::vector<std::string>>{{"466.0", "03/02/2023", "1", "20230203"},
                                                     {"491.9", "02/01/2024", "2", "20240102"}}));
    b.t.tasto_giu_controllo(Tasto::esc, modificatori::nessuno);
    EXPECT_FALSE(v.visibile());
    EXPECT_EQ(b.schermo(), "< BR[ONCHITE ACUTA] 1/2"); // leaving the view keeps the search
    EXPECT_TRUE(b.t.testo_abilitato());
    EXPECT_EQ(b.eventi, (Eventi{"candidato"}));
}

// Keys typed before Enter opened the multi-column list are applied once it shows and may narrow
// the search under it; a row chosen there is still the entry it shows.
TEST(TrovaLista, LaListaAPiuColonneConfermaLaRigaMostrata) {
    BancoTrova b;
    b.t.lista_treeview(true);
    b.t.setta_treeview({2}, {"Diagnosi"});
    b.avvia();
    b.esegui(" ");
    b.in_arrivo = {[&] { b.esegui("⏎"); }, [&] { b.esegui("C"); }};
    b.esegui("A");
    const auto& v = b.t.vista();
    ASSERT_TRUE(v.visibile());
    ASSERT_EQ(v.righe().front().front(), "ASMA");
    ASSERT_EQ(b.t.quanti(), 5); // "AC", typed after Enter
    b.t.scegli_riga_vista(0);
    EXPECT_EQ(b.schermo(), "< ASMA[] 1/1");
    EXPECT_EQ(b.t.Text(), "ASMA");
}

} // namespace
} // namespace meravo::prova
