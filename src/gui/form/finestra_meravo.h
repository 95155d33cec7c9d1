#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace meravo {

struct DescrizioneControllo;
class frm_Meravo;
class Messaggi;
class TrovaWidget;
class TxtctlWidget;

// The certificate form on screen: four frames with their labelled fields, the diagnosis
// look-up and the buttons. It mirrors the form model and hands it every edit and click; the
// model holds every rule.
class FinestraMeravo final : public QWidget {
    Q_OBJECT

public:
    FinestraMeravo(frm_Meravo& form, QWidget* genitore = nullptr);
    ~FinestraMeravo() override;

    // Puts the model's state on screen (texts, enabled and visible states, colours).
    void aggiorna();

    // Shows the form whole inside the screen's free area. Where the system's font is wider than
    // the one the boxes were measured with and the form would pass the screen's edge, the long
    // boxes give up width first: their text scrolls, where a box off the screen cannot be used.
    void mostra_nello_schermo();

    // "Archivio": opens the archive browser; without one the button says it is not available.
    std::function<void()> archivio_Click;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    QGroupBox* crea_gruppo(std::string_view nome);
    void crea_controlli();
    QWidget* crea_controllo(const DescrizioneControllo& c, QGroupBox& gruppo);
    void crea_opzioni(QGroupBox& certificato, QHBoxLayout& fila);
    void crea_pulsanti();
    void ordina_tabulazione();
    void segui_trova();
    void premuto(const std::function<void()>& azione);
    // Shows the model's state at once, a run in progress included, while a handler is running.
    void mostra_stato();
    bool input_durante_lavoro(QObject* oggetto, const QEvent& evento) const;

    frm_Meravo& form_;
    std::map<std::string, QGroupBox*, std::less<>> gruppi_;
    std::map<std::string, QLineEdit*, std::less<>> testi_;
    std::map<std::string, TxtctlWidget*, std::less<>> date_;
    QPlainTextEdit* note_ = nullptr;
    TrovaWidget* trova1_ = nullptr;
    QWidget* posto_trova1_ = nullptr; // the layout cell the look-up covers
    std::vector<QWidget*> elastici_;  // the boxes that may give up width on a narrow screen
    QButtonGroup* opt_tipo_ = nullptr;
    QButtonGroup* opt_visita_ = nullptr;
    QPushButton* stampa_ = nullptr;
    QPushButton* salva_ = nullptr;
    QPushButton* archivio_ = nullptr;
    QPushButton* ristampa_ = nullptr;
    QPushButton* siss_ = nullptr;
    QPushButton* cmd_crypta_ = nullptr;
    QLabel* attivita_ = nullptr;
    bool in_aggiornamento_ = false;
    bool cursore_attesa_ = false;
};

} // namespace meravo
