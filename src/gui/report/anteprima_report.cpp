#include "report/anteprima_report.h"

#include "report/copie_certificato.h"
#include "report/report_certificato.h"
#include "testo_qt.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
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
        report_->disegna_tutto(pittore, *p);
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

    // The dialog would ask in the platform's language, and only in some dialogs: the preview
    // asks itself.
    scegli_file_pdf = [this](const QString& proposto) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Salva PDF"), proposto,
                                            QStringLiteral("PDF (*.pdf)"), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    conferma_sostituzione = [this](const QString& file) {
        QMessageBox domanda(QMessageBox::Question, windowTitle(),
                            QStringLiteral("Il file %1 esiste gi\u00E0.\nSostituirlo?")
                                .arg(QDir::toNativeSeparators(file)),
                            QMessageBox::Yes | QMessageBox::No, this);
        domanda.button(QMessageBox::Yes)->setText(QStringLiteral("S\u00EC"));
        domanda.setDefaultButton(QMessageBox::No);
        return domanda.exec() == QMessageBox::Yes;
    };
    // A page as wide as the window, in a window that fits on the screen with its frame (a
    // title bar and borders are allowed for before the window manager tells their size).
    const QScreen* schermo = genitore ? genitore->screen() : QGuiApplication::primaryScreen();
    const QSize disponibile = schermo ? schermo->availableGeometry().size() : QSize(820, 900);
    resize(std::min(820, disponibile.width() - 16), std::min(900, disponibile.height() - 40));
    anteprima_->fitToWidth();
}

AnteprimaReport::~AnteprimaReport() = default;

QString AnteprimaReport::file_proposto() const {
    // Without a documents folder the dialog would open where the program runs: the home folder.
    QString cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (cartella.isEmpty() || !QDir(cartella).exists()) {
        cartella = QDir::homePath();
    }
    return QDir(cartella).filePath(
        testo::a_qstring(copie_certificato::nome_file_pdf(report_->campi())));
}

bool AnteprimaReport::salva_pdf() {
    const QString file = scegli_file_pdf ? scegli_file_pdf(file_proposto()) : QString();
    if (file.isEmpty() ||
        (QFileInfo::exists(file) && (!conferma_sostituzione || !conferma_sostituzione(file)))) {
        return false;
    }
    // Written whole or not at all: an old file stays as it was until the new one is complete.
    QSaveFile uscita(file);
    QPdfWriter pdf(&uscita);
    pdf.setCreator(QStringLiteral("Meravo"));
    pdf.setTitle(windowTitle());
    pdf.setResolution(1200);
    ReportCertificato::prepara_pagina(pdf);
    if (!uscita.open(QIODevice::WriteOnly) ||
        !report_->stampa(pdf, [&uscita] { return uscita.commit(); })) {
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
