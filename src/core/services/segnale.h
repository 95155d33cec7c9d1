#pragma once

namespace meravo {

// The platform beep with which some keystrokes are refused.
class Segnale {
public:
    virtual ~Segnale() = default;
    virtual void beep() = 0;
};

} // namespace meravo
