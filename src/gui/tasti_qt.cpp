#include "tasti_qt.h"

#include "testo_qt.h"

#include <QKeyEvent>

namespace meravo::tasti {

namespace {

struct Corrispondenza {
    int qt;
    int windows;
};

// Keys whose code does not follow from a range below.
constexpr Corrispondenza tasti_fissi[] = {
    {Qt::Key_Backspace, 8},      {Qt::Key_Tab, 9},           {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},         {Qt::Key_Return, 13},       {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},         {Qt::Key_Control, 17},      {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},         {Qt::Key_Pause, 19},        {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},        {Qt::Key_Space, 32},        {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},      {Qt::Key_End, 35},          {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},          {Qt::Key_Up, 38},           {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},          {Qt::Key_Print, 44},        {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},        {Qt::Key_Meta, 91},         {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},      {Qt::Key_ScrollLock, 145},  {Qt::Key_Semicolon, 186},
    {Qt::Key_Equal, 187},        {Qt::Key_Plus, 187},        {Qt::Key_Comma, 188},
    {Qt::Key_Minus, 189},        {Qt::Key_Period, 190},      {Qt::Key_Slash, 191},
    {Qt::Key_QuoteLeft, 192},    {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
};

// The numeric keypad has codes of its own for its digits and operators.
constexpr Corrispondenza tasti_tastierino[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

int cerca(const Corrispondenza* inizio, const Corrispondenza* fine, int tasto_qt) {
    for (auto* c = inizio; c != fine; ++c) {
        if (c->qt == tasto_qt) {
            return c->windows;
        }
    }
    return 0;
}

} // namespace

int codice_windows(int tasto_qt, Qt::KeyboardModifiers modificatori) {
    const bool tastierino = modificatori.testFlag(Qt::KeypadModifier);
    if (tasto_qt >= Qt::Key_0 && tasto_qt <= Qt::Key_9) {
        return (tastierino ? 96 : '0') + (tasto_qt - Qt::Key_0);
    }
    if (tasto_qt >= Qt::Key_A && tasto_qt <= Qt::Key_Z) {
        return 'A' + (tasto_qt - Qt::Key_A);
    }
    if (tasto_qt >= Qt::Key_F1 && tasto_qt <= Qt::Key_F24) {
        return 112 + (tasto_qt - Qt::Key_F1);
    }
    if (tastierino) {
        if (const int codice =
                cerca(std::begin(tasti_tastierino), std::end(tasti_tastierino), tasto_qt)) {
            return codice;
        }
    }
    return cerca(std::begin(tasti_fissi), std::end(tasti_fissi), tasto_qt);
}

int codice_windows(const QKeyEvent& evento) {
#ifdef Q_OS_WIN
    // On Windows the platform's own code is at hand and also right for every keyboard layout.
    if (evento.nativeVirtualKey() != 0) {
        return static_cast<int>(evento.nativeVirtualKey());
    }
#endif
    return codice_windows(evento.key(), evento.modifiers());
}

int modificatori_windows(Qt::KeyboardModifiers modificatori) {
    int stato = 0;
    if (modificatori.testFlag(Qt::ShiftModifier)) {
        stato |= 1;
    }
    if (modificatori.testFlag(Qt::ControlModifier)) {
        stato |= 2;
    }
    if (modificatori.testFlag(Qt::AltModifier)) {
        stato |= 4;
    }
    return stato;
}

std::string caratteri_windows(const QKeyEvent& evento) {
    const auto mod = evento.modifiers();
    const bool ctrl = mod.testFlag(Qt::ControlModifier);
    const bool alt = mod.testFlag(Qt::AltModifier);
    const int tasto = evento.key();
    switch (tasto) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return std::string(1, ctrl ? '\n' : '\r');
    case Qt::Key_Escape:
        return "\x1b";
    case Qt::Key_Backspace:
        return "\b";
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return "\t";
    case Qt::Key_Delete:
        return {}; // some platforms give it the text DEL; Windows types nothing with it
    default:
        break;
    }
    if (alt && !ctrl) {
        return {};
    }
    if (ctrl && !alt) {
        // Ctrl+letter is the matching control character (Ctrl+C 3, Ctrl+V 22, Ctrl+X 24);
        // Ctrl with any other key types nothing.
        if (tasto >= Qt::Key_A && tasto <= Qt::Key_Z) {
            return std::string(1, static_cast<char>(tasto - Qt::Key_A + 1));
        }
        return {};
    }
    // Ctrl+Alt is AltGr on Windows keyboards: it types the character the layout gives.
    return testo::da_qstring(evento.text());
}

} // namespace meravo::tasti
