#include "casella_testo.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace meravo {

namespace {

void chiama(const std::function<void()>& f) {
    if (f) {
        f();
    }
}

} // namespace

CasellaTesto::CasellaTesto(QWidget* genitore) : QLineEdit(genitore) {
    setDragEnabled(false);
    setAcceptDrops(false);
    // The model's texts are not bound by the box's own limit (a container may set a text longer
    // than the typing limit), so the box must never cut what it is given.
    setMaxLength(32767);
}

void CasellaTesto::rispecchia(const QString& testo, int ancora, int cursore) {
    if (text() != testo) {
        setText(testo);
    }
    if (ancora == cursore) {
        deselect();
        setCursorPosition(cursore);
    } else {
        setSelection(ancora, cursore - ancora);
    }
}

int CasellaTesto::ancora() const {
    if (!hasSelectedText()) {
        return cursorPosition();
    }
    return cursorPosition() == selectionStart() ? selectionEnd() : selectionStart();
}

void CasellaTesto::keyPressEvent(QKeyEvent* evento) {
    evento->accept();
    if (tasto_giu) {
        tasto_giu(*evento);
    }
}

void CasellaTesto::keyReleaseEvent(QKeyEvent* evento) {
    evento->accept();
    if (tasto_su) {
        tasto_su(*evento);
    }
}

void CasellaTesto::inputMethodEvent(QInputMethodEvent* evento) {
    evento->accept();
    if (!evento->commitString().isEmpty() && testo_immesso) {
        testo_immesso(evento->commitString());
    }
}

void CasellaTesto::focusInEvent(QFocusEvent* evento) {
    QLineEdit::focusInEvent(evento);
    if (fuoco_preso) {
        fuoco_preso(evento->reason());
    }
}

void CasellaTesto::focusOutEvent(QFocusEvent* evento) {
    QLineEdit::focusOutEvent(evento);
    if (fuoco_perso) {
        fuoco_perso(evento->reason());
    }
}

void CasellaTesto::mousePressEvent(QMouseEvent* evento) {
    if (evento->button() != Qt::LeftButton) {
        evento->accept();
        return;
    }
    QLineEdit::mousePressEvent(evento);
    chiama(selezione_mouse);
}

void CasellaTesto::mouseMoveEvent(QMouseEvent* evento) {
    const bool selezionando = evento->buttons().testFlag(Qt::LeftButton);
    QLineEdit::mouseMoveEvent(evento);
    if (selezionando) {
        chiama(selezione_mouse);
    }
}

void CasellaTesto::mouseReleaseEvent(QMouseEvent* evento) {
    if (evento->button() != Qt::LeftButton) {
        evento->accept(); // the middle button would paste the X11 selection
        return;
    }
    QLineEdit::mouseReleaseEvent(evento);
    chiama(selezione_mouse);
    chiama(mouse_su);
}

void CasellaTesto::mouseDoubleClickEvent(QMouseEvent* evento) {
    if (evento->button() != Qt::LeftButton) {
        evento->accept();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(evento);
    chiama(selezione_mouse);
    chiama(doppio_clic);
}

void CasellaTesto::contextMenuEvent(QContextMenuEvent* evento) {
    evento->accept();
    if (menu_contestuale) {
        menu_contestuale(evento->globalPos());
    }
}

} // namespace meravo
