#include "services/messaggi_qt.h"

#include "testo_qt.h"

#include <QAbstractButton>
#include <QMessageBox>

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
    QMessageBox box(icona_qt(icona), testo::a_qstring(titolo), testo::a_qstring(testo),
                    QMessageBox::NoButton, genitore_);
    if (pulsanti == Pulsanti::si_no) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Sì"));
        box.button(QMessageBox::No)->setText(QStringLiteral("No"));
        return box.exec() == QMessageBox::Yes ? Risposta::si : Risposta::no;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Risposta::ok;
}

} // namespace meravo
