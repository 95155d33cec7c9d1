#include "colori.h"

#include <QApplication>
#include <QWidget>

namespace meravo::colori {

namespace {

constexpr std::uint32_t marca_di_sistema = 0x80000000;

QPalette::ColorRole ruolo_di_sistema(std::uint32_t indice) {
    switch (indice) {
    case 15: // button face
        return QPalette::Button;
    case 5: // window background
        return QPalette::Base;
    case 6:  // window frame
    case 16: // button shadow
        return QPalette::Dark;
    case 7: // menu text
    case 8: // window text
        return QPalette::Text;
    case 2:  // active title bar
    case 13: // highlight
        return QPalette::Highlight;
    case 9:  // title-bar text: drawn on the title bar's colour, like highlighted text
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 17: // grey text
        return QPalette::PlaceholderText;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 23: // tooltip text
        return QPalette::ToolTipText;
    case 24: // tooltip background
        return QPalette::ToolTipBase;
    default: // desktop, menu bar and the rest: the colour of a plain window
        return QPalette::Window;
    }
}

} // namespace

QColor a_qcolor(std::uint32_t valore, const QPalette& tavolozza) {
    if ((valore & 0xFF000000u) == marca_di_sistema) {
        return tavolozza.color(QPalette::Active, ruolo_di_sistema(valore & 0xFFu));
    }
    return QColor(static_cast<int>(valore & 0xFFu), static_cast<int>((valore >> 8) & 0xFFu),
                  static_cast<int>((valore >> 16) & 0xFFu));
}

QColor a_qcolor(std::uint32_t valore) {
    return a_qcolor(valore, QApplication::palette());
}

void colora(QWidget& widget, std::uint32_t sfondo, std::uint32_t testo) {
    auto tavolozza = widget.palette();
    const auto base = QApplication::palette();
    const auto colore_sfondo = a_qcolor(sfondo, base);
    const auto colore_testo = a_qcolor(testo, base);
    for (const auto ruolo : {QPalette::Window, QPalette::Base}) {
        // The disabled group is left to the style, so a disabled control still looks disabled.
        tavolozza.setColor(QPalette::Active, ruolo, colore_sfondo);
        tavolozza.setColor(QPalette::Inactive, ruolo, colore_sfondo);
    }
    for (const auto ruolo : {QPalette::WindowText, QPalette::Text}) {
        tavolozza.setColor(QPalette::Active, ruolo, colore_testo);
        tavolozza.setColor(QPalette::Inactive, ruolo, colore_testo);
    }
    // Repainting widgets call this often with the same colours: a palette change is not free.
    if (tavolozza != widget.palette()) {
        widget.setPalette(tavolozza);
    }
    widget.setAutoFillBackground(true);
}

} // namespace meravo::colori
