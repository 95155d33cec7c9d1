#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QPrintPreviewWidget;
class QPrinter;

namespace meravo {

class ReportCertificato;

// The print preview of a report, shown without blocking the form: the page as it will print,
// and the buttons to print it or save it as a PDF. Each job goes through the report, which
// reports its pages.
class AnteprimaReport final : public QDialog {
    Q_OBJECT

public:
    // Takes the report as a child.
    AnteprimaReport(ReportCertificato* report, const QString& titolo, QWidget* genitore = nullptr);
    ~AnteprimaReport() override;

    ReportCertificato& report() const { return *report_; }

    // "Salva PDF…": the file chosen by `scegli_file_pdf` (a save dialog unless replaced), offered
    // as the patient's own in the user's documents; an existing file only once
    // `conferma_sostituzione` (a question unless replaced) agrees. False when the doctor chose
    // none, or kept the old file, or the file could not be written.
    bool salva_pdf();
    // "Stampa…": the print dialog, then the job.
    bool stampa();

    std::function<QString(const QString& proposto)> scegli_file_pdf;
    std::function<bool(const QString& file)> conferma_sostituzione;

private:
    QString file_proposto() const;

    ReportCertificato* report_;
    std::unique_ptr<QPrinter> stampante_;
    QPrintPreviewWidget* anteprima_ = nullptr;
};

} // namespace meravo
