#pragma once

#include "textbox/txtctl.h"

#include <QWidget>
#include <string>

class QKeyEvent;

namespace meravo {

class CasellaTesto;
class Messaggi;

// The typed text box on screen. It owns its model and hands it every key, character, focus
// change, click and paste as the platform delivers them; the model edits its own text and the
// widget then shows Text, the selection and the caret, BackColor, Enabled, Locked, Alignment,
// BorderStyle and Font.
//
// The container binds the model's events (Change, Conferma, KeyPress, ...) on `modello()`.
// After changing the model itself (a Text, a BackColor, Enabled) it calls `aggiorna()`. The
// model's Font is a QFont description (QFont::toString); empty, the box takes its container's.
class TxtctlWidget final : public QWidget {
    Q_OBJECT

public:
    explicit TxtctlWidget(Messaggi& messaggi, QWidget* genitore = nullptr);

    Txtctl& modello() { return modello_; }
    const Txtctl& modello() const { return modello_; }
    CasellaTesto* casella() const { return casella_; }

    // Puts the model's state on screen.
    void aggiorna();

    QSize sizeHint() const override;

private:
    void tasto_giu(QKeyEvent& evento);
    void tasto_su(QKeyEvent& evento);
    void digita(const std::string& caratteri);
    void fuoco_preso();
    void fuoco_perso(Qt::FocusReason motivo);
    void mostra_menu(const QPoint& dove);
    void copia();
    void incolla_appunti();
    void applica_font();

    Txtctl modello_;
    CasellaTesto* casella_;
    std::string font_applicato_;
    int larghezza_ = 0; // from the font and MaxLength; 0 until a font is applied
};

} // namespace meravo
