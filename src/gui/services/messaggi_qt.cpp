#include "services/messaggi_qt.h"

#include "testo_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>

namespace meravo {

namespace {

QMessageBox::Icon icona_qt(Icona icona) {
    switch (icona) {
    case Icona::esclamazione:
        return QMessageBox::Warning;
    case Icona::critico:
        return QMessageBox::Critical;
    case Icona::domanda:
        return QMessageBox::Question;
    case Icona::nessuna:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Risposta MessaggiQt::mostra(std::string_view testo, std::string_view titolo, Icona icona,
                            Pulsanti pulsanti) {
    // A message in the middle of a run waits for the doctor, not for the service: the plain
    // pointer over it for as long as it is shown.
    const bool in_attesa = QApplication::overrideCursor() != nullptr;
    if (in_attesa) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    const auto ripristina = qScopeGuard([in_attesa] {
        if (in_attesa) {
            QApplication::restoreOverrideCursor();
        }
    });
    QMessageBox box(icona_qt(icona), testo::a_qstring(titolo), testo::a_qstring(testo),
                    QMessageBox::NoButton, genitore_);
    if (pulsanti != Pulsanti::ok) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Sì"));
        box.button(QMessageBox::No)->setText(QStringLiteral("No"));
        if (pulsanti == Pulsanti::si_no_no_predefinito) {
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
        }
        return box.exec() == QMessageBox::Yes ? Risposta::si : Risposta::no;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Risposta::ok;
}

} // namespace meravo
