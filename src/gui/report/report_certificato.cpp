#include "report/report_certificato.h"

#include "testo_qt.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <map>

namespace meravo {

namespace {

using layout_report::Elemento;
using layout_report::Tipo;

constexpr double margine_mm = 10;
constexpr double spessore_linea = 3; // 0.3 mm

QString famiglia() {
    // The copies are designed in Verdana; where it is missing the closest sans font stands in.
    for (const auto* nome : {"Verdana", "DejaVu Sans"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(nome))) {
            return QString::fromLatin1(nome);
        }
    }
    return QStringLiteral("Sans Serif");
}

QFont carattere(int corpo, bool grassetto) {
    static const QString nome = famiglia();
    QFont f(nome);
    // No ligatures: a PDF copy must read back as written ("fi" of "Certificato" as two
    // letters), or searching and copying its text fail. No hinting: a line is as wide on paper
    // as it was measured, at any resolution.
    f.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(corpo);
    f.setBold(grassetto);
    return f;
}

// The fonts the copies are printed with measure the lines they are laid out in.
class MisuraQt final : public impaginazione::MisuraTesto {
public:
    double larghezza(std::string_view testo, int corpo, bool grassetto) const override {
        auto voce = metriche_.find({corpo, grassetto});
        if (voce == metriche_.end()) {
            voce = metriche_
                       .emplace(std::pair{corpo, grassetto},
                                QFontMetricsF(carattere(corpo, grassetto)))
                       .first;
        }
        return voce->second.horizontalAdvance(testo::a_qstring(testo));
    }

private:
    mutable std::map<std::pair<int, bool>, QFontMetricsF> metriche_;
};

// The line where the sheet of two copies is cut: dashed across the page, with the scissors and
// what to do on it.
void linea_di_taglio(QPainter& p, const Elemento& e) {
    p.save();
    p.setPen(QPen(Qt::black, spessore_linea, Qt::DashLine));
    const double y = e.y + e.altezza / 2.0;
    p.drawLine(QPointF(e.x, y), QPointF(e.x + e.larghezza, y));
    p.setFont(carattere(layout_report::corpo(e), false));
    const QString testo = QStringLiteral("\u2702 ") + testo::a_qstring(e.testo);
    const QRectF dove(e.x + 40, e.y, QFontMetricsF(p.font()).horizontalAdvance(testo) + 20,
                      e.altezza);
    p.fillRect(dove, Qt::white);
    p.drawText(dove, Qt::AlignCenter | Qt::TextDontClip, testo);
    p.restore();
}

} // namespace

ReportCertificato::ReportCertificato(QString nome, std::vector<layout_report::Copia> copie,
                                     DatiReport campi, QObject* genitore)
    : QObject(genitore), nome_(std::move(nome)), campi_(std::move(campi)),
      pagine_(impaginazione::impagina(copie, campi_, MisuraQt{})) {
    setObjectName(nome_);
}

void ReportCertificato::prepara_pagina(QPagedPaintDevice& stampante) {
    stampante.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                        QMarginsF(margine_mm, margine_mm, margine_mm, margine_mm),
                                        QPageLayout::Millimeter));
}

void ReportCertificato::disegna(QPainter& p, int pagina) const {
    const QPaintDevice* dispositivo = p.device();
    // A page spans the printable width and fits in the printable height.
    const double scala = std::min(dispositivo->width() / double(layout_report::larghezza_copia),
                                  dispositivo->height() / double(layout_report::altezza_pagina));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scala, scala);
    p.setPen(QPen(Qt::black, spessore_linea));
    p.setBrush(Qt::NoBrush);
    for (const auto& e : pagine_.at(static_cast<std::size_t>(pagina))) {
        const QRectF box(e.x, e.y, e.larghezza, e.altezza);
        switch (e.tipo) {
        case Tipo::linea:
            p.drawLine(QPointF(e.x, e.y), QPointF(e.x + e.larghezza, e.y + e.altezza));
            break;
        case Tipo::riquadro:
            p.drawRect(box);
            break;
        case Tipo::taglio:
            linea_di_taglio(p, e);
            break;
        case Tipo::segno:
            p.drawRect(box);
            p.setFont(carattere(layout_report::corpo(e), false));
            p.drawText(box, Qt::AlignCenter, testo::a_qstring(e.testo));
            break;
        case Tipo::etichetta:
        case Tipo::campo: {
            // One line, laid out to fit: nothing to wrap, and nothing to clip.
            const auto dentro =
                box.adjusted(layout_report::margine_interno, 0, -layout_report::margine_interno, 0);
            const auto verso =
                e.centrato ? Qt::AlignHCenter : (e.a_destra ? Qt::AlignRight : Qt::AlignLeft);
            p.setFont(carattere(layout_report::corpo(e), layout_report::grassetto(e.stile)));
            p.drawText(dentro, Qt::AlignVCenter | verso | Qt::TextSingleLine | Qt::TextDontClip,
                       testo::a_qstring(e.testo));
            break;
        }
        }
    }
    p.restore();
}

void ReportCertificato::disegna_tutto(QPainter& p, QPagedPaintDevice& dispositivo) const {
    for (int pagina = 0; pagina < pagine(); ++pagina) {
        if (pagina > 0) {
            dispositivo.newPage();
        }
        disegna(p, pagina);
    }
}

bool ReportCertificato::stampa(QPagedPaintDevice& stampante,
                               const std::function<bool()>& completa) {
    QPainter p;
    if (!p.begin(&stampante)) {
        return false;
    }
    for (int pagina = 1; pagina <= pagine(); ++pagina) {
        if (pagina > 1) {
            stampante.newPage();
        }
        disegna(p, pagina - 1);
        if (pagina == pagine()) {
            p.end(); // the job is complete only once its last page is out
            if (completa && !completa()) {
                return false;
            }
        }
        emit avanzamento(pagina, pagine());
    }
    return true;
}

} // namespace meravo
