#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

class QWidget;

// Colours as the core keeps them: 32 bits, red in the low byte, then green, then blue. A value
// whose high byte is 0x80 names a system colour by the index in its low byte; here it takes
// the matching role of the application's palette, so the look follows the desktop's theme.
namespace meravo::colori {

QColor a_qcolor(std::uint32_t valore, const QPalette& tavolozza);
QColor a_qcolor(std::uint32_t valore);

// Background and text colour of a widget, whatever role its kind paints them with (a label or
// a frame its window, a text box or a list its base); the background is filled.
void colora(QWidget& widget, std::uint32_t sfondo, std::uint32_t testo);

} // namespace meravo::colori
