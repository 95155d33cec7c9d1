#include "archive/elimina_widget.h"

#include "abilita.h"
#include "archive/elimina.h"
#include "form/finestra_meravo.h"
#include "misure.h"
#include "report/stampa_copie.h"
#include "tasti_qt.h"
#include "testo_qt.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace meravo {

EliminaWidget::EliminaWidget(Elimina& modello, FinestraMeravo& finestra)
    : QFrame(&finestra), modello_(modello), finestra_(finestra) {
    setObjectName(QStringLiteral("Elimina1"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true); // it covers the form's fields below it
    setFont(QFont(testo::a_qstring(Elimina::carattere)));
    crea_controlli();
    modello_.chiusura = [this] {
        aggiorna();
        aggiorna_form();
    };
    // Disabled on screen before the cancellation starts: it lets window events through while
    // it waits, and a queued click must find the buttons as the model has them.
    modello_.stato_cambiato = [this] {
        aggiorna();
        repaint();
    };
    hide();
}

EliminaWidget::~EliminaWidget() {
    // The model outlives the window that showed it.
    modello_.chiusura = nullptr;
    modello_.stato_cambiato = nullptr;
}

void EliminaWidget::crea_controlli() {
    auto* colonna = new QVBoxLayout(this);
    auto* etichetta = new QLabel(testo::a_qstring(Elimina::etichetta), this);
    etichetta->setObjectName(QStringLiteral("etichetta"));
    etichetta->setWordWrap(true);
    colonna->addWidget(etichetta);
    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("list1"));
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    list1_->installEventFilter(this);
    colonna->addWidget(list1_);
    auto* riga = new QHBoxLayout;
    auto pulsante = [this, riga](const char* nome, const char* testo) {
        auto* p = new QPushButton(QString::fromLatin1(testo), this);
        p->setObjectName(QString::fromLatin1(nome));
        riga->addWidget(p);
        return p;
    };
    visualizza_ = pulsante("visualizza", "Visualizza");
    elimina_ = pulsante("elimina", "Elimina");
    chiudi_ = pulsante("chiudi", "Chiudi");
    colonna->addLayout(riga);

    // Only a selection counts: the list gives itself a current row when it takes the focus,
    // and that must not choose a certificate for the doctor.
    connect(list1_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!in_aggiornamento_) {
            const auto scelte = list1_->selectedItems();
            modello_.list1_Click(scelte.isEmpty() ? -1 : list1_->row(scelte.front()));
        }
    });
    connect(visualizza_, &QPushButton::clicked, this, [this] { modello_.visualizza_Click(); });
    connect(elimina_, &QPushButton::clicked, this, [this] {
        modello_.elimina_Click();
        aggiorna();
    });
    connect(chiudi_, &QPushButton::clicked, this, [this] { modello_.chiudi_Click(); });
}

bool EliminaWidget::eventFilter(QObject* oggetto, QEvent* evento) {
    // The list's own keys move only its current row, which with nothing chosen yet, or a single
    // entry, chooses nothing: the model chooses.
    if (oggetto == list1_ && evento->type() == QEvent::KeyPress) {
        const auto& tasto = static_cast<const QKeyEvent&>(*evento);
        const auto codice = static_cast<Tasto>(tasti::codice_windows(tasto));
        if ((tasto.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            (codice == Tasto::giu || codice == Tasto::su || codice == Tasto::inizio ||
             codice == Tasto::fine)) {
            modello_.list1_KeyDown(codice);
            aggiorna();
            return true;
        }
    }
    return QFrame::eventFilter(oggetto, evento);
}

void EliminaWidget::apri() {
    modello_.archivio_Click();
    if (!modello_.Visible()) {
        return; // the form was busy, or a date box has just refused its text
    }
    setGeometry(misure::pixel_orizzontali(Elimina::Left, *this),
                misure::pixel_verticali(Elimina::Top, *this),
                misure::pixel_orizzontali(Elimina::Width, *this),
                misure::pixel_verticali(Elimina::Height, *this));
    aggiorna_form();
    aggiorna();
    list1_->setFocus();
}

void EliminaWidget::aggiorna() {
    in_aggiornamento_ = true;
    QStringList voci;
    for (const auto& voce : modello_.list1()) {
        voci << testo::a_qstring(voce);
    }
    QStringList mostrate;
    for (int i = 0; i < list1_->count(); ++i) {
        mostrate << list1_->item(i)->text();
    }
    if (voci != mostrate) {
        list1_->clear();
        list1_->addItems(voci);
    }
    if (modello_.ListIndex() >= 0) {
        list1_->setCurrentRow(modello_.ListIndex());
    } else {
        list1_->clearSelection();
    }
    abilita_tenendo_fuoco(*visualizza_, modello_.visualizza.Enabled, fuoco_sospeso_);
    abilita_tenendo_fuoco(*elimina_, modello_.elimina.Enabled, fuoco_sospeso_);
    abilita_tenendo_fuoco(*chiudi_, modello_.chiudi.Enabled, fuoco_sospeso_);
    setVisible(modello_.Visible());
    if (modello_.Visible()) {
        raise();
    }
    in_aggiornamento_ = false;
}

void EliminaWidget::aggiorna_form() {
    finestra_.aggiorna();
    // The form model keeps no enabled state for its option buttons: the browser does.
    for (const char* nome : {"opt_tipo", "opt_visita"}) {
        if (auto* gruppo = finestra_.findChild<QButtonGroup*>(QString::fromLatin1(nome))) {
            for (auto* opzione : gruppo->buttons()) {
                opzione->setEnabled(modello_.opzioni_abilitate());
            }
        }
    }
}

void collega_archivio(FinestraMeravo& finestra, Elimina& modello) {
    auto* browser = new EliminaWidget(modello, finestra);
    finestra.archivio_Click = [browser] { browser->apri(); };
    modello.mostra_storico = [&finestra](const DatiReport& campi) {
        mostra_storico(campi, &finestra);
    };
}

} // namespace meravo
