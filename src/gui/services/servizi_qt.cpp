#include "services/servizi_qt.h"

#include <QApplication>

namespace meravo {

namespace {
constexpr qint64 intervallo_ms = 10;
}

PompaEventiQt::PompaEventiQt() { dall_ultima_.start(); }

void PompaEventiQt::esegui_eventi_in_attesa() {
    if (dall_ultima_.elapsed() < intervallo_ms) {
        return;
    }
    QCoreApplication::processEvents();
    dall_ultima_.restart();
}

void SegnaleQt::beep() { QApplication::beep(); }

} // namespace meravo
