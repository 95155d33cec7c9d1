#include "report/stampa_copie.h"

#include "form/frm_meravo.h"
#include "report/anteprima_report.h"
#include "report/layout_report.h"
#include "report/report_certificato.h"

namespace meravo {

namespace {

AnteprimaReport* mostra(const QString& nome, std::vector<layout_report::Copia> copie,
                        const DatiReport& campi, QWidget* genitore, const QString& titolo) {
    auto* anteprima =
        new AnteprimaReport(new ReportCertificato(nome, std::move(copie), campi), titolo, genitore);
    anteprima->show();
    return anteprima;
}

} // namespace

AnteprimaReport* mostra_lavoratore(const DatiReport& campi, QWidget* genitore) {
    return mostra(QStringLiteral("lavoratore"), {layout_report::Copia::lavoratore}, campi, genitore,
                  QStringLiteral("Copia Lavoratore"));
}

AnteprimaReport* mostra_storico(const DatiReport& campi, QWidget* genitore, const QString& titolo) {
    return mostra(QStringLiteral("storico"),
                  {layout_report::Copia::lavoratore, layout_report::Copia::datore}, campi, genitore,
                  titolo);
}

void collega_stampa(frm_Meravo& form, QWidget* finestra) {
    form.mostra_lavoratore = [&form, finestra](const DatiReport& campi) {
        auto* anteprima = mostra_lavoratore(campi, finestra);
        QObject::connect(
            &anteprima->report(), &ReportCertificato::avanzamento, anteprima,
            [&form](int pagina, int totale) { form.DataReport_AsyncProgress(pagina, totale); });
    };
}

} // namespace meravo
