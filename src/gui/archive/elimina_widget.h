#pragma once

#include <QFrame>
#include <QPointer>

class QListWidget;
class QPushButton;

namespace meravo {

class Elimina;
class FinestraMeravo;

// The archive browser on screen, over the certificate window: the label, the list of archived
// certificates and the three buttons. It mirrors the browser model and hands it every click;
// the model holds every rule, the disabling of the form included.
class EliminaWidget final : public QFrame {
    Q_OBJECT

public:
    // A child of the window, hidden until "Archivio".
    EliminaWidget(Elimina& modello, FinestraMeravo& finestra);
    ~EliminaWidget() override;

    // "Archivio": the form disabled, the list loaded, the browser shown.
    void apri();
    // Puts the model's state on screen (list, selection, buttons, visibility).
    void aggiorna();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void crea_controlli();
    // The window after the model has disabled or enabled the form.
    void aggiorna_form();

    Elimina& modello_;
    FinestraMeravo& finestra_;
    QListWidget* list1_ = nullptr;
    QPushButton* visualizza_ = nullptr;
    QPushButton* elimina_ = nullptr;
    QPushButton* chiudi_ = nullptr;
    bool in_aggiornamento_ = false;
    QPointer<QWidget> fuoco_sospeso_;
};

// The window's "Archivio" opens a browser over `modello`, and its "Visualizza" previews both
// copies of the chosen certificate.
void collega_archivio(FinestraMeravo& finestra, Elimina& modello);

} // namespace meravo
