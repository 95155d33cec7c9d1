#include "textbox/data_digitata.h"
#include "textbox/txtctl.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace meravo {
namespace {

using Testi = std::vector<std::string>;

const std::string ggmmaaaa =
    "Verificare che la data sia stata digitata nel formato ggmmaaaa senza nessun separatore";
const std::string formato = "Verificare il formato della data";
const std::string giorno_e_mese = "verificare giorno e mese.";
const std::string non_esiste = "La data 31/02/2010 non esiste: " + giorno_e_mese;
const std::string solo_numeri = "Il campo data accetta solo numeri";
const std::string sep_virgola = "Il separatore decimale \xE8 ,";

// One box with everything it raises recorded.
struct Banco {
    explicit Banco(int tipo, std::string_view iniziale = {}, char decimale = ',')
        : box(messaggi, decimale) {
        box.Tipodati(tipo);
        box.Text(iniziale);
        box.Change = [this] { cambi.push_back(box.Text()); };
        box.Conferma = [this] { conferme.push_back(box.Text()); };
        box.riprendi_fuoco = [this] { ++fuoco_ripreso; };
    }

    // Plays what the user does: » gives the box the focus and « takes it away, ◉ is a click; ⇲ ⇱
    // ← → ⌦ are End, Home, Left, Right and Delete (⇧ holds Shift for the next one); anything else
    // is typed, as the platform delivers it, Return, Escape, Tab and Backspace as their characters.
    void esegui(std::string_view script) {
        static const std::pair<std::string_view, int> tasti[] = {
            {"⇲", Txtctl::vbKeyEnd},   {"⇱", Txtctl::vbKeyHome},   {"←", Txtctl::vbKeyLeft},
            {"→", Txtctl::vbKeyRight}, {"⌦", Txtctl::vbKeyDelete}, {"⇧", 0}};
        for (int shift = 0; !script.empty();) {
            const auto tasto = std::ranges::find_if(
                tasti, [&](const auto& t) { return script.starts_with(t.first); });
            std::size_t preso = tasto != std::end(tasti) ? tasto->first.size() : 1;
            if (script.starts_with("◉")) {
                preso = 3;
                box.clic();
            } else if (script.starts_with("»") || script.starts_with("«")) {
                preso = 2;
                script.starts_with("»") ? box.prende_fuoco() : box.perde_fuoco();
            } else if (tasto != std::end(tasti) && tasto->second == 0) {
                shift = Txtctl::vbShiftMask;
            } else if (tasto != std::end(tasti)) {
                box.premi_tasto(tasto->second, std::exchange(shift, 0));
            } else {
                box.digita(static_cast<unsigned char>(script.front()));
            }
            script.remove_prefix(preso);
        }
    }

    prova::MessaggiRegistrati messaggi;
    Txtctl box;
    std::vector<std::string> cambi;
    std::vector<std::string> conferme;
    int fuoco_ripreso = 0;
};

// Each row: a box of a type (0 free text, 1 date, 2 number) holding a text, a script, then the
// text, the messages shown, whether the box took the focus back, what Return confirmed.
TEST(Txtctl, OgniSequenzaLasciaIlSuoTesto) {
    const struct {
        int tipo;
        const char* iniziale;
        const char* script;
        const char* testo;
        Testi messaggi;
        bool ripreso = false;
        Testi conferme = {};
    } casi[] = {
        // Eight digits become the date at the eighth, which then takes no more; a date the
        // calendar lacks is refused there and again when the box is left, which keeps the focus.
        {1, "", "»0102201", "0102201", {}},
        {1, "", "»010220109«", "01/02/2010", {}},
        {1, "", "»29022012", "29/02/2012", {}},
        {1, "", "»31022010«", "31022010", {non_esiste, non_esiste}, true},
        {1, "", "»29022011", "29022011", {"La data 29/02/2011 non esiste: " + giorno_e_mese}},
        {1, "", "»00012010", "00012010", {"La data 00/01/2010 non esiste: " + giorno_e_mese}},
        {1, "", "»01010999", "01010999", {formato}},
        {1, "", "»0102201\t«", "0102201", {ggmmaaaa}, true},
        {1, "123456789", "»«", "123456789", {formato}, true},
        // A date in a short form is written out in full before anyone reads it.
        {1, "1/2/10", "»«", "01/02/2010", {}},
        {1, "12-3-1975", "»\r", "12/03/1975", {}, false, {"12/03/1975"}},
        // A written date goes only as a whole.
        {1, "01/02/2010", "»⇲\b⇱⌦→→→⇧→→\b", "01/02/2010", {}},
        {1, "01/02/2010", "»⇱⇧⇲⌦", "", {}},
        // A click takes a written date whole, for typing or Backspace; not one being typed.
        {1, "01/02/2010", "»→◉06122026", "06/12/2026", {}},
        {1, "01/02/2010", "»→◉\b", "", {}},
        {1, "", "»0102←←◉9", "01902", {}},
        // Escape puts back the text the box had when entered.
        {0, "abc", "»7\x1b", "abc", {}},
        {1, "01/02/2010", "»7\x1b", "01/02/2010", {}},
        {2, "3,5", "»7\x1b", "3,5", {}},
        // A number takes one separator (a second goes silently), the other one is explained;
        // Return confirms nothing there.
        {2, "", "»-12,5,+.", "-12,5+", {sep_virgola}},
        {2, "", "»-12,5+\r", "-12,5+", {solo_numeri}},
        // Letters only in free text.
        {1, "", "»1aZ/ \xE8", "1", Testi(5, solo_numeri)},
        {2, "", "»1aZ/ \xE8", "1", Testi(5, solo_numeri)},
        {0, "", "»a Z/\xE8", "a Z/\xE8", {}},
        // Free text edits as a text box does.
        {0, "", "»abcd←←\b", "acd", {}},
        {0, "", "»abcd←←\b⇧⇲x", "ax", {}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.script);
        Banco b(c.tipo, c.iniziale);
        b.box.MaxLength(c.tipo == 0 ? 0 : b.box.MaxLength());
        b.esegui(c.script);
        EXPECT_EQ(b.box.Text(), c.testo);
        EXPECT_EQ(b.messaggi.testi(), c.messaggi);
        for (const auto& m : b.messaggi.mostrati) { // the date box's warnings have their title
            EXPECT_EQ(m.titolo, m.testo == sep_virgola ? titolo_predefinito : "Ostrel 2");
            EXPECT_EQ(m.icona, m.testo == sep_virgola ? Icona::nessuna : Icona::esclamazione);
        }
        EXPECT_EQ(b.fuoco_ripreso, c.ripreso ? 1 : 0);
        EXPECT_EQ(b.conferme, c.conferme);
        // The container never sees the eight bare digits of a date.
        EXPECT_EQ(std::count(b.cambi.begin(), b.cambi.end(), "01022010"), 0);
    }
}

TEST(Txtctl, TestoDelContenitoreControllatoSoloDopoIlPrimoFuoco) {
    Banco b(1);
    b.box.Text("01022010");
    b.box.Text("31022010");
    EXPECT_EQ(b.cambi, (Testi{"01022010", "31022010"}));
    EXPECT_TRUE(b.messaggi.mostrati.empty());
    b.box.Text("01022010");
    b.esegui("»");
    EXPECT_EQ(b.box.MaxLength(), 8);
    EXPECT_EQ(b.box.SelLength(), 8);
    b.esegui("«");
    EXPECT_EQ(b.box.Text(), "01/02/2010");

    Banco data(1);
    data.box.MaxLength(0);
    data.box.Text("12/03/2011");
    data.esegui("»");
    EXPECT_EQ(data.box.MaxLength(), 10);
    EXPECT_EQ(data.box.SelText(), "12/03/2011");
}

TEST(Txtctl, GliEventiDelContenitoreVengonoPrimaDeiControlli) {
    Banco b(1, "01/02/2010");
    b.box.KeyPress = [](int& c) { c = c == 'x' ? 0 : c; };
    b.box.KeyDown = [](int& codice, int&) { codice = 0; };
    b.esegui("»x⌦");                          // entering selects the whole date
    EXPECT_TRUE(b.messaggi.mostrati.empty()); // cancelled before the digit check
    EXPECT_EQ(b.box.Text(), "01/02/2010");

    Banco libero(0);
    libero.box.KeyPress = [](int& c) { c = c == 'a' ? 'A' : c; };
    libero.esegui("»ba\r");
    EXPECT_EQ(libero.conferme, Testi{"bA"});
}

TEST(Txtctl, IncollaPrendeSoloCioCheSiPotrebbeDigitare) {
    Banco data(1);
    data.esegui("»");
    data.box.incolla("0102x010");
    EXPECT_EQ(data.messaggi.testi(), Testi{solo_numeri});
    data.box.incolla("0102201099");
    EXPECT_EQ(data.box.Text(), "01/02/2010"); // cut to eight digits, then written out

    Banco numero(2);
    numero.esegui("»");
    numero.box.incolla("1,5");
    numero.box.incolla(",2");
    EXPECT_EQ(numero.box.Text(), "1,5");

    Banco bloccato(0, "ax");
    bloccato.box.Locked(true);
    bloccato.esegui("»⇲y\b");
    bloccato.box.incolla("z");
    EXPECT_EQ(bloccato.box.Text(), "ax");
}

TEST(DataDigitata, FormeBreviScritteInteramente) {
    const struct {
        const char* digitata;
        const char* scritta;
    } casi[] = {
        {"1/2/10", "01/02/2010"},     {"01/02/2010", "01/02/2010"},   {"1-2-2010", "01/02/2010"},
        {"12.3.75", "12/03/1975"},    {"5/6/29", "05/06/2029"},       {"5/6/30", "05/06/1930"},
        {"31/12/99", "31/12/1999"},   {"1/1/00", "01/01/2000"},       {"29/2/2000", "29/02/2000"},
        {"29/02/2012", "29/02/2012"}, {"31/1/9999", "31/01/9999"},    {" 1/2/10\t", "01/02/2010"},
        {"2010-02-01", "01/02/2010"}, {" 2012-02-29 ", "29/02/2012"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(data_riconosciuta(c.digitata), c.scritta) << c.digitata;
    }
}

TEST(DataDigitata, TestiCheNonSonoDate) {
    const char* casi[] = {
        "",           "01022010",   "1/2",        "1/2/",       "1/2/3",       "1/2/123",
        "1/2/20100",  "001/2/10",   "1/002/10",   "1/2-10",     "1.2/2010",    "1 /2/10",
        "2010-2-1",   "a/2/10",     "0/1/2010",   "1/0/2010",   "1/13/2010",   "32/1/2010",
        "31/4/2010",  "29/2/2011",  "29/2/1900",  "29/2/2100",  "30/2/2000",   "1/1/0999",
        "2010/02/01", "01,02,2010", "2011-02-29", "0999-01-01", "2010-02-01x",
    };
    for (const char* testo : casi) {
        EXPECT_EQ(data_riconosciuta(testo), std::nullopt) << testo;
    }
}

} // namespace
} // namespace meravo
