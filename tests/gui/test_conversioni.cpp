#include "colori.h"
#include "misure.h"
#include "services/traduzioni_qt.h"
#include "tasti_qt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QtTest>

namespace meravo {

// The conversions at the edge of the widgets that the widget tests do not go through.
class ProvaConversioni : public QObject {
    Q_OBJECT

private slots:
    // The models act on Windows virtual-key codes, the keypad's own included.
    void tasti_qt_diventano_codici_windows() {
        const struct {
            int tasto;
            Qt::KeyboardModifiers mod;
            int codice;
        } casi[] = {{Qt::Key_Enter, Qt::KeypadModifier, 13},
                    {Qt::Key_Shift, {}, 16},
                    {Qt::Key_End, {}, 35},
                    {Qt::Key_Up, {}, 38},
                    {Qt::Key_Right, {}, 39},
                    {Qt::Key_Delete, {}, 46},
                    {Qt::Key_7, Qt::KeypadModifier, 103},
                    {Qt::Key_F4, {}, 115},
                    {Qt::Key_Comma, {}, 188},
                    {Qt::Key_Period, Qt::KeypadModifier, 110},
                    {Qt::Key_Egrave, {}, 0}};
        for (const auto& c : casi) {
            QCOMPARE(tasti::codice_windows(c.tasto, c.mod), c.codice);
        }
        QCOMPARE(tasti::modificatori_windows(Qt::ShiftModifier | Qt::AltModifier), 5);
    }

    // Key-press characters as Windows types them: nothing for Alt combinations and Delete,
    // line feed for Ctrl+Return, Windows-1252 bytes for the rest.
    void caratteri_come_li_digita_windows() {
        const struct {
            int tasto;
            Qt::KeyboardModifiers mod;
            QString testo;
            std::string atteso;
        } casi[] = {
            {Qt::Key_A, Qt::AltModifier, QStringLiteral("a"), ""},
            {Qt::Key_1, Qt::ControlModifier, QStringLiteral("1"), ""},
            {Qt::Key_Return, {}, QStringLiteral("\r"), "\r"},
            {Qt::Key_Return, Qt::ControlModifier, {}, "\n"},
            {Qt::Key_Escape, {}, {}, "\x1b"},
            {Qt::Key_Delete, {}, QStringLiteral("\x7f"), ""},
            {Qt::Key_Egrave, {}, QStringLiteral("\u00e8"), "\xE8"},
            {Qt::Key_E, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("\u20ac"), "\x80"}};
        for (const auto& c : casi) {
            const QKeyEvent evento(QEvent::KeyPress, c.tasto, c.mod, c.testo);
            QCOMPARE(tasti::caratteri_windows(evento), c.atteso);
        }
    }

    // The system colours name a role of the palette; twips follow the screen's resolution.
    void colori_di_sistema_e_twip() {
        const auto tavolozza = QApplication::palette();
        QCOMPARE(colori::a_qcolor(0x80000005), tavolozza.color(QPalette::Base));
        QCOMPARE(colori::a_qcolor(0x80000008), tavolozza.color(QPalette::Text));
        QCOMPARE(colori::a_qcolor(0x80000012), tavolozza.color(QPalette::ButtonText));
        QCOMPARE(colori::a_qcolor(0x8000000F), tavolozza.color(QPalette::Button));
        QCOMPARE(misure::pixel_da_twip(2300, 96), 153);
        QCOMPARE(misure::pixel_da_twip(1440, 120), 120);
        QCOMPARE(misure::pixel_da_twip(10, 96), 1); // rounded, not cut
    }

    // Qt's own buttons speak Italian, from Qt's translations when none lies beside the program.
    void i_dialoghi_di_qt_parlano_italiano() {
        QVERIFY(carica_traduzioni_qt(*QCoreApplication::instance(), QStringLiteral("/nessuna")));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Annulla"));
    }
};

} // namespace meravo

QTEST_MAIN(meravo::ProvaConversioni)
#include "test_conversioni.moc"
