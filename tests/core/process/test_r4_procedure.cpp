#include "process/r4_procedure.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

using prova::OrologioFinto;
using prova::PompaEventiContata;

TEST(Attendi, FinisceDopoIlTempoChiestoTenendoVivaLaFinestra) {
    OrologioFinto orologio;
    PompaEventiContata pompa;
    const double inizio = orologio.secondi;
    attendi(1.0, orologio, pompa);
    EXPECT_GE(orologio.secondi - inizio, 1.0);
    EXPECT_LT(orologio.secondi - inizio, 1.01);
    EXPECT_GT(pompa.chiamate, 0);
    // It sleeps between pumps instead of spinning.
    EXPECT_EQ(orologio.pause, pompa.chiamate);
}

TEST(Attendi, AttraversaLaMezzanotte) {
    for (const double inizio : {86399.5, 86399.999, 86398.0}) {
        OrologioFinto orologio;
        orologio.secondi = inizio;
        PompaEventiContata pompa;
        attendi(2.5, orologio, pompa);
        const double trascorsi = orologio.secondi + 86400.0 - inizio;
        EXPECT_GE(trascorsi, 2.5) << inizio;
        EXPECT_LT(trascorsi, 2.51) << inizio;
    }
}

TEST(Attendi, ZeroONegativoTornaSubito) {
    for (const double s : {0.0, -1.0}) {
        OrologioFinto orologio;
        PompaEventiContata pompa;
        attendi(s, orologio, pompa);
        EXPECT_EQ(pompa.chiamate, 0);
        EXPECT_EQ(orologio.pause, 0);
    }
}

TEST(Attendi, UnOrologioCheAvanzaDaSoloNonFaDormire) {
    OrologioFinto orologio;
    orologio.passo_per_lettura = 0.4;
    PompaEventiContata pompa;
    attendi(1.0, orologio, pompa);
    EXPECT_LE(pompa.chiamate, 3);
}

TEST(AppiattisciTesto, UnValoreNonImpostatoDiventaTestoVuoto) {
    std::optional<std::string> valore;
    EXPECT_EQ(appiattisci_testo(valore), "");
    ASSERT_TRUE(valore.has_value());
    EXPECT_EQ(*valore, "");
}

TEST(PiegaturaDegliACapo, CasiLimite) {
    const struct {
        std::string testo;
        std::string piegato;
    } piegature[] = {
        {"  a\r\nb  ", "a||b"}, {"a\rb\nc", "a\rb\nc"}, // lone CR or LF stay
        {"\r\n\r\n", "||||"},   {"a\r\r\nb", "a\r||b"}, {"  ", ""},
    };
    for (const auto& p : piegature) {
        std::optional<std::string> valore = p.testo;
        EXPECT_EQ(appiattisci_testo(valore), p.piegato);
        EXPECT_EQ(*valore, p.testo); // the caller's text is not folded in place
    }

    const struct {
        std::string testo;
        std::string aperto;
    } aperture[] = {
        {"a||b||", "a\r\nb\r\n"}, {"|||", "\r\n|"}, {"||||", "\r\n\r\n"}, {"|", "|"}, {"", ""},
    };
    for (const auto& a : aperture) {
        std::string testo = a.testo;
        EXPECT_EQ(ripristina_a_capo(testo), a.aperto);
        EXPECT_EQ(testo, a.aperto); // changed in place too
    }
}

TEST(PiegaturaDegliACapo, AndataERitorno) {
    std::optional<std::string> valore = std::string(" Febbre alta\r\nTosse || persistente ");
    std::string piegato = appiattisci_testo(valore);
    EXPECT_EQ(ripristina_a_capo(piegato), "Febbre alta\r\nTosse \r\n persistente");
}

} // namespace
} // namespace meravo
