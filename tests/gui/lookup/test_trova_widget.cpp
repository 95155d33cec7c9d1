#include "casella_testo.h"
#include "doppi/doppi.h"
#include "lookup/trova_widget.h"
#include "misure.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QtTest>
#include <array>
#include <deque>

namespace meravo {
namespace {

// Descriptions in column 2, in ascending order as prefix searches want them; codes in 1,
// dates in 3 for the multi-column list.
class TabellaProva final : public TabellaConsultabile {
public:
    std::optional<std::vector<std::string>> dati(int colonna, std::string_view) const override {
        if (colonna < 1 || colonna > 3) {
            return std::nullopt;
        }
        std::vector<std::string> lista{std::string{}};
        for (const auto& riga : righe) {
            lista.push_back(riga[static_cast<std::size_t>(colonna - 1)]);
        }
        return lista;
    }
    std::optional<std::string> dati_diretto(int colonna, int riga) const override {
        return righe.at(static_cast<std::size_t>(riga - 1))
            .at(static_cast<std::size_t>(colonna - 1));
    }

    std::vector<std::array<std::string, 3>> righe = {
        {"493", "ASMA", "01/01/2024"},
        {"466.0", "BRONCHITE ACUTA", "03/02/2023"},
        {"491.9", "BRONCHITE CRONICA", "02/01/2024"},
        {"784.0", "CEFALEA", ""},
        {"487.1", "INFLUENZA", ""},
    };
};

constexpr double altezza_lista_twip = 1500;

// A look-up on a form, bound to the fake table; everything it raises is written down.
struct Modulo {
    Modulo() : modello(pompa, segnale, messaggi), trova1(new TrovaWidget(modello, &finestra)) {
        finestra.resize(420, 300);
        trova1->setObjectName(QStringLiteral("trova1"));
        trova1->setGeometry(10, 10, 400, 200);
        dopo = new QLineEdit(&finestra);
        dopo->setGeometry(10, 60, 200, 24);
        auto& e = trova1->modello().eventi();
        e.selezione_confermata = [this] {
            eventi.push_back("conferma:" + trova1->modello().Text());
        };
        e.candidato_cambiato = [this] { eventi.push_back("candidato"); };
        e.uscita = [this] { eventi.push_back("uscita"); };
        trova1->modello().inizializza(tabella, 2, {}, altezza_lista_twip);
        trova1->modello().InputMinMaiuscIndifferente(true);
        trova1->aggiorna();
    }

    bool entra() {
        finestra.show();
        finestra.activateWindow();
        if (!QTest::qWaitForWindowActive(&finestra)) {
            return false;
        }
        trova1->setFocus(Qt::TabFocusReason);
        return trova1->casella()->hasFocus();
    }

    std::vector<std::string> leggi_eventi() { return std::exchange(eventi, {}); }
    QStringList voci_lista() const {
        QStringList voci;
        for (int i = 0; i < trova1->lista()->count(); ++i) {
            voci.append(trova1->lista()->item(i)->text());
        }
        return voci;
    }

    TabellaProva tabella;
    prova::PompaEventiContata pompa; // delivers the user's next keys while a search runs
    prova::SegnaleContato segnale;
    prova::MessaggiRegistrati messaggi;
    trova modello;
    QWidget finestra;
    TrovaWidget* trova1;
    QLineEdit* dopo = nullptr;
    std::vector<std::string> eventi;
};

using Eventi = std::vector<std::string>;

// A double click as the platform delivers it: press, release, double click, release.
void doppio_clic(QWidget* w, QPoint punto) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, punto);
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, punto);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, punto);
}

} // namespace

class ProvaTrovaWidget : public QObject {
    Q_OBJECT

private slots:
    void descrizione_digitata_e_invio_confermano_il_testo_del_modello() {
        Modulo m;
        QVERIFY(m.entra());
        auto* box = m.trova1->casella();
        QTest::keyClicks(box, QStringLiteral("infx"));
        QCOMPARE(m.segnale.beep_emessi, 1); // nothing begins with INFX
        QCOMPARE(box->text(), QStringLiteral("INFLUENZA"));
        QCOMPARE(box->selectedText(), QStringLiteral("LUENZA"));
        QCOMPARE(m.trova1->modello().testo(), std::string("INFLUENZA")); // the box never edits
        m.leggi_eventi();
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(m.leggi_eventi(), (Eventi{"conferma:INFLUENZA", "candidato"}));
        QCOMPARE(box->text(), QStringLiteral("INFLUENZA"));
        QVERIFY(!m.trova1->lista()->isVisible());
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(m.leggi_eventi(), (Eventi{"uscita", "candidato"}));
    }

    void invio_con_piu_candidati_apre_la_lista_e_la_lista_conferma() {
        Modulo m;
        QVERIFY(m.entra());
        const int riga = m.trova1->altezza_riga();
        QCOMPARE(m.trova1->height(), riga);
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("br"));
        QTest::keyClick(m.trova1->casella(), Qt::Key_Return);

        auto* lista = m.trova1->lista();
        QVERIFY(lista->isVisible());
        QCOMPARE(m.voci_lista(), (QStringList{"BRONCHITE ACUTA", "BRONCHITE CRONICA"}));
        QCOMPARE(lista->currentRow(), 0);
        QCOMPARE(QApplication::focusWidget(), lista);
        QVERIFY(!m.trova1->casella()->isEnabled());
        QCOMPARE(m.trova1->height(), misure::pixel_verticali(altezza_lista_twip, *m.trova1));
        QCOMPARE(lista->geometry().bottom(), m.trova1->height() - 1);

        QTest::keyClick(lista, Qt::Key_Down);
        QCOMPARE(lista->currentRow(), 1);
        m.leggi_eventi();
        QTest::keyClick(lista, Qt::Key_Return);
        QCOMPARE(m.leggi_eventi(), (Eventi{"candidato", "conferma:BRONCHITE CRONICA"}));
        QVERIFY(!lista->isVisible());
        QCOMPARE(m.trova1->height(), riga);
        QVERIFY(m.trova1->casella()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), m.trova1->casella());
        QCOMPARE(m.trova1->casella()->text(), QStringLiteral("BRONCHITE CRONICA"));

        // A double click on an item confirms it as well.
        QTest::keyClick(m.trova1->casella(), Qt::Key_Home);
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("br"));
        QTest::keyClick(m.trova1->casella(), Qt::Key_Return);
        m.leggi_eventi();
        const auto punto = lista->visualItemRect(lista->item(0)).center();
        doppio_clic(lista->viewport(), punto);
        QCOMPARE(m.leggi_eventi(), (Eventi{"candidato", "conferma:BRONCHITE ACUTA"}));
        QVERIFY(!lista->isVisible());
    }

    // Space fixes the typed prefix as first term: the indicator, then the labels that have a
    // caption, then the box, each after the other, the box to the control's right edge.
    void etichette_disposte_da_sinistra_a_destra() {
        Modulo m;
        QVERIFY(m.entra());
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("bronchite c"));
        auto* t = m.trova1;
        QCOMPARE(t->descrittore_ricerche()->text(), QStringLiteral("<>"));
        QCOMPARE(t->fisso()->text(), QStringLiteral("BRONCHITE"));
        QCOMPARE(t->libero()->text(), QStringLiteral(" A"));
        QVERIFY(t->primo_libero()->isHidden());
        QVERIFY(!t->fisso()->isHidden() && !t->libero()->isHidden());
        QCOMPARE(t->casella()->text(), QStringLiteral("CUTA"));
        QCOMPARE(t->casella()->selectedText(), QStringLiteral("UTA"));

        QCOMPARE(t->descrittore_ricerche()->x(), 0);
        QCOMPARE(t->fisso()->x(), t->descrittore_ricerche()->geometry().right() + 1);
        QCOMPARE(t->libero()->x(), t->fisso()->geometry().right() + 1);
        QCOMPARE(t->casella()->x(), t->libero()->geometry().right() + 1);
        QCOMPARE(t->casella()->geometry().right(), t->width() - 1);

        QCOMPARE(t->fisso()->palette().color(QPalette::Window), QColor(0, 255, 0));
        QCOMPARE(t->libero()->palette().color(QPalette::Window), QColor(255, 255, 0));

        // Left takes the second term back, then leaves the two-term mode.
        QTest::keyClick(t->casella(), Qt::Key_Left);
        QTest::keyClick(t->casella(), Qt::Key_Left);
        QCOMPARE(t->descrittore_ricerche()->text(), QStringLiteral("<"));
        QVERIFY(t->fisso()->isHidden());
        QCOMPARE(t->casella()->x(), t->descrittore_ricerche()->geometry().right() + 1);
    }

    // Keys typed while a search lets window events run reach the widget inside that search:
    // the model queues them and applies them in order, as if typed slowly, and the box shows
    // the end result.
    void tasti_durante_una_ricerca_arrivano_in_ordine() {
        Modulo m;
        QVERIFY(m.entra());
        auto* box = m.trova1->casella();
        std::deque<Qt::Key> in_arrivo = {Qt::Key_R, Qt::Key_Down, Qt::Key_O};
        std::vector<bool> occupato_all_arrivo;
        m.pompa.azione = [&] {
            if (in_arrivo.empty()) {
                return;
            }
            const auto tasto = in_arrivo.front();
            in_arrivo.pop_front();
            occupato_all_arrivo.push_back(m.trova1->modello().in_elaborazione());
            QTest::keyClick(box, tasto);
        };
        QTest::keyClick(box, 'b');

        QCOMPARE(occupato_all_arrivo, (std::vector<bool>{true, true, true}));
        // Down after "BR" shows the second bronchitis; "O" then searches again from the first.
        QCOMPARE(box->text(), QStringLiteral("BRONCHITE ACUTA"));
        QCOMPARE(box->selectedText(), QStringLiteral("NCHITE ACUTA"));
        QCOMPARE(m.trova1->modello().quanti(), 2);
    }

    void lista_a_piu_colonne() {
        Modulo m;
        m.trova1->modello().lista_treeview(true);
        m.trova1->modello().setta_treeview({1, 3}, {"Codice", "Data"});
        QVERIFY(m.entra());
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("br"));
        QTest::keyClick(m.trova1->casella(), Qt::Key_Return);

        auto* vista = m.trova1->vista();
        QVERIFY(vista->isVisible());
        QVERIFY(!m.trova1->lista()->isVisible());
        QCOMPARE(vista->columnCount(), 4);
        QCOMPARE(vista->headerItem()->text(2), QStringLiteral("puntatore"));
        QVERIFY(!vista->isColumnHidden(1));
        QVERIFY(vista->isColumnHidden(2) && vista->isColumnHidden(3));
        QCOMPARE(vista->topLevelItemCount(), 2);
        QCOMPARE(vista->topLevelItem(0)->text(0), QStringLiteral("466.0"));
        QCOMPARE(vista->topLevelItem(0)->text(3), QStringLiteral("20230203"));

        // The date column sorts through its sortable copy: the later date comes first.
        auto* titoli = vista->header();
        QTest::mouseClick(titoli->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(titoli->sectionViewportPosition(1) + 5, titoli->height() / 2));
        QCOMPARE(vista->topLevelItem(0)->text(0), QStringLiteral("491.9"));
        QCOMPARE(titoli->sortIndicatorOrder(), Qt::DescendingOrder);

        QCOMPARE(QApplication::focusWidget(), vista);
        QTest::keyClick(vista, Qt::Key_Down);
        m.leggi_eventi();
        QTest::keyClick(vista, Qt::Key_Return);
        QCOMPARE(m.leggi_eventi(), (Eventi{"conferma:BRONCHITE ACUTA"}));
        QVERIFY(!vista->isVisible());
        QCOMPARE(m.trova1->height(), m.trova1->altezza_riga());
        QCOMPARE(QApplication::focusWidget(), m.trova1->casella());
    }
};

} // namespace meravo

QTEST_MAIN(meravo::ProvaTrovaWidget)
#include "test_trova_widget.moc"
