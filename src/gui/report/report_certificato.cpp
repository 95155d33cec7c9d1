#include "report/report_certificato.h"

#include "testo_qt.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace meravo {

namespace {

using layout_report::Elemento;
using layout_report::Stile;
using layout_report::Tipo;

constexpr double margine_mm = 10;
constexpr double interno = 6;        // blank between a frame and the text inside it
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

QFont carattere(const Elemento& e) {
    QFont f(famiglia());
    // No ligatures: a PDF copy must read back as written ("fi" of "Certificato" as two
    // letters), or searching and copying its text fail.
    f.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    switch (e.stile) {
    case Stile::titolo:
        f.setPixelSize(40);
        f.setBold(true);
        break;
    case Stile::sezione:
        f.setPixelSize(26);
        f.setBold(true);
        break;
    case Stile::piccolo:
        f.setPixelSize(22);
        break;
    case Stile::normale:
        f.setPixelSize(e.tipo == Tipo::campo ? 28 : 25);
        break;
    }
    return f;
}

// One line of text in its box, shrunk rather than cut when it would not fit.
void riga_di_testo(QPainter& p, const QRectF& box, const QString& testo, bool a_destra) {
    QFont f = p.font();
    const double largo = QFontMetricsF(f, p.device()).horizontalAdvance(testo);
    if (largo > box.width() && largo > 0) {
        f.setPixelSize(std::max(8, static_cast<int>(f.pixelSize() * box.width() / largo)));
        p.setFont(f);
    }
    p.drawText(box, Qt::AlignVCenter | (a_destra ? Qt::AlignRight : Qt::AlignLeft), testo);
}

QString righe_della_copia(const std::string& testo) {
    QString s = testo::a_qstring(testo);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

} // namespace

ReportCertificato::ReportCertificato(QString nome, std::vector<Elemento> layout, DatiReport campi,
                                     QObject* genitore)
    : QObject(genitore), nome_(std::move(nome)), layout_(std::move(layout)),
      campi_(std::move(campi)) {
    setObjectName(nome_);
}

void ReportCertificato::prepara_pagina(QPrinter& stampante) {
    stampante.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                        QMarginsF(margine_mm, margine_mm, margine_mm, margine_mm),
                                        QPageLayout::Millimeter));
}

void ReportCertificato::disegna(QPainter& p) const {
    const QPaintDevice* dispositivo = p.device();
    // A copy spans the printable width and fits in half of the printable height.
    const double scala =
        std::min(dispositivo->width() / double(layout_report::larghezza_copia),
                 dispositivo->height() / 2.0 / double(layout_report::altezza_copia));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scala, scala);
    p.setPen(QPen(Qt::black, spessore_linea));
    p.setBrush(Qt::NoBrush);
    for (const auto& e : layout_) {
        const QRectF box(e.x, e.y, e.larghezza, e.altezza);
        const QRectF dentro = box.adjusted(interno, 0, -interno, 0);
        p.setFont(carattere(e));
        switch (e.tipo) {
        case Tipo::linea:
            p.drawLine(QPointF(e.x, e.y), QPointF(e.x + e.larghezza, e.y + e.altezza));
            break;
        case Tipo::riquadro:
            p.drawRect(box);
            break;
        case Tipo::etichetta:
            riga_di_testo(p, dentro, testo::a_qstring(e.testo), e.a_destra);
            break;
        case Tipo::segno:
            p.drawRect(box);
            p.drawText(box, Qt::AlignCenter, testo::a_qstring(campi_.testo(e.testo)));
            break;
        case Tipo::campo:
            if (e.piu_righe) {
                p.drawText(dentro, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap,
                           righe_della_copia(campi_.testo(e.testo)));
            } else {
                riga_di_testo(p, dentro, testo::a_qstring(campi_.testo(e.testo)), false);
            }
            break;
        }
    }
    p.restore();
}

bool ReportCertificato::stampa(QPrinter& stampante) {
    QPainter p;
    if (!p.begin(&stampante)) {
        return false;
    }
    for (int pagina = 1; pagina <= pagine(); ++pagina) {
        if (pagina > 1) {
            stampante.newPage();
        }
        disegna(p);
        if (pagina == pagine()) {
            p.end(); // the job is complete only once its last page is out
        }
        emit avanzamento(pagina, pagine());
    }
    return true;
}

} // namespace meravo
