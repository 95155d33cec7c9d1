#include "exchange/record_certificato.h"
#include "report/layout_report.h"

#include <gtest/gtest.h>
#include <map>

namespace meravo {
namespace {

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
    std::map<std::string, int> attesi_lavoratore, attesi_storico;
    for (std::size_t i = 1; i < record_certificato::numero_campi; ++i) {
        const std::string nome(record_certificato::nomi_campi[i]);
        attesi_lavoratore[nome] = 1;
        attesi_storico[nome] = 1;
        attesi_storico[nome + "2"] = 1;
    }
    EXPECT_EQ(conta_campi(layout_report::lavoratore()), attesi_lavoratore);
    EXPECT_EQ(conta_campi(layout_report::storico()), attesi_storico);
}

TEST(LayoutReport, LeCopieStannoNellaLoroMetaDiPaginaSenzaSovrapporsi) {
    const auto storico = layout_report::storico();
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

} // namespace
} // namespace meravo
