#pragma once

namespace meravo {

// Lets pending window events run during a long operation on the one user-interface thread.
class PompaEventi {
public:
    virtual ~PompaEventi() = default;
    virtual void esegui_eventi_in_attesa() = 0;
};

// For code that runs without a window (tools, batch checks).
class PompaEventiNulla final : public PompaEventi {
public:
    void esegui_eventi_in_attesa() override {}
};

} // namespace meravo
