#include "banco_trova.h"

#include <gtest/gtest.h>

namespace meravo::prova {
namespace {

using Eventi = std::vector<std::string>;

// "BR" leaves two candidates; Down shows the second, so Enter opens the list on it.
constexpr const char* lista_aperta = "↓⏎|";

// The keys on the open list. Escape starts again from the whole column; Enter confirms (once
// more, before the candidate, with Ctrl or when the container handles Enter itself). Either
// gives the box back its keys.
TEST(TrovaLista, ITastiSullaLista) {
    const struct {
        bool esterna;
        const char* script;
        const char* schermo;
        Eventi eventi;
    } casi[] = {
        {false, "", "< BR[ONCHITE CRONICA] 2/2 lista 2/2", {}},
        {false, "⇱", "< BR[ONCHITE CRONICA] 2/2 lista 1/2", {"candidato"}},
        {false, "⇱↑", "< BR[ONCHITE CRONICA] 2/2 lista 1/2", {"candidato", "candidato"}},
        {false, "⇱⇲↓", "< BR[ONCHITE CRONICA] 2/2 lista 2/2", Eventi(3, "candidato")},
        {false, "⎋", "< [ASMA] 1/9", {"candidato"}},
        {false, "⏎", "< BRONCHITE CRONICA[] 1/1", {"candidato", "conferma"}},
        {true, "⏎", "< BRONCHITE CRONICA[] 1/1", {"conferma", "candidato", "conferma"}},
        {false, "⌃⏎", "< BRONCHITE CRONICA[] 1/1", {"conferma", "candidato", "conferma"}},
        {false, "⏎|←", "< BRONCHITE CRONIC[A] 1/1", {"candidato"}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.script);
        BancoTrova b;
        b.t.gestione_enter_esterna(c.esterna);
        b.avvia("BR");
        b.esegui(lista_aperta);
        EXPECT_FALSE(b.t.ridimensionato()); // opening resized the control: no layout reset
        b.esegui(c.script);
        EXPECT_EQ(b.schermo(), c.schermo);
        EXPECT_EQ(b.eventi, c.eventi);
        EXPECT_EQ(b.segnale.beep_emessi, 0);
        EXPECT_EQ(b.t.testo_abilitato(), !b.t.lista_visibile());
    }
}

// The container closes the list as Escape does, and resets the search even with no list shown.
TEST(TrovaLista, ChiudiListaRicominciaDaTuttaLaColonna) {
    for (const char* script : {lista_aperta, ""}) {
        BancoTrova b;
        b.avvia("BR");
        b.esegui(script);
        b.t.chiudi_lista();
        EXPECT_EQ(b.schermo(), "< [ASMA] 1/9") << script;
    }
}

// While Shift is held entries are confirmed one after the other and the list stays; its release
// gives back the text of when it went down, once.
TEST(TrovaLista, ConShiftSiConfermanoPiuVociEIlRilascioRipristinaText) {
    BancoTrova b;
    b.avvia("BR");
    b.esegui(lista_aperta);
    const auto shift = [&](Tasto tasto) { b.t.tasto_giu_lista(tasto, modificatori::shift); };
    shift(Tasto::maiuscole);
    shift(Tasto::su);
    shift(Tasto::invio);
    EXPECT_EQ(b.t.Text(), "BRONCHITE ACUTA");
    shift(Tasto::maiuscole); // held: the key repeats
    b.t.doppio_click_lista(1);
    EXPECT_EQ(b.t.Text(), "BRONCHITE CRONICA");
    b.t.doppio_click_lista(0);
    EXPECT_TRUE(b.t.lista_visibile());
    EXPECT_EQ(b.eventi, (Eventi{"candidato", "candidato", "conferma", "candidato", "conferma",
                                "candidato", "conferma"}));
    b.t.tasto_su_lista(Tasto::maiuscole, modificatori::nessuno);
    EXPECT_EQ(b.t.Text(), "BRONCHITE CRONICA"); // as it was when Shift went down
    shift(Tasto::invio);
    b.t.tasto_su_lista(Tasto::maiuscole, modificatori::nessuno);
    EXPECT_EQ(b.t.Text(), "BRONCHITE ACUTA");

    // A list closed while Shift was down does not stay in multi-pick when opened again.
    shift(Tasto::maiuscole);
    shift(Tasto::esc);
    b.avvia("BR");
    b.esegui(lista_aperta);
    b.t.doppio_click_lista(0);
    EXPECT_FALSE(b.t.lista_visibile());
    EXPECT_EQ(b.eventi, (Eventi{"conferma"}));
}

// A click chooses, a double click confirms and closes; the diagnosis tables hear the item.
TEST(TrovaLista, IlMouseSullaLista) {
    BancoTrova b(diagnosi, "icdix");
    b.avvia("BR");
    b.esegui(lista_aperta);
    b.t.click_lista(0);
    b.t.doppio_click_lista(0);
    EXPECT_EQ(b.eventi, (Eventi{"candidato", "digitato:BRONCHITE ACUTA", "conferma"}));
    EXPECT_EQ(b.schermo(), "< BRONCHITE ACUTA[] 1/1");
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
