#pragma once

#include "report/dati_report.h"
#include "report/layout_report.h"

#include <QObject>
#include <QString>
#include <vector>

class QPainter;
class QPrinter;

namespace meravo {

// A printed report: its layout, the captions of its data fields, and the drawing of its one
// page on any paint device. A print or PDF job reports its progress page by page.
class ReportCertificato final : public QObject {
    Q_OBJECT

public:
    ReportCertificato(QString nome, std::vector<layout_report::Elemento> layout, DatiReport campi,
                      QObject* genitore = nullptr);

    const QString& nome() const { return nome_; }
    const DatiReport& campi() const { return campi_; }
    int pagine() const { return 1; }

    // Portrait A4 with the margins the copies are drawn for.
    static void prepara_pagina(QPrinter& stampante);
    // Draws the page on a painter already begun on its device (a printer or the preview).
    void disegna(QPainter& pittore) const;
    // A print or PDF job on `stampante`: false when the device could not be opened.
    bool stampa(QPrinter& stampante);

signals:
    void avanzamento(int pagina_completata, int pagine_totali);

private:
    QString nome_;
    std::vector<layout_report::Elemento> layout_;
    DatiReport campi_;
};

} // namespace meravo
