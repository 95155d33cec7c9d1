#include "banco_trova.h"

#include <gtest/gtest.h>

namespace meravo::prova {
namespace {

using Eventi = std::vector<std::string>;

// "BR" leaves two candidates; Down shows the second, so the list opens on it.
BancoTrova& con_lista_aperta(BancoTrova& b) {
    b.avvia("BR");
    b.premi(Tasto::giu);
    b.premi(Tasto::invio);
    b.leggi_eventi();
    return b;
}

TEST(TrovaLista, InvioConPiuCandidatiApreLaListaSulCandidato) {
    BancoTrova b;
    con_lista_aperta(b);
    EXPECT_TRUE(b.t.espanso());
    EXPECT_EQ(b.t.lista().voci(),
              (std::vector<std::string>{"BRONCHITE ACUTA", "BRONCHITE CRONICA"}));
    EXPECT_EQ(b.t.lista().indice(), 1);
    EXPECT_FALSE(b.t.testo_abilitato());
    EXPECT_FALSE(b.t.ridimensionato()); // opening resized the control: no layout reset
    EXPECT_EQ(b.t.descrittore_ricerche(), "<");
}

TEST(TrovaLista, TastiDiSpostamento) {
    BancoTrova b;
    con_lista_aperta(b);
    b.in_lista(Tasto::inizio);
    EXPECT_EQ(b.t.lista().indice(), 0);
    b.in_lista(Tasto::su);
    EXPECT_EQ(b.t.lista().indice(), 0);
    b.in_lista(Tasto::fine);
    b.in_lista(Tasto::giu);
    EXPECT_EQ(b.t.lista().indice(), 1);
    EXPECT_EQ(b.leggi_eventi(), Eventi(4, "candidato"));
    EXPECT_EQ(b.segnale.beep_emessi, 0);
}

TEST(TrovaLista, EscRicominciaDaTuttaLaColonna) {
    BancoTrova b;
    con_lista_aperta(b);
    b.in_lista(Tasto::esc);
    EXPECT_FALSE(b.t.lista_visibile());
    EXPECT_TRUE(b.t.testo_abilitato());
    EXPECT_EQ(b.t.focus(), trova::Focus::testo);
    EXPECT_EQ(b.schermo(), "< [ASMA]");
    EXPECT_EQ(b.t.quanti(), 9);
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato"}));

    con_lista_aperta(b);
    b.t.chiudi_lista();
    EXPECT_EQ(b.t.quanti(), 9);
    EXPECT_FALSE(b.t.lista_visibile());

    // With no list shown it resets the search all the same.
    b.avvia("BR");
    ASSERT_EQ(b.t.quanti(), 2);
    b.t.chiudi_lista();
    EXPECT_EQ(b.t.quanti(), 9);
    EXPECT_EQ(b.schermo(), "< [ASMA]");
}

TEST(TrovaLista, InvioChiudeEConfermaConOSenzaGestioneEsterna) {
    const struct {
        bool esterna;
        int mod;
        Eventi attesi;
    } casi[] = {
        {false, modificatori::nessuno, {"candidato", "conferma"}},
        {true, modificatori::nessuno, {"conferma", "candidato", "conferma"}},
        {false, modificatori::ctrl, {"conferma", "candidato", "conferma"}},
    };
    for (const auto& c : casi) {
        BancoTrova b;
        b.t.gestione_enter_esterna(c.esterna);
        con_lista_aperta(b);
        b.in_lista(Tasto::invio, c.mod);
        EXPECT_EQ(b.leggi_eventi(), c.attesi);
        EXPECT_EQ(b.schermo(), "< BRONCHITE CRONICA[]");
        EXPECT_EQ(b.t.Text(), "BRONCHITE CRONICA");
        EXPECT_EQ(b.t.quanti(), 1);
        EXPECT_FALSE(b.t.lista_visibile());
        EXPECT_TRUE(b.t.testo_abilitato());
    }
}

TEST(TrovaLista, ConShiftSiConfermanoPiuVociEIlRilascioRipristinaText) {
    BancoTrova b;
    con_lista_aperta(b);
    b.in_lista(Tasto::maiuscole, modificatori::shift);
    b.in_lista(Tasto::su, modificatori::shift);
    b.in_lista(Tasto::invio, modificatori::shift);
    EXPECT_EQ(b.t.Text(), "BRONCHITE ACUTA");
    b.in_lista(Tasto::maiuscole, modificatori::shift); // held: the key repeats
    b.t.doppio_click_lista(1);
    EXPECT_EQ(b.t.Text(), "BRONCHITE CRONICA");
    b.t.doppio_click_lista(0);
    EXPECT_TRUE(b.t.lista_visibile());
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato", "candidato", "conferma", "candidato",
                                        "conferma", "candidato", "conferma"}));
    b.t.tasto_su_lista(Tasto::maiuscole, modificatori::nessuno);
    EXPECT_EQ(b.t.Text(), "BRONCHITE CRONICA"); // as it was when Shift went down

    // A second release, like one of a Shift pressed before the list opened, has nothing to
    // give back.
    b.in_lista(Tasto::invio, modificatori::shift);
    b.t.tasto_su_lista(Tasto::maiuscole, modificatori::nessuno);
    EXPECT_EQ(b.t.Text(), "BRONCHITE ACUTA");
}

TEST(TrovaLista, DoppioClickConfermaEChiude) {
    BancoTrova b;
    con_lista_aperta(b);
    b.t.click_lista(0);
    b.t.doppio_click_lista(0);
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato", "conferma"}));
    EXPECT_EQ(b.t.Text(), "BRONCHITE ACUTA");
    EXPECT_FALSE(b.t.lista_visibile());

    // A list closed while Shift was down does not stay in multi-pick when opened again.
    con_lista_aperta(b);
    b.in_lista(Tasto::maiuscole, modificatori::shift);
    b.in_lista(Tasto::esc, modificatori::shift);
    con_lista_aperta(b);
    b.t.doppio_click_lista(0);
    EXPECT_FALSE(b.t.lista_visibile());
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"conferma"}));
}

TEST(TrovaLista, IlClickEITastiAnnuncianoLaVoceAlleTabelleDiagnosi) {
    BancoTrova b(diagnosi, "icdix");
    con_lista_aperta(b);
    b.t.click_lista(0);
    b.in_lista(Tasto::giu);
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato", "digitato:BRONCHITE ACUTA", "candidato",
                                        "digitato:BRONCHITE CRONICA"}));
}

TEST(TrovaLista, ListaAPiuColonne) {
    BancoTrova b;
    b.tabella.colonne[1] = {"493",   "466.0", "491.9", "784.0", "462",
                            "558.9", "487.1", "724.2", "463"};
    b.tabella.colonne[3] = {"01/01/2024", "03/02/2023", "02/01/2024", "", "", "", "", "", ""};
    b.t.lista_treeview(true);
    b.t.setta_treeview({1, 3}, {"Codice", "Data"});
    b.avvia("BR");
    b.premi(Tasto::invio);
    const auto& v = b.t.vista();
    ASSERT_TRUE(v.visibile());
    EXPECT_FALSE(b.t.lista_visibile());
    EXPECT_EQ(v.intestazioni(),
              (std::vector<std::string>{"Codice", "Data", "puntatore", "dataord"}));
    EXPECT_EQ(v.righe(),
              (std::vector<std::vector<std::string>>{{"466.0", "03/02/2023", "1", "20230203"},
                                                     {"491.9", "02/01/2024", "2", "20240102"}}));

    b.t.click_intestazione_vista(1); // the dates sort through their sortable copy
    EXPECT_TRUE(v.discendente());
    EXPECT_EQ(v.righe()[0][0], "491.9");
    b.t.seleziona_riga_vista(1);
    b.leggi_eventi();
    b.t.tasto_giu_controllo(Tasto::invio, modificatori::nessuno);
    EXPECT_EQ(b.schermo(), "< BRONCHITE ACUTA[]");
    EXPECT_FALSE(v.visibile());
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"conferma"}));

    b.t.inizializza_senza_caricare("BR");
    b.premi(Tasto::invio);
    b.leggi_eventi();
    b.t.tasto_giu_controllo(Tasto::esc, modificatori::nessuno);
    EXPECT_FALSE(v.visibile());
    EXPECT_TRUE(b.t.testo_abilitato());
    EXPECT_EQ(b.t.quanti(), 2); // leaving the view keeps the search
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato"}));
}

// Keys typed before Enter opened the multi-column list are applied once it shows and may narrow
// the search under it; a row chosen there is still the entry it shows.
TEST(TrovaLista, LaListaAPiuColonneConfermaLaRigaMostrata) {
    BancoTrova b;
    b.t.lista_treeview(true);
    b.t.setta_treeview({2}, {"Diagnosi"});
    b.avvia();
    b.digita(" ");
    b.in_arrivo = {[&] { b.premi(Tasto::invio); }, [&] { b.t.carattere_testo('C'); }};
    b.digita("A");
    const auto& v = b.t.vista();
    ASSERT_TRUE(v.visibile());
    ASSERT_EQ(v.righe().front().front(), "ASMA");
    ASSERT_EQ(b.t.quanti(), 5); // "AC", typed after Enter
    b.t.scegli_riga_vista(0);
    EXPECT_EQ(b.schermo(), "< ASMA[]");
    EXPECT_EQ(b.t.Text(), "ASMA");
}

} // namespace
} // namespace meravo::prova
