#pragma once

#include "services/pompa_eventi.h"
#include "services/segnale.h"

#include <QElapsedTimer>

namespace meravo {

// Lets the window's pending events run. Long loops (a search over every row of a table) call it
// once a row; running the event loop that often would cost more than the search itself, so it
// runs at most every few milliseconds, which is all a responsive window needs.
class PompaEventiQt final : public PompaEventi {
public:
    PompaEventiQt();
    void esegui_eventi_in_attesa() override;

private:
    QElapsedTimer dall_ultima_;
};

class SegnaleQt final : public Segnale {
public:
    void beep() override;
};

} // namespace meravo
