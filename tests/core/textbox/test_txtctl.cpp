#include "textbox/txtctl.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace meravo {
namespace {

constexpr const char* msg_ggmmaaaa =
    "Verificare che la data sia stata digitata nel formato ggmmaaaa senza nessun separatore";
constexpr const char* msg_formato = "Verificare il formato della data";
constexpr const char* msg_solo_numeri = "Il campo data accetta solo numeri";

// One box with everything it raises recorded.
struct Banco {
    explicit Banco(int tipo, char decimale = ',') : box(messaggi, decimale) {
        box.Tipodati(tipo);
        box.Change = [this] { cambi.push_back(box.Text()); };
        box.Conferma = [this] { conferme.push_back(box.Text()); };
        box.riprendi_fuoco = [this] { ++fuoco_ripreso; };
    }
    void scrivi(std::string_view testo) {
        for (char c : testo) {
            box.digita(static_cast<unsigned char>(c));
        }
    }
    std::vector<std::string> testi_mostrati() const {
        std::vector<std::string> t;
        for (const auto& v : messaggi.mostrati) {
            t.push_back(v.testo);
        }
        return t;
    }

    prova::MessaggiRegistrati messaggi;
    Txtctl box;
    std::vector<std::string> cambi;
    std::vector<std::string> conferme;
    int fuoco_ripreso = 0;
};

using Testi = std::vector<std::string>;

TEST(Txtctl, OttoCifreDiventanoDataAllOttava) {
    const struct {
        const char* cifre;
        const char* testo;
        const char* messaggio; // nullptr: none
    } casi[] = {
        {"01022010", "01/02/2010", nullptr},   {"29022012", "29/02/2012", nullptr},
        {"31022010", "31022010", msg_formato}, {"29022011", "29022011", msg_formato},
        {"00012010", "00012010", msg_formato}, {"01010999", "01010999", msg_formato},
        {"12345678", "12345678", msg_formato},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.cifre);
        Banco b(1);
        b.box.prende_fuoco();
        b.scrivi(std::string_view(c.cifre, 7));
        EXPECT_EQ(b.box.Text(), std::string_view(c.cifre, 7));
        EXPECT_TRUE(b.messaggi.mostrati.empty());
        b.scrivi(c.cifre + 7);
        EXPECT_EQ(b.box.Text(), c.testo);
        EXPECT_EQ(b.cambi.back(), c.testo);
        if (c.messaggio == nullptr) {
            EXPECT_TRUE(b.messaggi.mostrati.empty());
            EXPECT_EQ(b.box.MaxLength(), 10);
            b.scrivi("9"); // the written date is full
            b.box.perde_fuoco();
            EXPECT_EQ(b.box.Text(), c.testo);
            EXPECT_EQ(b.fuoco_ripreso, 0);
            // The container never sees the eight bare digits of a date.
            EXPECT_EQ(std::count(b.cambi.begin(), b.cambi.end(), c.cifre), 0);
        } else {
            EXPECT_EQ(b.testi_mostrati(), Testi{c.messaggio});
            EXPECT_EQ(b.messaggi.mostrati[0].titolo, "Ostrel 2");
            EXPECT_EQ(b.messaggi.mostrati[0].icona, Icona::esclamazione);
            b.box.perde_fuoco();
            EXPECT_EQ(b.testi_mostrati(), (Testi{c.messaggio, c.messaggio}));
            EXPECT_EQ(b.fuoco_ripreso, 1);
        }
    }
}

TEST(Txtctl, DataIncompletaLasciataConTabTrattieneIlFuoco) {
    Banco b(1);
    b.box.prende_fuoco();
    b.scrivi("0102201\t");
    b.box.perde_fuoco();
    EXPECT_EQ(b.testi_mostrati(), Testi{msg_ggmmaaaa});
    EXPECT_EQ(b.messaggi.mostrati[0].titolo, "Ostrel 2");
    EXPECT_EQ(b.fuoco_ripreso, 1);
    EXPECT_EQ(b.box.Text(), "0102201");

    Banco lungo(1);
    lungo.box.Text("123456789");
    lungo.box.prende_fuoco();
    lungo.box.perde_fuoco();
    EXPECT_EQ(lungo.testi_mostrati(), Testi{msg_formato});
    EXPECT_EQ(lungo.fuoco_ripreso, 1);
}

TEST(Txtctl, DataInFormaBreveScrittaPerEstesoPrimaDiEssereLetta) {
    Banco b(1);
    b.box.Text("1/2/10");
    b.box.prende_fuoco();
    EXPECT_EQ(b.box.MaxLength(), 10);
    b.box.perde_fuoco();
    EXPECT_EQ(b.box.Text(), "01/02/2010");
    EXPECT_TRUE(b.messaggi.mostrati.empty());

    Banco invio(1);
    invio.box.Text("12-3-1975");
    invio.box.prende_fuoco();
    invio.box.digita(Txtctl::vbKeyReturn);
    EXPECT_EQ(invio.conferme, Testi{"12/03/1975"}); // checked before Conferma
}

TEST(Txtctl, TestoDelContenitoreControllatoSoloDopoIlPrimoFuoco) {
    Banco b(1);
    b.box.Text("01022010");
    b.box.Text("31022010");
    EXPECT_EQ(b.cambi, (Testi{"01022010", "31022010"}));
    EXPECT_TRUE(b.messaggi.mostrati.empty());
    b.box.Text("01022010");
    b.box.prende_fuoco();
    EXPECT_EQ(b.box.MaxLength(), 8);
    EXPECT_EQ(b.box.SelLength(), 8);
    b.box.perde_fuoco();
    EXPECT_EQ(b.box.Text(), "01/02/2010");

    Banco data(1);
    data.box.MaxLength(0);
    data.box.Text("12/03/2011");
    data.box.prende_fuoco();
    EXPECT_EQ(data.box.MaxLength(), 10);
    EXPECT_EQ(data.box.SelText(), "12/03/2011");
}

TEST(Txtctl, EscRimetteIlTestoDiQuandoEntrava) {
    const struct {
        int tipo;
        const char* iniziale;
    } casi[] = {{0, "abc"}, {1, "01/02/2010"}, {2, "3,5"}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.tipo);
        Banco b(c.tipo);
        b.box.Text(c.iniziale);
        b.box.prende_fuoco();
        b.scrivi("7");
        EXPECT_EQ(b.box.Text(), "7");
        b.box.digita(Txtctl::vbKeyEscape);
        EXPECT_EQ(b.box.Text(), c.iniziale);
        EXPECT_TRUE(b.messaggi.mostrati.empty());
    }
}

TEST(Txtctl, NumeroConIlSeparatoreDelLocale) {
    for (const char sep : {',', '.'}) {
        SCOPED_TRACE(sep);
        const char altro = sep == ',' ? '.' : ',';
        Banco b(2, sep);
        b.box.prende_fuoco();
        b.scrivi(std::string("-12") + sep + "5" + sep + "+");
        EXPECT_EQ(b.box.Text(), std::string("-12") + sep + "5+");
        EXPECT_TRUE(b.messaggi.mostrati.empty()); // a second separator goes silently

        EXPECT_EQ(b.box.digita(altro), 0);
        ASSERT_EQ(b.messaggi.mostrati.size(), 1u);
        EXPECT_EQ(b.messaggi.mostrati[0].testo, std::string("Il separatore decimale \xE8 ") + sep);
        EXPECT_EQ(b.messaggi.mostrati[0].titolo, titolo_predefinito);
        EXPECT_EQ(b.messaggi.mostrati[0].pulsanti, Pulsanti::ok);

        b.box.digita(Txtctl::vbKeyReturn);
        EXPECT_EQ(b.messaggi.mostrati.back().testo, msg_solo_numeri);
        EXPECT_TRUE(b.conferme.empty());
        EXPECT_EQ(b.box.Text(), std::string("-12") + sep + "5+");
    }
}

TEST(Txtctl, LettereRifiutateNeiCampiNumerici) {
    for (const int tipo : {1, 2}) {
        for (const char c : {'a', 'Z', '/', ' ', '\xE8'}) {
            SCOPED_TRACE(testing::Message() << tipo << " " << c);
            Banco b(tipo);
            b.box.prende_fuoco();
            b.scrivi("1");
            EXPECT_EQ(b.box.digita(static_cast<unsigned char>(c)), 0);
            EXPECT_EQ(b.box.Text(), "1");
            EXPECT_EQ(b.testi_mostrati(), Testi{msg_solo_numeri});
        }
    }
    Banco libero(0);
    libero.box.prende_fuoco();
    libero.scrivi("a Z/");
    EXPECT_EQ(libero.box.Text(), "a Z/");
}

TEST(Txtctl, DataScrittaSiSostituisceSoloPerIntero) {
    Banco b(1);
    b.box.Text("01/02/2010");
    b.box.prende_fuoco();
    b.box.premi_tasto(Txtctl::vbKeyEnd, 0);
    EXPECT_EQ(b.box.digita(Txtctl::vbKeyBack), 0);
    b.box.premi_tasto(Txtctl::vbKeyHome, 0);
    EXPECT_EQ(b.box.premi_tasto(Txtctl::vbKeyDelete, 0), 0);
    b.box.seleziona(3, 5);
    EXPECT_EQ(b.box.digita(Txtctl::vbKeyBack), 0);
    EXPECT_EQ(b.box.Text(), "01/02/2010");
    b.box.seleziona(0, 10);
    b.box.premi_tasto(Txtctl::vbKeyDelete, 0);
    EXPECT_EQ(b.box.Text(), "");
    EXPECT_TRUE(b.messaggi.mostrati.empty());
}

TEST(Txtctl, GliEventiDelContenitoreVengonoPrimaDeiControlli) {
    Banco b(1);
    b.box.KeyPress = [](int& c) { c = c == 'x' ? 0 : c; };
    b.box.KeyDown = [](int& codice, int&) { codice = 0; };
    b.box.Text("01/02/2010");
    b.box.prende_fuoco();
    b.scrivi("x");
    EXPECT_TRUE(b.messaggi.mostrati.empty()); // cancelled before the digit check
    b.box.seleziona(0, 10);
    EXPECT_EQ(b.box.premi_tasto(Txtctl::vbKeyDelete, 0), 0);
    EXPECT_EQ(b.box.Text(), "01/02/2010");

    Banco libero(0);
    libero.box.KeyPress = [](int& c) { c = c == 'a' ? 'A' : c; };
    libero.box.prende_fuoco();
    libero.scrivi("ba\r");
    EXPECT_EQ(libero.box.Text(), "bA");
    EXPECT_EQ(libero.conferme, Testi{"bA"});
}

TEST(Txtctl, ModificaComeUnaCasellaDiTesto) {
    Banco b(0);
    b.box.MaxLength(0);
    b.box.prende_fuoco();
    b.scrivi("abcd");
    b.box.premi_tasto(Txtctl::vbKeyLeft, 0);
    b.box.premi_tasto(Txtctl::vbKeyLeft, 0);
    b.scrivi("\b");
    EXPECT_EQ(b.box.Text(), "acd");
    b.box.premi_tasto(Txtctl::vbKeyEnd, Txtctl::vbShiftMask);
    EXPECT_EQ(b.box.SelText(), "cd");
    b.scrivi("x");
    EXPECT_EQ(b.box.Text(), "ax");
    b.box.Locked(true);
    b.scrivi("y\b");
    b.box.incolla("z");
    EXPECT_EQ(b.box.Text(), "ax");
}

TEST(Txtctl, IncollaPrendeSoloCioCheSiPotrebbeDigitare) {
    Banco data(1);
    data.box.prende_fuoco();
    data.box.incolla("0102x010");
    EXPECT_EQ(data.testi_mostrati(), Testi{msg_solo_numeri});
    data.box.incolla("0102201099");
    EXPECT_EQ(data.box.Text(), "01/02/2010"); // cut to eight digits, then written out

    Banco numero(2);
    numero.box.prende_fuoco();
    numero.box.incolla("1,5");
    numero.box.incolla(",2");
    EXPECT_EQ(numero.box.Text(), "1,5");
}

} // namespace
} // namespace meravo
