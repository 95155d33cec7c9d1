#pragma once

#include <QLineEdit>
#include <functional>

namespace meravo {

// A one-line text box that never edits itself. Keys, text from an input method, focus changes
// and mouse actions go to its owner, whose model does the editing; the owner then puts the
// model's text and selection back with `rispecchia`. The mouse may still select text, as
// selecting edits nothing: the owner hears of it and tells the model.
//
// Everything that would change the text behind the model's back is cut off here: the built-in
// key handling, the standard context menu, drag and drop, and the middle-button paste of X11.
class CasellaTesto final : public QLineEdit {
    Q_OBJECT

public:
    explicit CasellaTesto(QWidget* genitore = nullptr);

    // Shows `testo` with the selection running from `ancora` to the caret at `cursore`.
    void rispecchia(const QString& testo, int ancora, int cursore);
    // The selection's fixed end: where it began, whichever way it was then extended.
    int ancora() const;

    std::function<void(QKeyEvent&)> tasto_giu;
    std::function<void(QKeyEvent&)> tasto_su;
    std::function<void(const QString&)> testo_immesso; // an input method's finished text
    std::function<void(Qt::FocusReason)> fuoco_preso;
    std::function<void(Qt::FocusReason)> fuoco_perso;
    // The mouse changed the selection or the caret (after a press, a drag or a double click).
    std::function<void()> selezione_mouse;
    std::function<void()> mouse_su;
    std::function<void()> doppio_clic;
    std::function<void(const QPoint& globale)> menu_contestuale;

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void keyReleaseEvent(QKeyEvent* evento) override;
    void inputMethodEvent(QInputMethodEvent* evento) override;
    void focusInEvent(QFocusEvent* evento) override;
    void focusOutEvent(QFocusEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;
    void contextMenuEvent(QContextMenuEvent* evento) override;
};

} // namespace meravo
