#include "lookup/trova_widget.h"

#include "casella_testo.h"
#include "colori.h"
#include "misure.h"
#include "tasti_qt.h"
#include "testo_qt.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <algorithm>

namespace meravo {

namespace {

// Without a list height from the container the list shows this many rows.
constexpr int righe_lista_predefinite = 8;
// The control is never narrower than this, so that the box always has some room.
constexpr double larghezza_minima_twip = 100;
// The view's cells that only serve the choice and the date sort.
const QString colonna_puntatore = QStringLiteral("puntatore");
const QString colonna_dataord = QStringLiteral("dataord");

QFont font_qt(const ProprietaTrova::Carattere& carattere) {
    QFont font;
    if (!carattere.nome.empty()) {
        font.setFamily(testo::a_qstring(carattere.nome));
    }
    if (carattere.punti > 0) {
        font.setPointSizeF(carattere.punti);
    }
    if (carattere.grassetto) {
        font.setBold(true);
    }
    if (carattere.corsivo) {
        font.setItalic(true);
    }
    return font;
}

QLabel* etichetta(const char* nome, QWidget* genitore) {
    auto* e = new QLabel(genitore);
    e->setObjectName(QLatin1String(nome));
    // Captions are candidate texts and "<" signs, never markup.
    e->setTextFormat(Qt::PlainText);
    e->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return e;
}

void mostra_etichetta(QLabel& e, const trova::Etichetta& stato) {
    e.setText(testo::a_qstring(stato.caption));
    e.setVisible(stato.visibile);
}

} // namespace

TrovaWidget::TrovaWidget(PompaEventi& pompa, Segnale& segnale, Messaggi& messaggi,
                         ProprietaTrova proprieta, QWidget* genitore)
    : TrovaWidget(std::make_unique<trova>(pompa, segnale, messaggi, std::move(proprieta)), nullptr,
                  genitore) {}

TrovaWidget::TrovaWidget(trova& modello, QWidget* genitore)
    : TrovaWidget(nullptr, &modello, genitore) {}

TrovaWidget::TrovaWidget(std::unique_ptr<trova> proprio, trova* esterno, QWidget* genitore)
    : QWidget(genitore), proprio_(std::move(proprio)),
      modello_(esterno != nullptr ? *esterno : *proprio_),
      descrittore_(etichetta("descrittore_ricerche", this)),
      primo_libero_(etichetta("primo_libero", this)), fisso_(etichetta("fisso", this)),
      libero_(etichetta("libero", this)), casella_(new CasellaTesto(this)),
      lista_(new QListWidget(this)), vista_(new QTreeWidget(this)) {
    casella_->setObjectName(QStringLiteral("testo"));
    lista_->setObjectName(QStringLiteral("Lista_fin"));
    vista_->setObjectName(QStringLiteral("ListView1"));
    lista_->hide();
    vista_->hide();
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    vista_->setRootIsDecorated(false);
    vista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    vista_->setSortingEnabled(false); // the model sorts, on a click on a column title
    vista_->header()->setSectionsClickable(true);
    setFocusProxy(casella_);
    setMinimumWidth(misure::pixel_orizzontali(larghezza_minima_twip, *this));
    collega();
    aggiorna();
}

void TrovaWidget::collega() {
    casella_->tasto_giu = [this](QKeyEvent& e) { tasto_giu(e); };
    casella_->testo_immesso = [this](const QString& t) {
        carattere(testo::da_qstring(t));
        aggiorna();
    };
    casella_->mouse_su = [this] {
        modello_.mouse_su_testo();
        aggiorna();
    };
    lista_->installEventFilter(this);
    vista_->installEventFilter(this);
    connect(lista_, &QListWidget::itemClicked, this, [this](QListWidgetItem* voce) {
        modello_.click_lista(lista_->row(voce));
        aggiorna();
    });
    connect(lista_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* voce) {
        modello_.doppio_click_lista(lista_->row(voce));
        aggiorna();
    });
    // The view moves its own selection with the arrows and the mouse, as the platform's does;
    // the model follows it.
    connect(vista_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* voce) {
        if (voce) {
            modello_.seleziona_riga_vista(vista_->indexOfTopLevelItem(voce));
        }
    });
    connect(vista_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* voce) {
        modello_.scegli_riga_vista(vista_->indexOfTopLevelItem(voce));
        aggiorna();
    });
    connect(vista_->header(), &QHeaderView::sectionClicked, this, [this](int colonna) {
        modello_.click_intestazione_vista(colonna);
        aggiorna();
        vista_->header()->setSortIndicatorShown(true);
        vista_->header()->setSortIndicator(
            colonna, modello_.vista().discendente() ? Qt::DescendingOrder : Qt::AscendingOrder);
    });
    // A list left open when the doctor moves on to another box of the same window (an Alt key,
    // a click) would cover the boxes below it: it closes as the container's closing does.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* ora) {
        if (ora != nullptr && ora != this && !isAncestorOf(ora) && ora->window() == window() &&
            modello_.espanso()) {
            modello_.chiudi_lista();
            aggiorna();
        }
    });
}

// --- input -------------------------------------------------------------------------------------

void TrovaWidget::tasto_giu(QKeyEvent& evento) {
    if (const int codice = tasti::codice_windows(evento)) {
        modello_.tasto_giu_testo(static_cast<Tasto>(codice),
                                 tasti::modificatori_windows(evento.modifiers()));
    }
    carattere(tasti::caratteri_windows(evento));
    aggiorna();
}

void TrovaWidget::carattere(const std::string& caratteri) {
    for (const char c : caratteri) {
        modello_.carattere_testo(c);
    }
}

void TrovaWidget::tasto_lista(QKeyEvent& evento, bool giu) {
    const auto tasto = static_cast<Tasto>(tasti::codice_windows(evento));
    const int modificatori = tasti::modificatori_windows(evento.modifiers());
    if (giu) {
        modello_.tasto_giu_lista(tasto, modificatori);
    } else {
        modello_.tasto_su_lista(tasto, modificatori);
    }
    aggiorna();
}

// Enter and Escape belong to the control while the view shows; the view keeps the rest.
bool TrovaWidget::tasto_vista(QKeyEvent& evento) {
    const auto tasto = static_cast<Tasto>(tasti::codice_windows(evento));
    if (tasto != Tasto::invio && tasto != Tasto::esc) {
        return false;
    }
    modello_.tasto_giu_controllo(tasto, tasti::modificatori_windows(evento.modifiers()));
    aggiorna();
    return true;
}

bool TrovaWidget::eventFilter(QObject* oggetto, QEvent* evento) {
    const auto tipo = evento->type();
    if (tipo != QEvent::KeyPress && tipo != QEvent::KeyRelease) {
        return QWidget::eventFilter(oggetto, evento);
    }
    auto& tasto = static_cast<QKeyEvent&>(*evento);
    if (oggetto == vista_) {
        return tipo == QEvent::KeyPress && tasto_vista(tasto);
    }
    if (oggetto == lista_) {
        // Tab still leaves the list; every other key is the model's, so the list box never
        // moves its selection on its own.
        if (tasto.key() == Qt::Key_Tab || tasto.key() == Qt::Key_Backtab) {
            return false;
        }
        tasto_lista(tasto, tipo == QEvent::KeyPress);
        return true;
    }
    return QWidget::eventFilter(oggetto, evento);
}

void TrovaWidget::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    // A resize from outside puts the control back to a plain prefix search; one that opening
    // or closing the list caused leaves it as it is.
    modello_.ridimensionato();
    aggiorna();
}

void TrovaWidget::rimetti_focus() {
    modello_.rimetti_focus();
    aggiorna();
    applica_focus(true);
}

// --- display -----------------------------------------------------------------------------------

void TrovaWidget::aggiorna() {
    if (modello_.in_elaborazione()) {
        return;
    }
    const auto p = modello_.proprieta();
    applica_font(p);
    mostra_etichette(p);
    // What shows and can take the focus first, then the focus, then what hides or is disabled:
    // hiding or disabling the focused part would otherwise throw the focus out of the control.
    if (modello_.testo_abilitato()) {
        casella_->setEnabled(true);
    }
    mostra_casella(p);
    mostra_lista(p);
    mostra_vista(p);
    adatta_altezza();
    disponi();
    applica_focus(false);
    lista_->setVisible(modello_.lista_visibile());
    vista_->setVisible(modello_.vista().visibile());
    casella_->setEnabled(modello_.testo_abilitato());
    setEnabled(modello_.Enabled());
}

void TrovaWidget::applica_font(const ProprietaTrova& p) {
    if (font_applicati_ && p.Font == font_mostrato_ && p.FontLista == font_lista_mostrato_) {
        return;
    }
    font_applicati_ = true;
    font_mostrato_ = p.Font;
    font_lista_mostrato_ = p.FontLista;
    const auto font = font_qt(p.Font);
    for (QWidget* w : {static_cast<QWidget*>(descrittore_), static_cast<QWidget*>(primo_libero_),
                       static_cast<QWidget*>(fisso_), static_cast<QWidget*>(libero_),
                       static_cast<QWidget*>(casella_)}) {
        w->setFont(font);
    }
    const auto font_lista = font_qt(p.FontLista);
    lista_->setFont(font_lista);
    vista_->setFont(font_lista);
    updateGeometry();
}

void TrovaWidget::mostra_etichette(const ProprietaTrova& p) {
    descrittore_->setText(testo::a_qstring(modello_.descrittore_ricerche()));
    colori::colora(*descrittore_, modello_.sfondo_legenda(), modello_.testo_legenda());
    mostra_etichetta(*primo_libero_, modello_.primo_libero());
    mostra_etichetta(*fisso_, modello_.fisso());
    mostra_etichetta(*libero_, modello_.libero());
    colori::colora(*primo_libero_, p.BackColorLiberi, p.ForeColorLiberi);
    colori::colora(*libero_, p.BackColorLiberi, p.ForeColorLiberi);
    colori::colora(*fisso_, p.BackcColorFisso, p.ForeColorFisso);
    colori::colora(*this, p.BackColor, p.ForeColorLegenda);
}

void TrovaWidget::mostra_casella(const ProprietaTrova& p) {
    const auto inizio = static_cast<int>(modello_.inizio_selezione());
    const auto fine = inizio + static_cast<int>(modello_.lunghezza_selezione());
    // The caret stays at the end of the completion, as the platform's box puts it.
    casella_->rispecchia(testo::a_qstring(modello_.testo()), inizio, fine);
    colori::colora(*casella_, p.BackColorTesto, p.ForeColorTesto);
}

void TrovaWidget::mostra_lista(const ProprietaTrova& p) {
    const auto& l = modello_.lista();
    if (!l.visibile()) {
        return;
    }
    const QSignalBlocker blocco(lista_);
    if (l.voci() != voci_mostrate_) {
        voci_mostrate_ = l.voci();
        lista_->clear();
        QStringList voci;
        voci.reserve(static_cast<qsizetype>(voci_mostrate_.size()));
        for (const auto& v : voci_mostrate_) {
            voci.append(testo::a_qstring(v));
        }
        lista_->addItems(voci);
    }
    lista_->setCurrentRow(l.indice());
    if (auto* voce = lista_->currentItem()) {
        lista_->scrollToItem(voce);
    }
    colori::colora(*lista_, p.BackColorLista, p.ForeColorLista);
    lista_->setVisible(true);
}

void TrovaWidget::mostra_vista(const ProprietaTrova& p) {
    const auto& v = modello_.vista();
    if (!v.visibile()) {
        return;
    }
    const QSignalBlocker blocco(vista_);
    if (v.intestazioni() != intestazioni_mostrate_) {
        intestazioni_mostrate_ = v.intestazioni();
        QStringList titoli;
        for (const auto& t : intestazioni_mostrate_) {
            titoli.append(testo::a_qstring(t));
        }
        vista_->setColumnCount(static_cast<int>(titoli.size()));
        vista_->setHeaderLabels(titoli);
        for (int c = 0; c < titoli.size(); ++c) {
            vista_->setColumnHidden(c,
                                    titoli[c] == colonna_puntatore || titoli[c] == colonna_dataord);
        }
    }
    if (v.righe() != righe_mostrate_) {
        righe_mostrate_ = v.righe();
        vista_->clear();
        QList<QTreeWidgetItem*> voci;
        for (const auto& riga : righe_mostrate_) {
            QStringList celle;
            for (const auto& cella : riga) {
                celle.append(testo::a_qstring(cella));
            }
            voci.append(new QTreeWidgetItem(celle));
        }
        vista_->addTopLevelItems(voci);
        vista_->header()->resizeSections(QHeaderView::ResizeToContents);
        // A new fill comes in the table's order; a click on a title shows the order again.
        vista_->header()->setSortIndicatorShown(false);
    }
    if (auto* voce = vista_->topLevelItem(v.selezionata())) {
        vista_->setCurrentItem(voce);
        vista_->scrollToItem(voce);
    }
    colori::colora(*vista_, p.BackColorLista, p.ForeColorLista);
    vista_->setVisible(true);
}

int TrovaWidget::altezza_riga() const {
    return std::max(casella_->sizeHint().height(), descrittore_->sizeHint().height());
}

int TrovaWidget::altezza_espansa() const {
    if (const auto twip = modello_.altezza_lista()) {
        return std::max(misure::pixel_verticali(*twip, *this), 2 * altezza_riga());
    }
    return altezza_riga() + righe_lista_predefinite * lista_->fontMetrics().height();
}

void TrovaWidget::adatta_altezza() {
    const int voluta = modello_.espanso() ? altezza_espansa() : altezza_riga();
    if (height() != voluta) {
        resize(width(), voluta);
    }
    if (modello_.espanso()) {
        raise(); // over the controls below, which the list covers while it shows
    }
}

// Indicator at the far left, then each label with a caption, each as wide as its text, then
// the box over the rest of the width; the lists under them, across the whole control.
void TrovaWidget::disponi() {
    const int h = altezza_riga();
    int x = 0;
    for (QLabel* e : {descrittore_, primo_libero_, fisso_, libero_}) {
        if (e == descrittore_ || !e->isHidden()) {
            const int w = e->sizeHint().width();
            e->setGeometry(x, 0, w, h);
            x += w;
        }
    }
    casella_->setGeometry(x, 0, std::max(width() - x, 1), h);
    const QRect sotto(0, h, width(), std::max(height() - h, 0));
    lista_->setGeometry(sotto);
    vista_->setGeometry(sotto);
}

// The focus follows the model's part when the model moved it while the control had it, or
// when the container asks for it.
void TrovaWidget::applica_focus(bool forza) {
    const auto voluto = modello_.focus();
    const bool cambiato = voluto != focus_applicato_;
    focus_applicato_ = voluto;
    auto* attuale = window()->focusWidget();
    const bool dentro = attuale && (attuale == this || isAncestorOf(attuale));
    if (!forza && !(cambiato && dentro)) {
        return;
    }
    QWidget* parte = casella_;
    if (voluto == trova::Focus::lista) {
        parte = lista_;
    } else if (voluto == trova::Focus::vista) {
        parte = vista_;
    }
    parte->setFocus(Qt::OtherFocusReason);
}

QSize TrovaWidget::sizeHint() const {
    return {casella_->sizeHint().width() * 2, altezza_riga()};
}

QSize TrovaWidget::minimumSizeHint() const {
    return {minimumWidth(), altezza_riga()};
}

} // namespace meravo
