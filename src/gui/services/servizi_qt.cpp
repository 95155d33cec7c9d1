#include "services/servizi_qt.h"

#include <QApplication>

namespace meravo {

void PompaEventiQt::esegui_eventi_in_attesa() {
    QCoreApplication::processEvents();
}

void SegnaleQt::beep() {
    QApplication::beep();
}

} // namespace meravo
