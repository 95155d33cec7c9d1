#pragma once

#include "services/pompa_eventi.h"
#include "services/segnale.h"

namespace meravo {

class PompaEventiQt final : public PompaEventi {
public:
    void esegui_eventi_in_attesa() override;
};

class SegnaleQt final : public Segnale {
public:
    void beep() override;
};

} // namespace meravo
