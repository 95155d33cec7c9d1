#include "ambiente_tabelle.h"
#include "comando_tabella.h"

#include <gtest/gtest.h>

#include <sstream>

namespace meravo {
namespace {

using prova::CartellaProva;
using prova::OrologioFinto;

struct Esecuzione {
    int codice;
    std::string uscita;
    std::string errori;
};

Esecuzione esegui(const std::vector<std::string>& argomenti) {
    OrologioFinto orologio;
    std::ostringstream uscita;
    std::ostringstream errori;
    const int codice = esegui_tabella(argomenti, uscita, errori, orologio);
    return {codice, uscita.str(), errori.str()};
}

TEST(MeravoTabella, CifraDecifraEMostra) {
    CartellaProva c;
    // Bare LF in, CR LF out; an accented byte of Windows-1252 shown in UTF-8.
    c.scrivi("piano.txt", "000ABANO   PD+00042-20240229\n000CANT\xD9   CO-00007-18991230\n");
    ASSERT_EQ(esegui({"cifra", c.percorso("piano.txt"), c.percorso("t.tcl")}).codice, 0);
    EXPECT_EQ(c.leggi("t.tcl").find("ABANO"), std::string::npos);
    ASSERT_EQ(esegui({"decifra", c.percorso("t.tcl"), c.percorso("chiaro.txt")}).codice, 0);
    EXPECT_EQ(c.leggi("chiaro.txt"),
              "000ABANO   PD+00042-20240229\r\n000CANT\xD9   CO-00007-18991230\r\n");

    const std::string layout = "8:8:comune,8:2:provincia,2::eta,8:9:resto";
    const auto mostrata = esegui({"mostra", c.percorso("t.tcl"), layout, "--cifrato"});
    EXPECT_EQ(mostrata.codice, 0) << mostrata.errori;
    EXPECT_EQ(mostrata.uscita, "ABANO\tPD\t42\t-20240229\nCANT\xC3\x99\tCO\t-7\t-18991230\n");

    c.scrivi("date.tda", "000+0000000000012,500000-0000000000000,25000020240229\r\n");
    EXPECT_EQ(esegui({"mostra", c.percorso("date.tda"), "5::x,4::y,7::d"}).uscita,
              "12.5\t-0.25\t2024-02-29\n");
}

TEST(MeravoTabella, ErroriSuUnaRigaConCodiceUno) {
    CartellaProva c;
    c.scrivi("t.tda", "000ABC\r\n");
    c.scrivi("rotto.tcl", "corta\r\n");
    const std::vector<std::vector<std::string>> chiamate = {
        {},
        {"mostra", c.percorso("t.tda")},
        {"converti", c.percorso("t.tda"), "x"},
        {"mostra", c.percorso("t.tda"), "8:3:a", "--altro"},
        {"mostra", c.percorso("t.tda"), "6:3:a"},
        {"mostra", c.percorso("t.tda"), "8:x:a"},
        {"mostra", c.percorso("t.tda"), "8:3"},
        {"mostra", c.percorso("t.tda"), "8:0:a"},
        {"mostra", c.percorso("manca.tda"), "8:3:a"},
        {"mostra", c.percorso("rotto.tcl"), "8:3:a", "--cifrato"},
        {"decifra", c.percorso("rotto.tcl"), c.percorso("out.txt")},
        {"decifra", c.percorso("manca.tcl"), c.percorso("out.txt")},
        {"cifra", c.percorso("manca.txt"), c.percorso("out.tcl")},
    };
    for (const auto& argomenti : chiamate) {
        const auto e = esegui(argomenti);
        const std::string quale = argomenti.empty() ? "(nessuno)" : argomenti.back();
        EXPECT_EQ(e.codice, 1) << quale;
        EXPECT_TRUE(e.uscita.empty()) << quale;
        ASSERT_FALSE(e.errori.empty()) << quale;
        EXPECT_EQ(e.errori.find('\n'), e.errori.size() - 1) << quale << ": " << e.errori;
    }
    EXPECT_FALSE(c.esiste("out.txt"));
    EXPECT_FALSE(c.esiste("out.tcl"));
}

} // namespace
} // namespace meravo
