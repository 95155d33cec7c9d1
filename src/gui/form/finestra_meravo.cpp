#include "form/finestra_meravo.h"

#include "casella_testo.h"
#include "colori.h"
#include "form/frm_meravo.h"
#include "lookup/trova_widget.h"
#include "services/messaggi.h"
#include "testo_qt.h"
#include "textbox/txtctl_widget.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace meravo {

namespace {

constexpr int margine_testo = 2; // a line edit's own space between its frame and its text

QString q(std::string_view s) {
    return testo::a_qstring(s);
}

// The notes keep CR LF line breaks, as the archive and the request expect; the editor has LF.
std::string note_da_editor(const QString& testo) {
    std::string s = testo::da_qstring(testo);
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == '\n') {
            out += "\r\n";
        } else if (c != '\r') {
            out.push_back(c);
        }
    }
    return out;
}

// Typing stops at the field's length limit; a longer value the program put there is shown whole,
// since that is what the module will send, print and archive.
class LimiteDigitazione final : public QValidator {
public:
    LimiteDigitazione(const Campo& campo, QObject* genitore)
        : QValidator(genitore), campo_(campo) {}
    State validate(QString& testo, int&) const override {
        return campo_.accetta_digitato(testo::da_qstring(testo)) ? Acceptable : Invalid;
    }

private:
    const Campo& campo_;
};

bool input_utente(QEvent::Type tipo) {
    switch (tipo) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// Only the chosen option of a group (the first one when none is chosen) takes the Tab key.
void una_fermata(QButtonGroup& gruppo) {
    auto* fermata =
        gruppo.checkedButton() != nullptr ? gruppo.checkedButton() : gruppo.buttons().value(0);
    for (auto* opzione : gruppo.buttons()) {
        opzione->setFocusPolicy(opzione == fermata ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

// The width a box needs to show `caratteri` characters whole, in capitals of average width
// (many programs keep names in capitals) or in the dots of a hidden text, with the frame and
// margins its style puts round them.
int larghezza_per(const QLineEdit& casella, int caratteri) {
    QStyleOptionFrame opzione;
    opzione.initFrom(&casella);
    const auto* stile = casella.style();
    opzione.lineWidth = casella.hasFrame()
                            ? stile->pixelMetric(QStyle::PM_DefaultFrameWidth, &opzione, &casella)
                            : 0;
    const auto& misura = casella.fontMetrics();
    const int n = std::max(caratteri, 1);
    int testo =
        (misura.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")) * n + 25) / 26;
    if (casella.echoMode() == QLineEdit::Password) {
        const QChar punto(
            stile->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &opzione, &casella));
        testo = misura.horizontalAdvance(QString(n, punto));
    }
    const auto margini = casella.textMargins();
    const QSize contenuto(testo + margini.left() + margini.right() + 2 * margine_testo,
                          misura.height());
    return stile->sizeFromContents(QStyle::CT_LineEdit, &opzione, contenuto, &casella).width();
}

QString note_per_editor(const std::string& testo) {
    std::string s;
    for (char c : testo) {
        if (c != '\r') {
            s.push_back(c);
        }
    }
    return q(s);
}

} // namespace

FinestraMeravo::FinestraMeravo(frm_Meravo& form, QWidget* genitore)
    : QWidget(genitore), form_(form) {
    setObjectName(QStringLiteral("frm_Meravo"));
    // An installation that sends to the test service says so wherever the doctor looks.
    setWindowTitle(form_.modo_test
                       ? QStringLiteral("Certificato di malattia telematico — servizio di prova")
                       : QStringLiteral("Certificato di malattia telematico"));
    colori::colora(*this, colori::grigio_cornici, 0x80000012);
    auto* colonna = new QVBoxLayout(this);
    for (const auto& g : gruppi_form()) {
        auto* gruppo = crea_gruppo(g.nome);
        gruppo->setTitle(q(g.titolo));
        colonna->addWidget(gruppo);
    }
    crea_controlli();
    crea_pulsanti();
    auto* riga_pulsanti = new QHBoxLayout;
    for (auto* p : {stampa_, salva_, archivio_, ristampa_, siss_, cmd_crypta_}) {
        riga_pulsanti->addWidget(p);
    }
    riga_pulsanti->addStretch();
    attivita_ = new QLabel(this);
    attivita_->setObjectName(QStringLiteral("attivita"));
    riga_pulsanti->addWidget(attivita_);
    attivita_->setAccessibleName(QStringLiteral("Stato"));
    colonna->addLayout(riga_pulsanti);
    ordina_tabulazione();
    // A diagnosis chosen in the look-up fills `cod_icdix` in the model: show it once the
    // look-up has finished with the keys that chose it.
    auto& eventi = form_.trova1.eventi();
    eventi.selezione_confermata = [this, del_form = eventi.selezione_confermata] {
        if (del_form) {
            del_form();
        }
        QTimer::singleShot(0, this, [this] { aggiorna(); });
    };
    form_.stato_cambiato = [this] { mostra_stato(); };
    // While a run holds the form, what the doctor types or clicks in it is dropped: the run
    // lets window events through while it waits, and they must not change what is being sent.
    qApp->installEventFilter(this);
    aggiorna();
    // What the doctor types first is the end of the prognosis: the rest comes from the
    // exchange file or from today's date.
    date_.at("dt_fine")->casella()->setFocus(Qt::OtherFocusReason);
}

FinestraMeravo::~FinestraMeravo() {
    form_.stato_cambiato = nullptr; // the model outlives the window that showed it
    if (cursore_attesa_) {
        QApplication::restoreOverrideCursor();
    }
}

void FinestraMeravo::mostra_nello_schermo() {
    const QRect libero = screen()->availableGeometry();
    // The frame the system draws round a window is known only once it shows: its usual size.
    const QSize cornice(16, 40);
    for (int passo = 0; passo < 20; ++passo) {
        // Before the window shows no layout runs by itself: each frame's, then the window's.
        for (auto& [nome, gruppo] : gruppi_) {
            gruppo->layout()->invalidate();
            gruppo->layout()->activate();
        }
        layout()->invalidate();
        layout()->activate();
        if (minimumSizeHint().width() + cornice.width() <= libero.width()) {
            break;
        }
        for (auto* c : elastici_) {
            const int minimo = c->fontMetrics().averageCharWidth() * 8;
            c->setMinimumWidth(std::max(c->minimumWidth() * 9 / 10, minimo));
        }
    }
    adjustSize();
    resize(std::min(width(), libero.width() - cornice.width()),
           std::min(height(), libero.height() - cornice.height()));
    move(libero.left() + std::max(0, (libero.width() - width() - cornice.width()) / 2),
         libero.top() + std::max(0, (libero.height() - height() - cornice.height()) / 2));
    show();
}

QGroupBox* FinestraMeravo::crea_gruppo(std::string_view nome) {
    auto* gruppo = new QGroupBox(this);
    gruppo->setObjectName(q(nome));
    colori::colora(*gruppo, colori::grigio_cornici, colori::titoli_gruppi);
    new QGridLayout(gruppo);
    gruppi_.emplace(std::string(nome), gruppo);
    return gruppo;
}

void FinestraMeravo::crea_controlli() {
    // Each group is a grid of rows: the first label of a row in a column of its own, so that
    // the rows line up, and the rest of the row beside it, in the order the Tab key follows.
    std::map<std::string, int, std::less<>> righe;
    QHBoxLayout* fila = nullptr;
    bool fila_elastica = false;
    auto chiudi_fila = [&] {
        if (fila != nullptr && !fila_elastica) {
            fila->addStretch(); // boxes of short values keep their width, at the left
        }
        fila = nullptr;
    };
    std::string_view gruppo_fila;
    for (const auto& c : controlli_form()) {
        auto* gruppo = gruppi_.at(std::string(c.gruppo));
        auto* griglia = static_cast<QGridLayout*>(gruppo->layout());
        QWidget* controllo = crea_controllo(c, *gruppo);
        auto* etichetta = new QLabel(q(c.etichetta), gruppo);
        // The label's Alt key takes the keyboard into the box that takes the keys.
        QWidget* fuoco = c.tipo == TipoControllo::ricerca ? trova1_->casella() : controllo;
        etichetta->setBuddy(fuoco->focusProxy() != nullptr ? fuoco->focusProxy() : fuoco);
        colori::colora(*etichetta, colori::grigio_cornici, 0x80000012);
        int& riga = righe[std::string(c.gruppo)];
        if (fila == nullptr || c.a_capo || c.gruppo != gruppo_fila) {
            chiudi_fila();
            gruppo_fila = c.gruppo;
            fila = new QHBoxLayout;
            fila_elastica = false;
            if (c.tipo == TipoControllo::nota) {
                // The notes take the whole width, their label above them.
                griglia->addWidget(etichetta, riga++, 0, 1, 2);
                griglia->addWidget(controllo, riga++, 0, 1, 2);
                fila = nullptr;
                continue;
            }
            // A label as long as a sentence would widen the label column of every row.
            if (c.etichetta.size() <= 20) {
                griglia->addWidget(etichetta, riga, 0);
                griglia->addLayout(fila, riga++, 1);
            } else {
                fila->addWidget(etichetta);
                griglia->addLayout(fila, riga++, 0, 1, 2);
            }
        } else {
            fila->addWidget(etichetta);
        }
        // A box for a long value grows with the window; one for a short value keeps its width.
        const bool elastico = c.caratteri == 0 || c.caratteri > 10;
        fila->addWidget(controllo, !elastico ? 0 : c.caratteri > 0 ? c.caratteri : 100);
        fila_elastica = fila_elastica || elastico;
        if (c.nome == "dt_fine") {
            // The certificate's type and visit follow the dates, where the Tab key goes.
            chiudi_fila();
            fila = new QHBoxLayout;
            griglia->addLayout(fila, riga++, 0, 1, 2);
            crea_opzioni(*gruppo, *fila);
            chiudi_fila();
        }
    }
    chiudi_fila();
    for (auto& [nome, gruppo] : gruppi_) {
        static_cast<QGridLayout*>(gruppo->layout())->setColumnStretch(1, 1);
    }
}

QWidget* FinestraMeravo::crea_controllo(const DescrizioneControllo& c, QGroupBox& gruppo) {
    const std::string nome(c.nome);
    const auto nome_accessibile = q(senza_mnemonico(c.etichetta));
    QWidget* controllo = nullptr;
    QLineEdit* casella = nullptr; // the box that shows the value, for its width
    switch (c.tipo) {
    case TipoControllo::testo:
    case TipoControllo::password: {
        casella = new QLineEdit(&gruppo);
        if (c.tipo == TipoControllo::password) {
            casella->setEchoMode(QLineEdit::Password);
        }
        casella->setValidator(new LimiteDigitazione(*form_.campo(nome), casella));
        connect(casella, &QLineEdit::textEdited, this, [this, nome](const QString& t) {
            if (!in_aggiornamento_) {
                form_.campo(nome)->Text = testo::da_qstring(t);
            }
        });
        testi_.emplace(nome, casella);
        controllo = casella;
        break;
    }
    case TipoControllo::data: {
        auto* box = new TxtctlWidget(*form_.data(nome), &gruppo);
        date_.emplace(nome, box);
        casella = box->casella();
        controllo = box;
        break;
    }
    case TipoControllo::nota:
        note_ = new QPlainTextEdit(&gruppo);
        note_->setTabChangesFocus(true); // Tab leaves the notes, as in every other box
        connect(note_, &QPlainTextEdit::textChanged, this, [this] {
            if (!in_aggiornamento_) {
                form_.note_diagnosi.Text = note_da_editor(note_->toPlainText());
            }
        });
        controllo = note_;
        break;
    case TipoControllo::ricerca:
        // The look-up grows over what lies below it while its list shows, so it is placed by
        // geometry over a cell of the layout that keeps its one-line place.
        posto_trova1_ = new QWidget(&gruppo);
        trova1_ = new TrovaWidget(form_.trova1, &gruppo);
        trova1_->setObjectName(QStringLiteral("trova1"));
        posto_trova1_->setFixedHeight(trova1_->altezza_riga());
        posto_trova1_->setMinimumWidth(trova1_->minimumSizeHint().width());
        posto_trova1_->installEventFilter(this);
        trova1_->setAccessibleName(nome_accessibile);
        trova1_->casella()->setAccessibleName(nome_accessibile);
        trova1_->lista()->setAccessibleName(QStringLiteral("Elenco delle diagnosi"));
        trova1_->vista()->setAccessibleName(QStringLiteral("Elenco delle diagnosi"));
        return posto_trova1_;
    }
    controllo->setObjectName(q(c.nome));
    // The box that takes the keys is the one a screen reader names, inside a date box too.
    controllo->setAccessibleName(nome_accessibile);
    if (casella != nullptr) {
        casella->setAccessibleName(nome_accessibile);
        const int larghezza = larghezza_per(*casella, c.caratteri);
        if (c.caratteri > 10) {
            controllo->setMinimumWidth(larghezza);
            elastici_.push_back(controllo);
        } else {
            controllo->setFixedWidth(larghezza);
        }
    }
    return controllo;
}

void FinestraMeravo::crea_opzioni(QGroupBox& certificato, QHBoxLayout& fila) {
    auto opzioni = [&](const char* nome, const char* titolo,
                       std::initializer_list<const char*> voci) {
        auto* gruppo = new QButtonGroup(this);
        gruppo->setObjectName(QString::fromLatin1(nome));
        auto* etichetta = new QLabel(QString::fromLatin1(titolo), &certificato);
        colori::colora(*etichetta, colori::grigio_cornici, 0x80000012);
        fila.addWidget(etichetta);
        int id = 0;
        for (const char* voce : voci) {
            auto* opzione = new QRadioButton(QString::fromLatin1(voce), &certificato);
            opzione->setObjectName(QString::fromLatin1(nome) + QString::number(id));
            // A screen reader says which question the option answers.
            opzione->setAccessibleDescription(QString::fromLatin1(titolo));
            colori::colora(*opzione, colori::grigio_cornici, 0x80000012);
            gruppo->addButton(opzione, id++);
            fila.addWidget(opzione);
        }
        // One Tab stop per group, on its chosen option; the arrows move the choice within it.
        connect(gruppo, &QButtonGroup::buttonToggled, this, [gruppo] { una_fermata(*gruppo); });
        una_fermata(*gruppo);
        return gruppo;
    };
    // Each option has its own mnemonic, clear of the buttons' and the labels'.
    opt_tipo_ = opzioni("opt_tipo", "Tipo certificato", {"&Inizio", "&Continuazione", "&Ricaduta"});
    fila.addSpacing(fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
    opt_visita_ = opzioni("opt_visita", "Visita", {"A&mbulatoriale", "&Domiciliare"});
    connect(opt_tipo_, &QButtonGroup::idClicked, this, [this](int id) { form_.opt_tipo = id; });
    connect(opt_visita_, &QButtonGroup::idClicked, this, [this](int id) { form_.opt_visita = id; });
}

void FinestraMeravo::crea_pulsanti() {
    auto pulsante = [this](const char* nome, const QString& testo) {
        auto* p = new QPushButton(testo, this);
        p->setObjectName(QString::fromLatin1(nome));
        p->setAccessibleName(QString(testo).remove(QLatin1Char('&')));
        return p;
    };
    stampa_ = pulsante("Stampa", QStringLiteral("&Stampa/Esci"));
    salva_ = pulsante("salva", QStringLiteral("Sal&va/Esci"));
    archivio_ = pulsante("archivio", QStringLiteral("&Archivio"));
    ristampa_ = pulsante("ristampa", QStringLiteral("Ristam&pa copia"));
    siss_ = pulsante("siss", QStringLiteral("&Utilizza portale Siss"));
    cmd_crypta_ = pulsante("cmd_crypta", QStringLiteral("Crypta"));
    connect(stampa_, &QPushButton::clicked, this,
            [this] { premuto([this] { form_.Stampa_Click(); }); });
    connect(salva_, &QPushButton::clicked, this,
            [this] { premuto([this] { form_.salva_Click(); }); });
    connect(cmd_crypta_, &QPushButton::clicked, this,
            [this] { premuto([this] { form_.cmd_crypta_Click(); }); });
    connect(ristampa_, &QPushButton::clicked, this,
            [this] { premuto([this] { form_.ristampa_Click(); }); });
    connect(siss_, &QPushButton::clicked, this,
            [this] { premuto([this] { form_.siss_Click(); }); });
    connect(archivio_, &QPushButton::clicked, this, [this] {
        premuto([this] {
            if (archivio_Click) {
                archivio_Click();
            } else {
                form_.servizi().messaggi.avvisa(
                    "L'archivio dei certificati non \xE8 disponibile in questa versione.",
                    Icona::esclamazione);
            }
        });
    });
}

void FinestraMeravo::premuto(const std::function<void()>& azione) {
    // Edits still in a box reach the model before the button acts on it.
    const QPointer<QWidget> attivo = focusWidget();
    if (attivo) {
        attivo->clearFocus();
    }
    azione();
    aggiorna();
    // When the form stays (a send refused or failed), the keyboard goes back where it was,
    // unless the action gave the focus to a box of its own (a date that was refused).
    if (attivo && focusWidget() == nullptr && attivo->isEnabled() && attivo->isVisible()) {
        attivo->setFocus(Qt::OtherFocusReason);
    }
}

void FinestraMeravo::ordina_tabulazione() {
    QWidget* precedente = nullptr;
    auto segui = [&](QWidget* w) {
        if (precedente != nullptr) {
            setTabOrder(precedente, w);
        }
        precedente = w;
    };
    for (const auto& c : controlli_form()) {
        const std::string nome(c.nome);
        if (auto t = testi_.find(nome); t != testi_.end()) {
            segui(t->second);
        } else if (auto d = date_.find(nome); d != date_.end()) {
            // The box inside: the focus chain runs through the widgets that take the focus.
            segui(d->second->casella());
        } else if (c.tipo == TipoControllo::nota) {
            segui(note_);
        } else if (c.tipo == TipoControllo::ricerca) {
            segui(trova1_->casella());
        }
        if (c.nome == "dt_fine") {
            for (auto* b : opt_tipo_->buttons()) {
                segui(b);
            }
            for (auto* b : opt_visita_->buttons()) {
                segui(b);
            }
        }
    }
    for (auto* p : {stampa_, salva_, archivio_, ristampa_, siss_}) {
        segui(p);
    }
}

void FinestraMeravo::aggiorna() {
    in_aggiornamento_ = true;
    for (auto& [nome, casella] : testi_) {
        const auto* c = form_.campo(nome);
        const auto testo = q(c->Text);
        if (casella->text() != testo) {
            casella->setText(testo);
        }
        casella->setEnabled(c->Enabled);
        casella->setVisible(c->Visible);
        colori::colora(*casella, c->BackColor, 0x80000008);
    }
    for (auto& [nome, box] : date_) {
        box->aggiorna();
    }
    const auto note = note_per_editor(form_.note_diagnosi.Text);
    if (note_->toPlainText() != note) {
        note_->setPlainText(note);
    }
    note_->setEnabled(form_.note_diagnosi.Enabled);
    colori::colora(*note_, form_.note_diagnosi.BackColor, 0x80000008);
    trova1_->aggiorna();
    for (auto [gruppo, scelta] :
         {std::pair{opt_tipo_, form_.opt_tipo}, std::pair{opt_visita_, form_.opt_visita}}) {
        // No option chosen (a value no button has) shows every option unchecked.
        if (auto* opzione = gruppo->button(scelta)) {
            opzione->setChecked(true);
        } else if (auto* scelto = gruppo->checkedButton()) {
            gruppo->setExclusive(false);
            scelto->setChecked(false);
            gruppo->setExclusive(true);
            una_fermata(*gruppo);
        }
    }
    const std::pair<QPushButton*, const Pulsante*> pulsanti[] = {
        {stampa_, &form_.Stampa},     {salva_, &form_.salva}, {archivio_, &form_.archivio},
        {ristampa_, &form_.ristampa}, {siss_, &form_.siss},   {cmd_crypta_, &form_.cmd_crypta}};
    // Once the certificate has gone out the copy can be printed again, and the keyboard waits
    // there: the preview's window may close without printing, and the form must not be left
    // with nothing to do.
    const bool ristampa_nuova = form_.ristampa.Visible && ristampa_->isHidden();
    for (const auto& [p, stato] : pulsanti) {
        p->setEnabled(stato->Enabled);
        p->setVisible(stato->Visible);
    }
    if (ristampa_nuova && ristampa_->isEnabled()) {
        ristampa_->setFocus(Qt::OtherFocusReason);
    }
    // The run in progress, or once the certificate has gone out, which one it was.
    attivita_->setText(q(form_.occupato() ? form_.attivita() : form_.conferma_invio));
    in_aggiornamento_ = false;
    segui_trova();
}

void FinestraMeravo::segui_trova() {
    if (trova1_ == nullptr || posto_trova1_ == nullptr) {
        return;
    }
    const auto dove = posto_trova1_->geometry();
    trova1_->setGeometry(dove.x(), dove.y(), dove.width(), trova1_->height());
    trova1_->raise();
}

void FinestraMeravo::mostra_stato() {
    aggiorna();
    if (form_.occupato() != cursore_attesa_) {
        cursore_attesa_ = form_.occupato();
        if (cursore_attesa_) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
    // Painted now: the run that follows may block the event loop for as long as curl takes.
    repaint();
}

bool FinestraMeravo::input_durante_lavoro(QObject* oggetto, const QEvent& evento) const {
    if (!form_.occupato() || !input_utente(evento.type()) || !oggetto->isWidgetType()) {
        return false;
    }
    // Only this window's own controls: a message the run shows must still take its answer.
    return static_cast<QWidget*>(oggetto)->window() == this;
}

void FinestraMeravo::closeEvent(QCloseEvent* evento) {
    // Edits still in a box count as changes the doctor would lose.
    if (auto* attivo = focusWidget()) {
        attivo->clearFocus();
    }
    if (!form_.chiusura_richiesta()) {
        evento->ignore();
        return;
    }
    QWidget::closeEvent(evento);
}

bool FinestraMeravo::eventFilter(QObject* oggetto, QEvent* evento) {
    if (input_durante_lavoro(oggetto, *evento)) {
        return true;
    }
    if (oggetto == posto_trova1_ &&
        (evento->type() == QEvent::Move || evento->type() == QEvent::Resize)) {
        segui_trova();
    }
    return QWidget::eventFilter(oggetto, evento);
}

} // namespace meravo
