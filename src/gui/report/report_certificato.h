#pragma once

#include "report/dati_report.h"
#include "report/impaginazione.h"
#include "report/layout_report.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace meravo {

// A printed report: its copies, the captions of its data fields, and the drawing of its pages
// (the first, then the continuation sheets of the texts its boxes could not hold) on any paint
// device. A print or PDF job reports its progress page by page.
class ReportCertificato final : public QObject {
    Q_OBJECT

public:
    ReportCertificato(QString nome, std::vector<layout_report::Copia> copie, DatiReport campi,
                      QObject* genitore = nullptr);

    const QString& nome() const { return nome_; }
    const DatiReport& campi() const { return campi_; }
    int pagine() const { return static_cast<int>(pagine_.size()); }

    // Portrait A4 with the margins the copies are drawn for.
    static void prepara_pagina(QPagedPaintDevice& stampante);
    // Draws page `pagina` (from 0) on a painter already begun on its device (a printer or the
    // preview).
    void disegna(QPainter& pittore, int pagina) const;
    // Every page on a painter already begun, a new page before each but the first.
    void disegna_tutto(QPainter& pittore, QPagedPaintDevice& dispositivo) const;
    // A print or PDF job on `stampante`: false when the device could not be opened or
    // `completa` (run once the device is closed, before the last page is reported) fails.
    bool stampa(QPagedPaintDevice& stampante, const std::function<bool()>& completa = {});

signals:
    void avanzamento(int pagina_completata, int pagine_totali);

private:
    QString nome_;
    DatiReport campi_;
    std::vector<impaginazione::Pagina> pagine_;
};

} // namespace meravo
