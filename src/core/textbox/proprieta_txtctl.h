#pragma once

#include <cstdint>
#include <string>

namespace meravo {

// The design-time properties of a Txtctl, each with the value it has when nothing was set.
struct ProprietaTxtctl {
    std::string Font;                     // the widget's description of it; empty: the container's
    std::uint32_t BackColor = 0x80000005; // system colour of a window background
    int BorderStyle = 1;
    int Appearance = 1;
    int Tipodati = 0;
    int MaxLength = 10;
    std::string Text;
    std::string SelText;
    int SelStart = 0;
    int SelLength = 0;
    bool Enabled = true;
    int Alignment = 0;
    bool Locked = false;
};

} // namespace meravo
