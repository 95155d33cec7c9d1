#pragma once

#include "report/dati_report.h"

#include <QString>

class QWidget;

namespace meravo {

class AnteprimaReport;
class frm_Meravo;

// The worker copy (`lavoratore`) in its preview, titled "Copia Lavoratore", not modal.
AnteprimaReport* mostra_lavoratore(const DatiReport& campi, QWidget* genitore);

// Both copies of an archived certificate (`storico`, filled by
// `copie_certificato::storico_da_record`) in their preview, not modal.
AnteprimaReport* mostra_storico(const DatiReport& campi, QWidget* genitore,
                                const QString& titolo = QStringLiteral("Certificato archiviato"));

// "Stampa/Esci" shows the worker copy over `finestra`, and the copy's print and PDF jobs
// report their pages to the form, whose rule decides when the module ends.
void collega_stampa(frm_Meravo& form, QWidget* finestra);

} // namespace meravo
