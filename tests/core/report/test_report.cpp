#include "exchange/record_certificato.h"
#include "report/impaginazione.h"
#include "report/layout_report.h"

#include <gtest/gtest.h>
#include <map>

namespace meravo {
namespace {

using layout_report::Copia;
using layout_report::Tipo;

std::map<std::string, int> conta_campi(const std::vector<layout_report::Elemento>& elementi) {
    std::map<std::string, int> quanti;
    for (const auto& e : elementi) {
        if (e.tipo == Tipo::campo || e.tipo == Tipo::segno) {
            ++quanti[e.testo];
        }
    }
    return quanti;
}

TEST(LayoutReport, OgniCampoDelRecordUnaVoltaPerCopia) {
    std::map<std::string, int> attesi_lavoratore{{"avviso_prova", 1}},
        attesi_storico{{"avviso_prova", 1}, {"avviso_prova2", 1}};
    for (std::size_t i = 1; i < record_certificato::numero_campi; ++i) {
        const std::string nome(record_certificato::nomi_campi[i]);
        attesi_lavoratore[nome] = 1;
        attesi_storico[nome] = 1;
        attesi_storico[nome + "2"] = 1;
    }
    EXPECT_EQ(conta_campi(layout_report::pagina({Copia::lavoratore})), attesi_lavoratore);
    EXPECT_EQ(conta_campi(layout_report::pagina({Copia::lavoratore, Copia::datore})),
              attesi_storico);
}

TEST(LayoutReport, LeCopieStannoNellaLoroMetaDiPaginaSenzaSovrapporsi) {
    const auto storico = layout_report::pagina({Copia::lavoratore, Copia::datore});
    for (const auto& e : storico) {
        const bool datore = e.y >= layout_report::altezza_copia;
        const bool campo = e.tipo == Tipo::campo || e.tipo == Tipo::segno;
        EXPECT_EQ(campo && e.testo.ends_with("2"), campo && datore) << e.testo;
        const int alto = datore ? layout_report::altezza_copia : 0;
        EXPECT_GE(e.x, 0) << e.testo;
        EXPECT_LE(e.x + e.larghezza, layout_report::larghezza_copia) << e.testo;
        EXPECT_GE(e.y, alto) << e.testo;
        EXPECT_LE(e.y + e.altezza, alto + layout_report::altezza_copia) << e.testo;
    }
    // No text covers another: a data field printed over a label would be unreadable.
    for (std::size_t i = 0; i < storico.size(); ++i) {
        for (std::size_t j = i + 1; j < storico.size(); ++j) {
            const auto& a = storico[i];
            const auto& b = storico[j];
            if (a.tipo == Tipo::linea || a.tipo == Tipo::riquadro || b.tipo == Tipo::linea ||
                b.tipo == Tipo::riquadro || a.a_destra || b.a_destra) {
                continue;
            }
            const bool sovrapposti = a.x < b.x + b.larghezza && b.x < a.x + a.larghezza &&
                                     a.y < b.y + b.altezza && b.y < a.y + a.altezza;
            EXPECT_FALSE(sovrapposti) << a.testo << " / " << b.testo;
        }
    }
}

// Every character as wide as half its size: the surname's box (600 wide) holds 42 characters
// at the normal size (28), 56 at the smallest (21), in two lines.
struct MisuraFissa : impaginazione::MisuraTesto {
    double larghezza(std::string_view testo, int corpo, bool) const override {
        return 0.5 * corpo * static_cast<double>(testo.size());
    }
};

TEST(Impaginazione, UnTestoLungoSiRimpicciolisceVaACapoEProsegueSuUnAltroFoglio) {
    const std::string q(50, 'Q'), w(50, 'W'), j(50, 'J');
    using Righe = std::vector<std::pair<std::string, int>>;
    const struct {
        std::string cognome;
        std::vector<Righe> fogli; // lines holding Q or W, or saying where the text goes on
    } casi[] = {
        {q.substr(8), {{{q.substr(8), 28}}}},
        {q, {{{q, 23}}}},
        {q.substr(20) + " " + w.substr(20), {{{q.substr(20), 21}, {w.substr(20), 21}}}},
        {q + " " + w + " " + j,
         {{{q, 21}, {"(segue)", 21}},
          {{q, 21}, {"(segue)", 21}, {"Cognome (seguito)", 26}, {w + " " + j, 28}}}},
    };
    for (const auto& c : casi) {
        DatiReport dati;
        dati.imposta("cognome", c.cognome);
        dati.imposta("protocollo", "PROT9");
        const auto pagine = impaginazione::impagina({Copia::lavoratore}, dati, MisuraFissa{});
        std::vector<Righe> trovate(pagine.size());
        bool protocollo_a_ogni_foglio = true;
        for (std::size_t i = 0; i < pagine.size(); ++i) {
            bool protocollo = false;
            for (const auto& e : pagine[i]) {
                protocollo |= e.testo == "PROT9";
                if (e.testo.find_first_of("QW") != std::string::npos || e.testo == "(segue)" ||
                    e.testo.ends_with("(seguito)")) {
                    trovate[i].emplace_back(e.testo, layout_report::corpo(e));
                }
            }
            protocollo_a_ogni_foglio &= protocollo;
        }
        EXPECT_EQ(trovate, c.fogli) << c.cognome;
        EXPECT_TRUE(protocollo_a_ogni_foglio) << c.cognome;
    }
}

} // namespace
} // namespace meravo
