#pragma once

class QCoreApplication;
class QString;

namespace meravo {

// Qt's own dialogs and buttons (saving, printing, the answers of a message box) speak Italian,
// as the rest of the module does, whatever the system's language. The translation beside the
// program wins, where the Windows installer puts it; then Qt's own. False when neither is there:
// those dialogs then stay in English.
bool carica_traduzioni_qt(QCoreApplication& applicazione, const QString& cartella_programma);

} // namespace meravo
