#pragma once

#include "textbox/txtctl.h"

#include <QWidget>
#include <memory>
#include <string>

class QKeyEvent;

namespace meravo {

class CasellaTesto;
class Messaggi;

// The typed text box on screen. It hands its model every key, character, focus change, click
// and paste as the platform delivers them; the model edits its own text and the widget then
// shows Text, the selection and the caret, BackColor, Enabled, Locked, Alignment, BorderStyle
// and Font. The model is the widget's own, or one kept elsewhere (a form model holds its date
// boxes) that outlives the widget.
//
// The owner binds the model's events (Change, Conferma, KeyPress, ...); the widget takes only
// `riprendi_fuoco`. After changing the model itself (a Text, a BackColor, Enabled) the owner
// calls `aggiorna()`. The model's Font is a QFont description (QFont::toString); empty, the
// box takes its container's font.
class TxtctlWidget final : public QWidget {
    Q_OBJECT

public:
    // With a model of its own, whose decimal separator is the locale's.
    explicit TxtctlWidget(Messaggi& messaggi, QWidget* genitore = nullptr);
    // Over a model kept elsewhere.
    explicit TxtctlWidget(Txtctl& modello, QWidget* genitore = nullptr);
    ~TxtctlWidget() override;

    // The decimal separator of the user's locale, for whoever builds a model.
    static char separatore_decimale();

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

    TxtctlWidget(std::unique_ptr<Txtctl> proprio, Txtctl* esterno, QWidget* genitore);

    std::unique_ptr<Txtctl> proprio_;
    Txtctl& modello_;
    CasellaTesto* casella_;
    std::string font_applicato_;
    int larghezza_ = 0; // from the font and MaxLength; 0 until a font is applied
};

} // namespace meravo
