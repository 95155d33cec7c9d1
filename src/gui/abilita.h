#pragma once

#include <QPointer>
#include <QWidget>

namespace meravo {

// Enables or disables a control as its model says. A control disabled while it holds the focus
// hands it to the next one; `sospeso` remembers it so that it takes the focus back when it is
// enabled again. Across a cancellation or its question the keyboard stays on the button
// the doctor pressed, and the next Tab goes where it went before.
inline void abilita_tenendo_fuoco(QWidget& controllo, bool abilitato, QPointer<QWidget>& sospeso) {
    // Disabling a row of buttons passes the focus along it: the first one keeps its claim.
    const bool altro_in_attesa = sospeso && !sospeso->isEnabled();
    if (!abilitato && controllo.hasFocus() && !altro_in_attesa) {
        sospeso = &controllo;
    }
    controllo.setEnabled(abilitato);
    if (abilitato && sospeso == &controllo) {
        sospeso = nullptr;
        controllo.setFocus(Qt::OtherFocusReason);
    }
}

} // namespace meravo
