#include "banco_trova.h"

#include <gtest/gtest.h>

namespace meravo::prova {
namespace {

using Eventi = std::vector<std::string>;

TEST(TrovaTasti, UnCarattereCheNonTrovaNullaERifiutato) {
    BancoTrova b;
    b.avvia();
    b.digita("br");
    EXPECT_EQ(b.schermo(), "< BR[ONCHITE ACUTA]");
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato", "candidato"}));
    b.premi(Tasto::giu);
    b.digita("X");
    EXPECT_EQ(b.segnale.beep_emessi, 1);
    EXPECT_EQ(b.schermo(), "< BR[ONCHITE CRONICA]");
    EXPECT_EQ(b.t.posizione(), 2);
    EXPECT_EQ(b.t.risultato_puntatori(), (std::vector<std::int32_t>{0, 2, 3}));
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato"})); // Down only
}

TEST(TrovaTasti, SpazioFissaIlPrefissoEPoiSiCercaUnSecondoTermine) {
    BancoTrova b;
    b.avvia();
    b.digita("BRONCHITE ");
    b.t.mouse_su_testo(); // the mouse cannot move the typing position
    EXPECT_EQ(b.schermo(), "<> {BRONCHITE}[ ACUTA]");
    b.digita("c");
    EXPECT_EQ(b.schermo(), "<> {BRONCHITE}{ A}C[UTA]");
    EXPECT_EQ(b.t.quanti(), 2);
    b.premi(Tasto::giu);
    EXPECT_EQ(b.schermo(), "<> {BRONCHITE}{ }C[RONICA]");
    b.digita("R");
    EXPECT_EQ(b.schermo(), "<> {BRONCHITE}{ }CR[ONICA]");
    EXPECT_EQ(b.t.risultato_puntatori(), (std::vector<std::int32_t>{0, 3}));

    // Left takes the second term back one character at a time, then leaves the mode.
    b.premi(Tasto::sinistra);
    b.premi(Tasto::sinistra);
    EXPECT_EQ(b.schermo(), "<> {BRONCHITE}[ ACUTA]");
    b.premi(Tasto::sinistra);
    EXPECT_EQ(b.schermo(), "< BRONCHITE[ ACUTA]");
    EXPECT_EQ(b.t.quanti(), 2);
    EXPECT_EQ(b.segnale.beep_emessi, 0);
}

TEST(TrovaTasti, SpazioSenzaTestoCercaOvunqueESecondoSpazioFissaIlTermine) {
    BancoTrova b;
    b.avvia();
    b.digita(" ");
    EXPECT_EQ(b.t.descrittore_ricerche(), ">");
    b.digita(" "); // nothing typed yet: refused
    EXPECT_EQ(b.segnale.beep_emessi, 1);
    b.digita("acu");
    EXPECT_EQ(b.schermo(), "> {BRONCHITE }ACU[TA]");
    EXPECT_EQ(b.t.quanti(), 5);
    b.digita(" ");
    EXPECT_EQ(b.schermo(), ">> {BRONCHITE }{ACU}[TA]");
    b.digita("A");
    EXPECT_EQ(b.schermo(), ">> {BRONCHITE }{ACU}{T}A[]");
    b.premi(Tasto::giu);
    EXPECT_EQ(b.schermo(), ">> {FARINGITE }{ACU}{T}A[]");

    b.premi(Tasto::sinistra);
    EXPECT_EQ(b.schermo(), ">> {BRONCHITE }{ACU}[TA]");
    b.premi(Tasto::sinistra);
    EXPECT_EQ(b.schermo(), "> {BRONCHITE }ACU[TA]");
    for (int i = 0; i < 3; ++i) {
        b.premi(Tasto::sinistra);
    }
    EXPECT_EQ(b.schermo(), "> [ASMA]");
    EXPECT_EQ(b.t.quanti(), 9);
    b.leggi_eventi();
    b.premi(Tasto::sinistra); // nothing typed: back to prefix mode, candidate unchanged
    EXPECT_EQ(b.schermo(), "< [ASMA]");
    EXPECT_TRUE(b.leggi_eventi().empty());
    b.premi(Tasto::sinistra);
    EXPECT_EQ(b.segnale.beep_emessi, 2);
}

TEST(TrovaTasti, SpazioSuUnTermineGiaFissatoMostraUnAvviso) {
    BancoTrova b;
    b.avvia();
    b.digita("BR ");
    EXPECT_TRUE(b.t.ridimensionato()); // a resize puts back "<" but keeps the caption
    b.digita("  ");
    ASSERT_EQ(b.messaggi.mostrati.size(), 1u);
    EXPECT_EQ(b.messaggi.mostrati[0].testo, "linea non praticata");
    EXPECT_EQ(b.messaggi.mostrati[0].titolo, titolo_predefinito);
    EXPECT_EQ(b.segnale.beep_emessi, 1);
    EXPECT_EQ(b.t.descrittore_ricerche(), ">");
}

TEST(TrovaTasti, DestraPrendeLoSpazioDelCompletamentoComeTesto) {
    BancoTrova b;
    b.avvia("BRONCHITE");
    b.premi(Tasto::destra);
    EXPECT_EQ(b.schermo(), "< BRONCHITE [ACUTA]");
    EXPECT_EQ(b.t.quanti(), 2);
    b.t.mouse_su_testo();
    b.premi(Tasto::destra);
    EXPECT_EQ(b.schermo(), "< BRONCHITE A[CUTA]");
    EXPECT_EQ(b.t.quanti(), 1);
    b.premi(Tasto::fine);
    EXPECT_EQ(b.schermo(), "< BRONCHITE ACUTA[]");
    b.leggi_eventi();
    b.premi(Tasto::destra);
    EXPECT_EQ(b.segnale.beep_emessi, 1);
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato"}));
}

TEST(TrovaTasti, SuEGiuAgliEstremiHomeEFine) {
    BancoTrova b;
    b.avvia("BR");
    b.premi(Tasto::su);
    b.premi(Tasto::giu);
    b.premi(Tasto::giu);
    EXPECT_EQ(b.segnale.beep_emessi, 2);
    EXPECT_EQ(b.t.posizione(), 2);
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato"}));

    b.premi(Tasto::fine); // the whole candidate becomes the search
    EXPECT_EQ(b.schermo(), "< BRONCHITE CRONICA[]");
    EXPECT_EQ(b.t.risultato_puntatori(), (std::vector<std::int32_t>{0, 3}));

    b.digita(" ");
    b.premi(Tasto::inizio);
    EXPECT_EQ(b.schermo(), "< [ASMA]");
    EXPECT_EQ(b.t.quanti(), 9);
    EXPECT_FALSE(b.t.fisso().visibile);
}

TEST(TrovaTasti, InvioConfermaUnSoloCandidatoOConCtrl) {
    BancoTrova b;
    b.avvia("CE");
    b.premi(Tasto::invio);
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"conferma", "candidato"}));
    EXPECT_EQ(b.t.Text(), "CEFALEA");
    EXPECT_FALSE(b.t.lista_visibile());

    b.t.inizializza_senza_caricare();
    b.digita("BRONCHITE ");
    b.premi(Tasto::giu);
    b.leggi_eventi();
    b.premi(Tasto::invio, modificatori::ctrl);
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"conferma", "candidato"}));
    EXPECT_EQ(b.schermo(), "< BRONCHITE CRONICA[]");
    EXPECT_FALSE(b.t.lista_visibile());

    b.premi(Tasto::esc);
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"uscita", "candidato"}));
}

TEST(TrovaTasti, LaTabellaDeiFarmaciApreSempreLaLista) {
    BancoTrova b(diagnosi, std::nullopt, "farmaci_tab");
    b.avvia("CE");
    b.premi(Tasto::invio, modificatori::ctrl);
    EXPECT_TRUE(b.t.lista_visibile());
    EXPECT_EQ(b.t.lista().voci(), (std::vector<std::string>{"CEFALEA"}));
    EXPECT_EQ(b.leggi_eventi(), (Eventi{"candidato"}));
}

TEST(TrovaTasti, SoloLeTabelleDiagnosiSentonoIlTestoDigitato) {
    const struct {
        std::optional<std::string> nome;
        bool sente;
    } casi[] = {{"icdix", true},      {"icdix_bpco", true},     {"icdix_procedure", true},
                {"ICDIX", false},     {"icdix_vecchio", false}, {"comuni", false},
                {std::nullopt, false}};
    for (const auto& c : casi) {
        BancoTrova b(diagnosi, c.nome);
        b.t.inizializza(b.tabella, 2, "AS");
        b.digita("m");
        b.premi(Tasto::giu);
        const Eventi attesi = c.sente
                                  ? Eventi{"digitato:ASMA", "candidato", "digitato:m", "digitato:"}
                                  : Eventi{"candidato"};
        EXPECT_EQ(b.leggi_eventi(), attesi) << c.nome.value_or("(none)");
    }
}

// Keys typed while a search lets events run are queued and applied afterwards, in order.
TEST(TrovaTasti, ITastiDigitatiDuranteUnaRicercaSonoApplicatiInOrdine) {
    BancoTrova veloce;
    veloce.avvia();
    veloce.in_arrivo = {[&] { veloce.t.carattere_testo('R'); },
                        [&] { veloce.t.carattere_testo('X'); },
                        [&] { veloce.t.carattere_testo('O'); }};
    veloce.digita("B");
    EXPECT_EQ(veloce.occupato_all_arrivo, (std::vector<bool>{true, true, true}));

    BancoTrova lento;
    lento.avvia();
    lento.digita("BRXO");
    for (auto* b : {&veloce, &lento}) {
        EXPECT_EQ(b->schermo(), "< BRO[NCHITE ACUTA]");
        EXPECT_EQ(b->t.risultato_puntatori(), (std::vector<std::int32_t>{0, 2, 3}));
        EXPECT_EQ(b->segnale.beep_emessi, 1);
        EXPECT_EQ(b->leggi_eventi(), (Eventi{"candidato", "candidato", "candidato"}));
    }
}

// The character that Right accepts belongs to Right: a key typed after it comes after it.
TEST(TrovaTasti, DestraInCodaPrendeIlCarattereAlSuoPosto) {
    BancoTrova b;
    b.avvia("B");
    b.in_arrivo = {[&] { b.premi(Tasto::destra); }, [&] { b.t.carattere_testo('N'); }};
    b.digita("R");
    EXPECT_EQ(b.schermo(), "< BRON[CHITE ACUTA]");
    EXPECT_EQ(b.segnale.beep_emessi, 0);
}

TEST(TrovaTasti, ITastiDigitatiDuranteLAvvioSonoApplicatiDopo) {
    BancoTrova b;
    b.in_arrivo = {[&] { b.t.carattere_testo('C'); }, [&] { b.t.carattere_testo('E'); }};
    b.avvia();
    EXPECT_EQ(b.schermo(), "< CE[FALEA]");
    EXPECT_EQ(b.t.quanti(), 1);
}

} // namespace
} // namespace meravo::prova
