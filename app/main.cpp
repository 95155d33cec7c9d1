#include "services/messaggi_qt.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication applicazione(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Meravo"));
    meravo::MessaggiQt messaggi;
    // The certificate form is not part of this build yet: say so instead of failing silently.
    messaggi.avvisa("Il modulo del certificato non \xE8 ancora disponibile in questa versione.",
                    meravo::Icona::esclamazione);
    return 1;
}
