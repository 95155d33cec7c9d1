#include "report/anteprima_report.h"

#include "report/report_certificato.h"

#include <QAction>
#include <QFileDialog>
#include <QKeySequence>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace meravo {

AnteprimaReport::AnteprimaReport(ReportCertificato* report, const QString& titolo,
                                 QWidget* genitore)
    : QDialog(genitore), report_(report),
      stampante_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    report_->setParent(this);
    setObjectName(QStringLiteral("anteprima_") + report_->nome());
    setWindowTitle(titolo);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    ReportCertificato::prepara_pagina(*stampante_);

    auto* barra = new QToolBar(this);
    auto* colonna = new QVBoxLayout(this);
    colonna->setContentsMargins(0, 0, 0, 0);
    colonna->addWidget(barra);
    anteprima_ = new QPrintPreviewWidget(stampante_.get(), this);
    // Drawing the preview is not a print job: it goes straight to the painter, unreported.
    connect(anteprima_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) {
        QPainter pittore(p);
        report_->disegna(pittore);
    });
    colonna->addWidget(anteprima_);

    auto* azione_stampa =
        barra->addAction(QStringLiteral("Stampa\u2026"), this, [this] { stampa(); });
    azione_stampa->setObjectName(QStringLiteral("stampa"));
    azione_stampa->setShortcut(QKeySequence::Print);
    auto* azione_pdf =
        barra->addAction(QStringLiteral("Salva PDF\u2026"), this, [this] { salva_pdf(); });
    azione_pdf->setObjectName(QStringLiteral("salva_pdf"));
    azione_pdf->setShortcut(QKeySequence::Save);
    barra->addSeparator();
    barra->addAction(QStringLiteral("Ingrandisci"), anteprima_, [this] { anteprima_->zoomIn(); });
    barra->addAction(QStringLiteral("Riduci"), anteprima_, [this] { anteprima_->zoomOut(); });
    barra->addAction(QStringLiteral("Pagina intera"), anteprima_,
                     [this] { anteprima_->fitInView(); });
    barra->addSeparator();
    barra->addAction(QStringLiteral("Chiudi"), this, [this] { close(); });

    scegli_file_pdf = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Salva PDF"),
                                            report_->nome() + QStringLiteral(".pdf"),
                                            QStringLiteral("PDF (*.pdf)"));
    };
    resize(820, 900);
    anteprima_->fitToWidth();
}

AnteprimaReport::~AnteprimaReport() = default;

bool AnteprimaReport::salva_pdf() {
    const QString file = scegli_file_pdf ? scegli_file_pdf() : QString();
    if (file.isEmpty()) {
        return false;
    }
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(file);
    pdf.setCreator(QStringLiteral("Meravo"));
    pdf.setDocName(windowTitle());
    ReportCertificato::prepara_pagina(pdf);
    if (!report_->stampa(pdf)) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Impossibile scrivere il file %1.").arg(file));
        return false;
    }
    return true;
}

bool AnteprimaReport::stampa() {
    QPrintDialog dialogo(stampante_.get(), this);
    if (dialogo.exec() != QDialog::Accepted) {
        return false;
    }
    return report_->stampa(*stampante_);
}

} // namespace meravo
