#include "casella_testo.h"
#include "core/lookup/banco_trova.h"
#include "lookup/trova_widget.h"
#include "misure.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QtTest>

namespace meravo {
namespace {

constexpr double altezza_lista_twip = 1500;
using Eventi = std::vector<std::string>;

// The look-up over the diagnoses (with codes and dates for the multi-column list) on a form,
// with a box after it to tab to.
struct Modulo : prova::BancoTrova {
    Modulo() : trova1(new TrovaWidget(t, &finestra)) {
        tabella.colonne[1] = {"493", "466.0", "491.9", "784.0", "", "", "487.1", "", ""};
        tabella.colonne[3] = {"01/01/2024", "03/02/2023", "02/01/2024", "", "", "", "", "", ""};
        finestra.resize(420, 300);
        trova1->setGeometry(10, 10, 400, 200);
        dopo->setGeometry(10, 60, 200, 24);
        t.inizializza(tabella, 2, {}, altezza_lista_twip);
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

    QWidget finestra;
    TrovaWidget* trova1;
    QLineEdit* dopo = new QLineEdit(&finestra);
};

} // namespace

class ProvaTrovaWidget : public QObject {
    Q_OBJECT

private slots:
    // The box's keys reach the model and the box shows its text and selection; Enter with two
    // candidates opens the list, which takes the focus and the keys, and closes on its choice.
    void i_tasti_della_casella_e_della_lista() {
        Modulo m;
        QVERIFY(m.entra());
        const int riga = m.trova1->altezza_riga();
        QCOMPARE(m.trova1->height(), riga);
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("brx"));
        QCOMPARE(m.segnale.beep_emessi, 1); // nothing begins with BRX
        QCOMPARE(m.trova1->casella()->text(), QStringLiteral("BRONCHITE ACUTA"));
        QCOMPARE(m.trova1->casella()->selectedText(), QStringLiteral("ONCHITE ACUTA"));
        QTest::keyClick(m.trova1->casella(), Qt::Key_Return);

        auto* lista = m.trova1->lista();
        QVERIFY(lista->isVisible());
        QCOMPARE(lista->count(), 2);
        QCOMPARE(lista->item(1)->text(), QStringLiteral("BRONCHITE CRONICA"));
        QCOMPARE(lista->currentRow(), 0);
        QCOMPARE(QApplication::focusWidget(), lista);
        QVERIFY(!m.trova1->casella()->isEnabled());
        QCOMPARE(m.trova1->height(), misure::pixel_verticali(altezza_lista_twip, *m.trova1));
        QCOMPARE(lista->geometry().bottom(), m.trova1->height() - 1);

        QTest::keyClick(lista, Qt::Key_Down);
        m.leggi_eventi();
        QTest::keyClick(lista, Qt::Key_Return);
        QCOMPARE(m.leggi_eventi(), (Eventi{"candidato", "conferma"}));
        QVERIFY(!lista->isVisible());
        QCOMPARE(m.trova1->height(), riga);
        QVERIFY(m.trova1->casella()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), m.trova1->casella());
        QCOMPARE(m.trova1->casella()->text(), QStringLiteral("BRONCHITE CRONICA"));
        QTest::keyClick(m.trova1->casella(), Qt::Key_Escape);
        QCOMPARE(m.leggi_eventi(), (Eventi{"uscita", "candidato"}));

        // A double click on an item, as the platform delivers it, confirms it as well.
        QTest::keyClick(m.trova1->casella(), Qt::Key_Home);
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("br"));
        QTest::keyClick(m.trova1->casella(), Qt::Key_Return);
        m.leggi_eventi();
        const auto punto = lista->visualItemRect(lista->item(0)).center();
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, Qt::NoModifier, punto);
        QTest::mouseDClick(lista->viewport(), Qt::LeftButton, Qt::NoModifier, punto);
        QTest::mouseRelease(lista->viewport(), Qt::LeftButton, Qt::NoModifier, punto);
        QCOMPARE(m.leggi_eventi(), (Eventi{"candidato", "conferma"}));
        QCOMPARE(m.t.Text(), std::string("BRONCHITE ACUTA"));
        QVERIFY(!lista->isVisible());

        // An open list closes when the focus goes to another box of the window (an Alt key, a
        // click), instead of covering the boxes below it.
        QTest::keyClick(m.trova1->casella(), Qt::Key_Home);
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("br"));
        QTest::keyClick(m.trova1->casella(), Qt::Key_Return);
        QVERIFY(lista->isVisible());
        m.dopo->setFocus(Qt::ShortcutFocusReason);
        QVERIFY(!lista->isVisible());
        QCOMPARE(m.trova1->height(), riga);
    }

    // The indicator, then the labels that have a caption, then the box, each after the other,
    // the box to the control's right edge.
    void etichette_disposte_da_sinistra_a_destra() {
        Modulo m;
        QVERIFY(m.entra());
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("bronchite c"));
        auto* t = m.trova1;
        QCOMPARE(t->descrittore_ricerche()->text(), QStringLiteral("<>"));
        QCOMPARE(t->fisso()->text(), QStringLiteral("BRONCHITE"));
        QCOMPARE(t->libero()->text(), QStringLiteral(" A"));
        QVERIFY(t->primo_libero()->isHidden());
        QCOMPARE(t->casella()->text(), QStringLiteral("CUTA"));
        QCOMPARE(t->casella()->selectedText(), QStringLiteral("UTA"));

        QCOMPARE(t->descrittore_ricerche()->x(), 0);
        QCOMPARE(t->fisso()->x(), t->descrittore_ricerche()->geometry().right() + 1);
        QCOMPARE(t->libero()->x(), t->fisso()->geometry().right() + 1);
        QCOMPARE(t->casella()->x(), t->libero()->geometry().right() + 1);
        QCOMPARE(t->casella()->geometry().right(), t->width() - 1);
        QCOMPARE(t->fisso()->palette().color(QPalette::Window), QColor(0, 255, 0));
        QCOMPARE(t->libero()->palette().color(QPalette::Window), QColor(255, 255, 0));

        // Leaving the two-term mode hides the first term and moves the box back.
        QTest::keyClick(t->casella(), Qt::Key_Left);
        QTest::keyClick(t->casella(), Qt::Key_Left);
        QVERIFY(t->fisso()->isHidden());
        QCOMPARE(t->casella()->x(), t->descrittore_ricerche()->geometry().right() + 1);
    }

    // Keys typed while a search lets window events run reach the widget inside that search; the
    // box shows the end result once the model has applied them in order.
    void tasti_durante_una_ricerca_arrivano_in_ordine() {
        Modulo m;
        QVERIFY(m.entra());
        auto* box = m.trova1->casella();
        for (const auto tasto : {Qt::Key_R, Qt::Key_Down, Qt::Key_O}) {
            m.in_arrivo.push_back([box, tasto] { QTest::keyClick(box, tasto); });
        }
        QTest::keyClick(box, 'b');
        QCOMPARE(m.occupato_all_arrivo, (std::vector<bool>{true, true, true}));
        // Down after "BR" shows the second bronchitis; "O" then searches again from the first.
        QCOMPARE(box->text(), QStringLiteral("BRONCHITE ACUTA"));
        QCOMPARE(box->selectedText(), QStringLiteral("NCHITE ACUTA"));
    }

    void lista_a_piu_colonne() {
        Modulo m;
        m.t.lista_treeview(true);
        m.t.setta_treeview({1, 3}, {"Codice", "Data"});
        QVERIFY(m.entra());
        QTest::keyClicks(m.trova1->casella(), QStringLiteral("br"));
        QTest::keyClick(m.trova1->casella(), Qt::Key_Return);

        auto* vista = m.trova1->vista();
        QVERIFY(vista->isVisible());
        QVERIFY(!m.trova1->lista()->isVisible());
        QCOMPARE(vista->columnCount(), 4);
        QVERIFY(!vista->isColumnHidden(1));
        QVERIFY(vista->isColumnHidden(2) && vista->isColumnHidden(3));
        QCOMPARE(vista->topLevelItem(0)->text(0), QStringLiteral("466.0"));

        // A click on the date column's title sorts through the model: the later date first.
        auto* titoli = vista->header();
        QTest::mouseClick(titoli->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(titoli->sectionViewportPosition(1) + 5, titoli->height() / 2));
        QCOMPARE(vista->topLevelItem(0)->text(0), QStringLiteral("491.9"));
        QCOMPARE(titoli->sortIndicatorOrder(), Qt::DescendingOrder);

        QCOMPARE(QApplication::focusWidget(), vista);
        QTest::keyClick(vista, Qt::Key_Down);
        m.leggi_eventi();
        QTest::keyClick(vista, Qt::Key_Return);
        QCOMPARE(m.leggi_eventi(), Eventi{"conferma"});
        QCOMPARE(m.t.Text(), std::string("BRONCHITE ACUTA"));
        QVERIFY(!vista->isVisible());
        QCOMPARE(m.trova1->height(), m.trova1->altezza_riga());
        QCOMPARE(QApplication::focusWidget(), m.trova1->casella());
    }
};

} // namespace meravo

QTEST_MAIN(meravo::ProvaTrovaWidget)
#include "test_trova_widget.moc"
