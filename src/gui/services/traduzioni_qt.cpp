#include "services/traduzioni_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace meravo {

bool carica_traduzioni_qt(QCoreApplication& applicazione, const QString& cartella_programma) {
    auto* traduttore = new QTranslator(&applicazione);
    for (const auto& cartella : {cartella_programma + QStringLiteral("/translations"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (traduttore->load(QStringLiteral("qtbase_it"), cartella)) {
            return QCoreApplication::installTranslator(traduttore);
        }
    }
    delete traduttore;
    return false;
}

} // namespace meravo
