#include "banco_trova.h"

#include <gtest/gtest.h>

#include <set>

namespace meravo::prova {
namespace {

using Eventi = std::vector<std::string>;

// Each case of the data file starts a fresh look-up on a text, plays a script of keys, and
// checks the screen, the beeps and what the container heard.
TEST(TrovaTasti, OgniSequenzaLasciaIlSuoSchermo) {
    const auto casi = casi_da_file(MERAVO_DATI_PROVA "/tasti.txt");
    EXPECT_EQ(casi.size(), 47u);
    for (auto c : casi) {
        c.resize(7);
        const auto& [avvio, script, schermo, beep, eventi, opzioni, voci] =
            std::tie(c[0], c[1], c[2], c[3], c[4], c[5], c[6]);
        SCOPED_TRACE(avvio + " + " + script);
        std::set<std::string> flag;
        std::optional<std::string> nome;
        for (const auto& o : opzioni.empty() ? Eventi{} : parti(opzioni, ',')) {
            if (o == "esterna" || o == "esatte" || o == "farmaci") {
                flag.insert(o);
            } else {
                nome = o;
            }
        }
        auto colonna = voci.empty() ? diagnosi : parti(voci, '|');
        colonna.resize(voci == "-" ? 0 : colonna.size());
        BancoTrova b(colonna, nome,
                     flag.contains("farmaci") ? "farmaci_tab" : std::optional<std::string>());
        b.t.gestione_enter_esterna(flag.contains("esterna"));
        b.t.InputMinMaiuscIndifferente(!flag.contains("esatte"));
        b.t.inizializza(b.tabella, 2, avvio);
        b.esegui(script);
        EXPECT_EQ(b.schermo(), schermo);
        EXPECT_EQ(b.segnale.beep_emessi, std::stoi(beep));
        if (eventi != "*") {
            std::string uditi;
            for (const auto& e : b.eventi) {
                uditi += (uditi.empty() ? "" : ",") + e;
            }
            EXPECT_EQ(uditi, eventi);
        }
        EXPECT_EQ(b.t.testo_abilitato(), !b.t.lista_visibile());
        // What the user played during a search arrived while it ran.
        EXPECT_TRUE(b.in_arrivo.empty());
        EXPECT_EQ(std::ranges::count(b.occupato_all_arrivo, false), 0);
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

// Keys typed while the start lets events run are applied afterwards, in order; typed during a
// search, the data file's cases show the same.
TEST(TrovaTasti, ITastiDigitatiDuranteLAvvioSonoApplicatiInOrdine) {
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
