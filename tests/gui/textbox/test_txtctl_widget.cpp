#include "casella_testo.h"
#include "doppi/doppi.h"
#include "textbox/txtctl_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>
#include <tuple>

namespace meravo {
namespace {

// A window with one typed box (with a model of its own, so with the locale's decimal
// separator) and a plain box after it to tab to; what the box raises is written down.
struct Finestra {
    explicit Finestra(int tipo) : box(new TxtctlWidget(messaggi, &finestra)) {
        auto* disposizione = new QVBoxLayout(&finestra);
        disposizione->addWidget(box);
        disposizione->addWidget(new QLineEdit(&finestra));
        box->modello().Tipodati(tipo);
        box->modello().Click = [this] { ++clic; };
        box->modello().DblClick = [this] { ++doppi_clic; };
        box->aggiorna();
    }

    bool entra() {
        finestra.show();
        finestra.activateWindow();
        if (!QTest::qWaitForWindowActive(&finestra)) {
            return false;
        }
        box->setFocus(Qt::TabFocusReason);
        return box->casella()->hasFocus();
    }

    QString messaggio(std::size_t i) const {
        return i < messaggi.mostrati.size() ? QString::fromLatin1(messaggi.mostrati[i].testo)
                                            : QString();
    }

    prova::MessaggiRegistrati messaggi;
    QWidget finestra;
    TxtctlWidget* box;
    int clic = 0;
    int doppi_clic = 0;
};

} // namespace

class ProvaTxtctlWidget : public QObject {
    Q_OBJECT

private slots:
    // What the model makes of each key shows in the box, and what it refuses reaches the doctor.
    // The date check runs when Tab leaves the box; the box then takes the focus back, and coming
    // back selects the whole text again.
    void i_tasti_passano_dal_modello_e_tab_esce_dalla_casella() {
        Finestra f(1);
        QVERIFY(f.entra());
        auto* casella = f.box->casella();
        QTest::keyClicks(casella, QStringLiteral("0102a201"));
        QCOMPARE(casella->text(), QStringLiteral("0102201"));
        QCOMPARE(f.messaggio(0), QStringLiteral("Il campo data accetta solo numeri"));
        QTest::keyClick(casella, Qt::Key_Tab);
        QCOMPARE(f.messaggio(1), QStringLiteral("Verificare che la data sia stata digitata nel "
                                                "formato ggmmaaaa senza nessun separatore"));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), casella);
        QCOMPARE(casella->selectedText(), QStringLiteral("0102201"));
        QCOMPARE(f.box->modello().SelLength(), 7);
        QTest::keyClick(casella, Qt::Key_End);
        QTest::keyClicks(casella, QStringLiteral("0"));
        QCOMPARE(casella->text(), QStringLiteral("01/02/2010"));
        QCOMPARE(casella->cursorPosition(), 10);
        QCOMPARE(f.messaggi.mostrati.size(), std::size_t{2});
    }

    // Another window coming to the front (a message box, another program) does not leave the
    // box: no date check runs, and coming back is not entering it again.
    void cambiare_finestra_non_esce_dalla_casella() {
        Finestra f(1);
        QVERIFY(f.entra());
        QTest::keyClicks(f.box->casella(), QStringLiteral("0102"));
        QWidget altra;
        altra.show();
        altra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&altra));
        f.finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.finestra));
        QVERIFY(f.messaggi.mostrati.empty());
        QVERIFY(f.box->modello().ha_fuoco());
        QCOMPARE(f.box->modello().cursore(), 4); // not selected again as on entering
    }

    void il_separatore_decimale_viene_dal_locale() {
        const QLocale prima;
        for (const auto& [locale, testo, messaggio] :
             {std::tuple{QLocale::Italian, "1,52", "Il separatore decimale \xE8 ,"},
              std::tuple{QLocale::English, "15.2", "Il separatore decimale \xE8 ."}}) {
            QLocale::setDefault(QLocale(locale));
            Finestra f(2);
            QVERIFY(f.entra());
            QTest::keyClicks(f.box->casella(), QStringLiteral("1,5.2"));
            QCOMPARE(f.box->casella()->text(), QString::fromLatin1(testo));
            QCOMPARE(f.messaggio(0), QString::fromLatin1(messaggio));
        }
        QLocale::setDefault(prima);
    }

    // What the container sets on the model shows once it asks for a repaint; copy and paste
    // go through the model's Ctrl keys and the clipboard.
    void il_widget_rispecchia_il_modello() {
        Finestra f(0);
        auto& m = f.box->modello();
        m.Text("abc");
        m.BackColor(0x00C0C0FF);
        f.box->aggiorna();
        QCOMPARE(f.box->casella()->text(), QStringLiteral("abc"));
        QCOMPARE(f.box->casella()->palette().color(QPalette::Base), QColor(255, 192, 192));

        QVERIFY(f.entra());
        QCOMPARE(f.box->casella()->selectedText(), QStringLiteral("abc"));
        QTest::keyClick(f.box->casella(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abc"));
        QTest::keyClick(f.box->casella(), Qt::Key_Left);
        QTest::keyClick(f.box->casella(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.box->casella()->text(), QStringLiteral("abcabc"));
        QCOMPARE(f.box->casella()->cursorPosition(), 3);

        m.Locked(true);
        m.Enabled(false);
        f.box->aggiorna();
        QVERIFY(f.box->casella()->isReadOnly());
        QVERIFY(!f.box->casella()->isEnabled());
    }

    // A selection made with the mouse is the model's selection; a click and a double click reach
    // the container.
    void il_mouse_seleziona_nel_modello() {
        Finestra f(0);
        f.box->modello().Text("uno due");
        f.box->aggiorna();
        QVERIFY(f.entra());
        auto* c = f.box->casella();
        c->setCursorPosition(5);
        const auto punto = c->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        // As the platform delivers a double click: press, release, double click, release.
        QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, punto);
        QCOMPARE(f.clic, 1);
        QCOMPARE(f.box->modello().SelLength(), 0);
        QCOMPARE(f.box->modello().cursore(), 5);
        QTest::mouseDClick(c, Qt::LeftButton, Qt::NoModifier, punto);
        QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, punto);
        QCOMPARE(f.box->modello().SelText(), std::string("due"));
        QCOMPARE(f.doppi_clic, 1);
        QCOMPARE(f.clic, 2);
        QTest::keyClicks(c, QStringLiteral("tre"));
        QCOMPARE(f.box->modello().Text(), std::string("uno tre"));

        Finestra d(1); // a click into a written date takes it whole: typing replaces it
        d.box->modello().Text("07/12/2026");
        QVERIFY(d.entra());
        QTest::mouseClick(d.box->casella(), Qt::LeftButton, Qt::NoModifier, punto);
        QTest::keyClicks(d.box->casella(), QStringLiteral("06122026"));
        QCOMPARE(d.box->casella()->text(), QStringLiteral("06/12/2026"));
    }
};

} // namespace meravo

QTEST_MAIN(meravo::ProvaTxtctlWidget)
#include "test_txtctl_widget.moc"
