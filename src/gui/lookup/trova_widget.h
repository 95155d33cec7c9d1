#pragma once

#include "lookup/trova.h"

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class QKeyEvent;
class QLabel;
class QListWidget;
class QTreeWidget;

namespace meravo {

class CasellaTesto;

// The search-as-you-type look-up on screen: the mode indicator and the three part labels
// (`primo_libero`, `fisso`, `libero`) from left to right, the box with the candidate's
// completion selected, and below them, while it shows, the drop-down list (`Lista_fin`) or
// the multi-column view (`ListView1`).
//
// It hands its model every key, character and mouse action as the platform delivers them,
// never editing the box itself; after each it repaints everything from the model. The model is
// the widget's own, or one kept elsewhere (the form's model holds `trova1`) that outlives the
// widget. While a list shows, the widget grows downward to the list height over whatever lies
// below it, so it is meant to be placed by geometry rather than in a layout.
//
// The owner binds the model's events and calls the model for the binding (`inizializza`) and
// the read-backs; after calling it, it calls `aggiorna()`.
class TrovaWidget final : public QWidget {
    Q_OBJECT

public:
    // With a model of its own.
    TrovaWidget(PompaEventi& pompa, Segnale& segnale, Messaggi& messaggi,
                ProprietaTrova proprieta = {}, QWidget* genitore = nullptr);
    // Over a model kept elsewhere.
    explicit TrovaWidget(trova& modello, QWidget* genitore = nullptr);

    trova& modello() { return modello_; }
    const trova& modello() const { return modello_; }

    // Puts the model's state on screen. Skipped while the model is applying queued keys: the
    // call that started them repaints when they are done.
    void aggiorna();
    // The model's `rimetti_focus`, and the focus really moved there.
    void rimetti_focus();

    // One line: the height of the box and of the labels.
    int altezza_riga() const;

    CasellaTesto* casella() const { return casella_; }
    QLabel* descrittore_ricerche() const { return descrittore_; }
    QLabel* primo_libero() const { return primo_libero_; }
    QLabel* fisso() const { return fisso_; }
    QLabel* libero() const { return libero_; }
    QListWidget* lista() const { return lista_; }
    QTreeWidget* vista() const { return vista_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void collega();
    void tasto_giu(QKeyEvent& evento);
    void tasto_lista(QKeyEvent& evento, bool giu);
    bool tasto_vista(QKeyEvent& evento);
    void carattere(const std::string& caratteri);

    void mostra_etichette(const ProprietaTrova& p);
    void mostra_casella(const ProprietaTrova& p);
    void mostra_lista(const ProprietaTrova& p);
    void mostra_vista(const ProprietaTrova& p);
    void applica_font(const ProprietaTrova& p);
    void adatta_altezza();
    void disponi();
    void applica_focus(bool forza);
    int altezza_espansa() const;

    TrovaWidget(std::unique_ptr<trova> proprio, trova* esterno, QWidget* genitore);

    std::unique_ptr<trova> proprio_;
    trova& modello_;
    QLabel* descrittore_;
    QLabel* primo_libero_;
    QLabel* fisso_;
    QLabel* libero_;
    CasellaTesto* casella_;
    QListWidget* lista_;
    QTreeWidget* vista_;

    // What is on screen, so that the lists are filled again only when their contents change.
    std::vector<std::string> voci_mostrate_;
    std::vector<std::string> intestazioni_mostrate_;
    std::vector<std::vector<std::string>> righe_mostrate_;
    ProprietaTrova::Carattere font_mostrato_;
    ProprietaTrova::Carattere font_lista_mostrato_;
    bool font_applicati_ = false;
    trova::Focus focus_applicato_ = trova::Focus::testo;
};

} // namespace meravo
