#pragma once

#include <Qt>
#include <string>

class QKeyEvent;

// The core takes keys as Windows delivers them: a key-down with its virtual-key code and the
// Shift (1), Ctrl (2), Alt (4) state, then a key-press with a Windows-1252 character. Both
// widgets translate Qt's key events here, so that the two always agree on a key.
namespace meravo::tasti {

// The virtual-key code of the key, 0 for a key that has none the models could act on.
int codice_windows(const QKeyEvent& evento);
int codice_windows(int tasto_qt, Qt::KeyboardModifiers modificatori = Qt::NoModifier);

int modificatori_windows(Qt::KeyboardModifiers modificatori);

// The key-press characters Windows would deliver for the key, as Windows-1252 bytes: control
// characters for Enter, Escape, Backspace and Ctrl+letter, nothing for Alt combinations (they
// are menu keys there), otherwise the typed text.
std::string caratteri_windows(const QKeyEvent& evento);

} // namespace meravo::tasti
