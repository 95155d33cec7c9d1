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

    // Plays what the user does, as the head of dati/tasti.txt tells; Return, Escape, Tab and
    // Backspace are typed as their characters (negative here), as the platform delivers them.
    void esegui(std::string_view script) {
        static const std::pair<std::string_view, int> tasti[] = {
            {"⇲", Txtctl::vbKeyEnd},     {"⇱", Txtctl::vbKeyHome},    {"←", Txtctl::vbKeyLeft},
            {"→", Txtctl::vbKeyRight},   {"⌦", Txtctl::vbKeyDelete},  {"⇧", 0},
            {"⏎", -Txtctl::vbKeyReturn}, {"⎋", -Txtctl::vbKeyEscape}, {"⇥", -Txtctl::vbKeyTab},
            {"⌫", -Txtctl::vbKeyBack}};
        for (int shift = 0; !script.empty();) {
            const auto tasto = std::ranges::find_if(
                tasti, [&](const auto& t) { return script.starts_with(t.first); });
            std::size_t preso = tasto != std::end(tasti) ? tasto->first.size() : 1;
            if (script.starts_with("◉")) {
                preso = 3;
                box.clic();
            } else if (script.starts_with("⎘")) {
                preso = script.find("⎘", 3) + 3;
                box.incolla(script.substr(3, preso - 6));
            } else if (script.starts_with("»") || script.starts_with("«")) {
                preso = 2;
                script.starts_with("»") ? box.prende_fuoco() : box.perde_fuoco();
            } else if (tasto != std::end(tasti) && tasto->second == 0) {
                shift = Txtctl::vbShiftMask;
            } else if (tasto != std::end(tasti) && tasto->second < 0) {
                box.digita(-tasto->second);
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

// Each case of the data file starts a box on a text and plays a script of keys; the container
// never sees the eight bare digits of a date.
TEST(Txtctl, OgniSequenzaLasciaIlSuoTesto) {
    const auto lista = [](const std::string& s) {
        return s.empty() ? Testi{} : prova::parti(s, '|');
    };
    const auto casi = prova::casi_da_file(MERAVO_DATI_PROVA "/tasti.txt");
    EXPECT_EQ(casi.size(), 29u);
    for (auto c : casi) {
        c.resize(7);
        const auto& [tipo, iniziale, script, testo, messaggi, ripreso, conferme] =
            std::tie(c[0], c[1], c[2], c[3], c[4], c[5], c[6]);
        SCOPED_TRACE(script);
        Banco b(std::stoi(tipo), iniziale);
        b.box.MaxLength(tipo.starts_with('0') ? 0 : b.box.MaxLength());
        b.box.Locked(tipo.ends_with('*'));
        b.esegui(script);
        EXPECT_EQ(b.box.Text(), testo);
        EXPECT_EQ(b.messaggi.testi(), lista(messaggi));
        for (const auto& m : b.messaggi.mostrati) { // the date box's warnings have their title
            const bool separatore = m.testo.starts_with("Il separatore");
            EXPECT_EQ(m.titolo, separatore ? titolo_predefinito : "Ostrel 2");
            EXPECT_EQ(m.icona, separatore ? Icona::nessuna : Icona::esclamazione);
        }
        EXPECT_EQ(b.fuoco_ripreso, ripreso == "1" ? 1 : 0);
        EXPECT_EQ(b.conferme, lista(conferme));
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

TEST(DataDigitata, FormeBreviScritteInteramenteEAltriTesti) {
    const auto casi = prova::casi_da_file(MERAVO_DATI_PROVA "/date.txt");
    EXPECT_EQ(casi.size(), 41u);
    for (const auto& c : casi) {
        const auto scritta = c.size() > 1 ? std::optional(c[1]) : std::nullopt;
        EXPECT_EQ(data_riconosciuta(c[0]), scritta) << c[0];
    }
    EXPECT_EQ(data_riconosciuta(" 1/2/10\t"), "01/02/2010");
    EXPECT_EQ(data_riconosciuta(""), std::nullopt);
}

} // namespace
} // namespace meravo
