#include "colori.h"
#include "misure.h"
#include "tasti_qt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QtTest>

namespace meravo {

class ProvaConversioni : public QObject {
    Q_OBJECT

private slots:
    // The models act on Windows virtual-key codes; the ones they name must come out right,
    // keypad included.
    void tasti_qt_diventano_codici_windows() {
        const struct {
            int tasto;
            Qt::KeyboardModifiers mod;
            int codice;
        } casi[] = {
            {Qt::Key_Return, {}, 13}, {Qt::Key_Enter, Qt::KeypadModifier, 13},
            {Qt::Key_Shift, {}, 16},  {Qt::Key_Escape, {}, 27},
            {Qt::Key_Space, {}, 32},  {Qt::Key_End, {}, 35},
            {Qt::Key_Home, {}, 36},   {Qt::Key_Left, {}, 37},
            {Qt::Key_Up, {}, 38},     {Qt::Key_Right, {}, 39},
            {Qt::Key_Down, {}, 40},   {Qt::Key_Delete, {}, 46},
            {Qt::Key_7, {}, '7'},     {Qt::Key_7, Qt::KeypadModifier, 103},
            {Qt::Key_Q, {}, 'Q'},     {Qt::Key_F4, {}, 115},
            {Qt::Key_Comma, {}, 188}, {Qt::Key_Period, Qt::KeypadModifier, 110},
            {Qt::Key_Egrave, {}, 0},
        };
        for (const auto& c : casi) {
            QCOMPARE(tasti::codice_windows(c.tasto, c.mod), c.codice);
        }
        QCOMPARE(tasti::modificatori_windows(Qt::ShiftModifier | Qt::AltModifier), 5);
        QCOMPARE(tasti::modificatori_windows(Qt::ControlModifier | Qt::KeypadModifier), 2);
    }

    // Key-press characters as Windows types them: control characters for Ctrl+letter, nothing
    // for Alt combinations and Delete, Windows-1252 bytes for the rest.
    void caratteri_come_li_digita_windows() {
        const struct {
            int tasto;
            Qt::KeyboardModifiers mod;
            QString testo;
            std::string atteso;
        } casi[] = {
            {Qt::Key_V, Qt::ControlModifier, QStringLiteral("v"), "\x16"},
            {Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"), "\x03"},
            {Qt::Key_A, Qt::AltModifier, QStringLiteral("a"), ""},
            {Qt::Key_1, Qt::ControlModifier, QStringLiteral("1"), ""},
            {Qt::Key_Return, {}, QStringLiteral("\r"), "\r"},
            {Qt::Key_Return, Qt::ControlModifier, {}, "\n"},
            {Qt::Key_Escape, {}, {}, "\x1b"},
            {Qt::Key_Delete, {}, QStringLiteral("\x7f"), ""},
            {Qt::Key_Egrave, {}, QStringLiteral("\u00e8"), "\xE8"},
            {Qt::Key_E, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("\u20ac"), "\x80"},
        };
        for (const auto& c : casi) {
            const QKeyEvent evento(QEvent::KeyPress, c.tasto, c.mod, c.testo);
            QCOMPARE(tasti::caratteri_windows(evento), c.atteso);
        }
    }

    void colori_espliciti_e_di_sistema() {
        const auto tavolozza = QApplication::palette();
        QCOMPARE(colori::a_qcolor(0x000000FF), QColor(255, 0, 0));
        QCOMPARE(colori::a_qcolor(0x00C0C0FF), QColor(255, 192, 192));
        QCOMPARE(colori::a_qcolor(0x00400000), QColor(0, 0, 64));
        QCOMPARE(colori::a_qcolor(0x80000005), tavolozza.color(QPalette::Base));
        QCOMPARE(colori::a_qcolor(0x80000008), tavolozza.color(QPalette::Text));
        QCOMPARE(colori::a_qcolor(0x80000012), tavolozza.color(QPalette::ButtonText));
        QCOMPARE(colori::a_qcolor(0x8000000F), tavolozza.color(QPalette::Button));

        QLabel etichetta;
        colori::colora(etichetta, 0x00E0E0E0, 0x00400000);
        QCOMPARE(etichetta.palette().color(QPalette::Window), QColor(224, 224, 224));
        QCOMPARE(etichetta.palette().color(QPalette::WindowText), QColor(0, 0, 64));
        QVERIFY(etichetta.autoFillBackground());
    }

    void twip_in_pixel_secondo_la_risoluzione() {
        QCOMPARE(misure::pixel_da_twip(2300, 96), 153);
        QCOMPARE(misure::pixel_da_twip(1440, 120), 120);
        QCOMPARE(misure::pixel_da_twip(15, 96), 1);
    }
};

} // namespace meravo

QTEST_MAIN(meravo::ProvaConversioni)
#include "test_conversioni.moc"
