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

    // "Salva PDF…": the file chosen by `scegli_file_pdf` (a save dialog unless replaced);
    // false when the doctor chose none or the file could not be written.
    bool salva_pdf();
    // "Stampa…": the print dialog, then the job.
    bool stampa();

    std::function<QString()> scegli_file_pdf;

private:
    ReportCertificato* report_;
    std::unique_ptr<QPrinter> stampante_;
    QPrintPreviewWidget* anteprima_ = nullptr;
};

} // namespace meravo
