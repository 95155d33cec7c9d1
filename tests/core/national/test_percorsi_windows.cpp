// The paths the command line and the exchange file carry are the module's Windows-1252 texts:
// their letters, those outside Latin-1 too, must reach the file system as the same letters, and
// a program folder with accents must reach the tools' command lines as the module's text.
#include "form/frm_meravo.h"
#include "national/trasporto_inps.h"

#include "doppi/doppi.h"

#include <fstream>
#include <gtest/gtest.h>

namespace meravo {
namespace {

namespace fs = std::filesystem;

TEST(PercorsiWindows, ScambioETabelleInUnaCartellaConLettereAccentate) {
    prova::CartellaTemporanea cartella;
    const auto studio = cartella.percorso() / L"Dati Studio" / L"Nicol\u00F2 D\u2019Amico \u20AC";
    const std::string testo_studio = cartella.percorso().string() + "\\Dati Studio\\Nicol\xF2 D\x92"
                                                                    "Amico \x80";
    prova::copia_tabelle_esempio(MERAVO_DATI_ESEMPIO, studio / "tabelle");
    std::ofstream(studio / "paziente.txt", std::ios::binary)
        << "000direttorio tabelle=" + testo_studio + "\\tabelle\\\r\n000cognome=Rossi\r\n";

    prova::MessaggiRegistrati messaggi;
    prova::OrologioFinto orologio;
    prova::PompaEventiContata pompa;
    prova::SegnaleContato segnale;
    ServiziForm servizi(messaggi, orologio, pompa, segnale, studio);
    servizi.ambiente = [](std::string_view) { return std::nullopt; };
    servizi.tabelle_icdix = std::make_shared<TabelleIcdix>();
    frm_Meravo form(std::move(servizi));
    ASSERT_TRUE(form.avvia(testo_studio + "\\paziente.txt")) << messaggi.mostrati[0].testo;
    EXPECT_EQ(form.cognome.Text, "Rossi");
    EXPECT_FALSE(fs::exists(studio / "paziente.txt"));
    EXPECT_TRUE(form.salva_Click());
    EXPECT_TRUE(fs::exists(studio / "paziente.txt"));

    EXPECT_NE(riga_comando_cifra(studio, "a", "b").find(testo_studio + "\\Sogei\\openssl.exe"),
              std::string::npos);
}

} // namespace
} // namespace meravo
