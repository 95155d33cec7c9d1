#include "textbox/txtctl_widget.h"

#include "casella_testo.h"
#include "colori.h"
#include "misure.h"
#include "tasti_qt.h"
#include "testo_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>

namespace meravo {

namespace {

constexpr std::uint32_t testo_finestra = 0x80000008;

Qt::Alignment allineamento(int Alignment) {
    switch (Alignment) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// A one-line box takes a pasted text up to its first line break.
std::string prima_riga(const QString& testo) {
    const auto fine = testo.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return testo::da_qstring(fine < 0 ? testo : testo.left(fine));
}

} // namespace

char TxtctlWidget::separatore_decimale() {
    const auto separatore = testo::da_qstring(QLocale().decimalPoint());
    return separatore.size() == 1 ? separatore[0] : ',';
}

TxtctlWidget::TxtctlWidget(Messaggi& messaggi, QWidget* genitore)
    : TxtctlWidget(std::make_unique<Txtctl>(messaggi, separatore_decimale()), nullptr, genitore) {}

TxtctlWidget::TxtctlWidget(Txtctl& modello, QWidget* genitore)
    : TxtctlWidget(nullptr, &modello, genitore) {}

TxtctlWidget::TxtctlWidget(std::unique_ptr<Txtctl> proprio, Txtctl* esterno, QWidget* genitore)
    : QWidget(genitore), proprio_(std::move(proprio)),
      modello_(esterno != nullptr ? *esterno : *proprio_), casella_(new CasellaTesto(this)) {
    auto* disposizione = new QHBoxLayout(this);
    disposizione->setContentsMargins(0, 0, 0, 0);
    disposizione->addWidget(casella_);
    setFocusProxy(casella_);

    casella_->tasto_giu = [this](QKeyEvent& e) { tasto_giu(e); };
    casella_->tasto_su = [this](QKeyEvent& e) { tasto_su(e); };
    casella_->testo_immesso = [this](const QString& t) {
        digita(testo::da_qstring(t));
        aggiorna();
    };
    casella_->fuoco_preso = [this](Qt::FocusReason) { fuoco_preso(); };
    casella_->fuoco_perso = [this](Qt::FocusReason motivo) { fuoco_perso(motivo); };
    casella_->selezione_mouse = [this] {
        modello_.seleziona(casella_->ancora(), casella_->cursorPosition());
    };
    casella_->mouse_su = [this] {
        modello_.clic();
        aggiorna();
    };
    casella_->doppio_clic = [this] {
        modello_.doppio_clic();
        aggiorna();
    };
    casella_->menu_contestuale = [this](const QPoint& dove) { mostra_menu(dove); };

    // Queued: the focus is still on its way to another control when the model asks for it
    // back, and that control must first have had it, as it would with any focus change.
    modello_.riprendi_fuoco = [this] {
        QTimer::singleShot(0, casella_, [c = casella_] { c->setFocus(Qt::OtherFocusReason); });
    };
    aggiorna();
}

TxtctlWidget::~TxtctlWidget() {
    modello_.riprendi_fuoco = nullptr; // the model outlives the box it was shown in
}

void TxtctlWidget::tasto_giu(QKeyEvent& evento) {
    if (const int codice = tasti::codice_windows(evento)) {
        modello_.premi_tasto(codice, tasti::modificatori_windows(evento.modifiers()));
    }
    // A key cancelled on key-down still types its character, as on Windows.
    digita(tasti::caratteri_windows(evento));
    aggiorna();
}

void TxtctlWidget::tasto_su(QKeyEvent& evento) {
    if (const int codice = tasti::codice_windows(evento)) {
        modello_.rilascia_tasto(codice, tasti::modificatori_windows(evento.modifiers()));
        aggiorna();
    }
}

void TxtctlWidget::digita(const std::string& caratteri) {
    for (const char c : caratteri) {
        switch (modello_.digita(static_cast<unsigned char>(c))) {
        case 3: // Ctrl+C
            copia();
            break;
        case 22: // Ctrl+V
            incolla_appunti();
            break;
        case 24: // Ctrl+X
            copia();
            modello_.incolla("");
            break;
        default:
            break;
        }
    }
}

// A box keeps its focus while its window is inactive or a menu is open, so neither counts as
// entering or leaving it: a date check must not run because a message box came up.
void TxtctlWidget::fuoco_preso() {
    if (!modello_.ha_fuoco()) {
        modello_.prende_fuoco();
    }
    aggiorna();
}

void TxtctlWidget::fuoco_perso(Qt::FocusReason motivo) {
    if (motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason ||
        !modello_.ha_fuoco()) {
        return;
    }
    modello_.perde_fuoco();
    aggiorna();
}

void TxtctlWidget::copia() {
    const auto selezionato = modello_.SelText();
    if (!selezionato.empty()) {
        QApplication::clipboard()->setText(testo::a_qstring(selezionato));
    }
}

void TxtctlWidget::incolla_appunti() {
    modello_.incolla(prima_riga(QApplication::clipboard()->text()));
}

void TxtctlWidget::mostra_menu(const QPoint& dove) {
    const bool selezione = modello_.SelLength() > 0;
    const bool modificabile = !modello_.Locked();
    QMenu menu(this);
    auto* taglia = menu.addAction(QStringLiteral("Taglia"), this, [this] {
        copia();
        modello_.incolla("");
    });
    taglia->setEnabled(selezione && modificabile);
    menu.addAction(QStringLiteral("Copia"), this, [this] { copia(); })->setEnabled(selezione);
    menu.addAction(QStringLiteral("Incolla"), this, [this] { incolla_appunti(); })
        ->setEnabled(modificabile && !QApplication::clipboard()->text().isEmpty());
    menu.addAction(QStringLiteral("Elimina"), this, [this] { modello_.incolla(""); })
        ->setEnabled(selezione && modificabile);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Seleziona tutto"), this,
                   [this] { modello_.seleziona(0, static_cast<int>(modello_.Text().size())); });
    menu.exec(dove);
    aggiorna();
}

void TxtctlWidget::aggiorna() {
    const auto& m = modello_;
    const auto testo = testo::a_qstring(m.Text());
    // Only a mirror of the limit: the model does the limiting, and the box must not cut a text
    // that the container set beyond it.
    casella_->setMaxLength(m.MaxLength() > 0 ? std::max(m.MaxLength(), int(testo.size())) : 32767);
    const int cursore = m.cursore();
    const int ancora = cursore == m.SelStart() ? m.SelStart() + m.SelLength() : m.SelStart();
    casella_->rispecchia(testo, ancora, cursore);
    colori::colora(*casella_, m.BackColor(), testo_finestra);
    casella_->setReadOnly(m.Locked());
    casella_->setAlignment(allineamento(m.Alignment()));
    casella_->setFrame(m.BorderStyle() != 0);
    casella_->setEnabled(m.Enabled());
    if (m.Font() != font_applicato_) {
        applica_font();
    }
}

// The box is as wide as its text in the new font, or as MaxLength letters "a" when empty, plus
// a margin of the font's size in points times ten twips.
void TxtctlWidget::applica_font() {
    font_applicato_ = modello_.Font();
    QFont font;
    if (!font_applicato_.empty()) {
        font.fromString(testo::a_qstring(font_applicato_));
    }
    setFont(font);
    larghezza_ = 0;
    if (modello_.MaxLength() > 0) {
        const auto& t = modello_.Text();
        const auto misura =
            t.empty() ? QString(modello_.MaxLength(), QLatin1Char('a')) : testo::a_qstring(t);
        const double margine_twip = fontInfo().pointSizeF() * 120 / 12;
        larghezza_ = fontMetrics().horizontalAdvance(misura) +
                     misure::pixel_orizzontali(margine_twip, *this);
    }
    updateGeometry();
}

QSize TxtctlWidget::sizeHint() const {
    auto suggerito = QWidget::sizeHint();
    if (larghezza_ > 0) {
        suggerito.setWidth(larghezza_);
    }
    return suggerito;
}

} // namespace meravo
