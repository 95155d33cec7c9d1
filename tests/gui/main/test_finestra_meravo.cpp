#include "casella_testo.h"
#include "gui/finestra_di_prova.h"
#include "lookup/trova_widget.h"
#include "main/finestra_meravo.h"
#include "main/frm_meravo.h"
#include "textbox/txtctl_widget.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

namespace meravo {

namespace fs = std::filesystem;

struct Banco : prova::FinestraDiProva {
    Banco()
        : FinestraDiProva(MERAVO_DATI_ESEMPIO,
                          "000cognome=Bianchi\r\n000nome=Giulia\r\n000com nascita=Monza\r\n"
                          "000certificato=20240105093000\xA7P1\r\n") {
        QVERIFY(apri());
    }
};

class TestFinestraMeravo : public QObject {
    Q_OBJECT

private slots:
    void mostra_i_dati_del_file_di_scambio() {
        Banco b;
        QCOMPARE(b.figlio<QLineEdit>("cognome")->text(), QStringLiteral("Bianchi"));
        QCOMPARE(b.figlio<QLineEdit>("provincia_nascita")->text(), QStringLiteral("MB"));
        QCOMPARE(b.figlio<QLineEdit>("password")->echoMode(), QLineEdit::Password);
        QVERIFY(!b.figlio<QPushButton>("siss")->isVisible());
        QCOMPARE(b.figlio<QPushButton>("salva")->text(), QStringLiteral("Sal&va/Esci"));
        // Typing in a plain box reaches the model.
        auto* via = b.figlio<QLineEdit>("residenza_via");
        via->setFocus();
        QTest::keyClicks(via, "Via Po 3");
        QCOMPARE(QString::fromStdString(b.form->residenza_via.Text), QStringLiteral("Via Po 3"));
    }

    void otto_cifre_in_una_data_la_formattano() {
        Banco b;
        auto* fine = b.figlio<TxtctlWidget>("dt_fine");
        QVERIFY(fine != nullptr);
        fine->casella()->setFocus();
        QTest::keyClicks(fine->casella(), "10012024");
        QCOMPARE(QString::fromStdString(b.form->dt_fine.Text()), QStringLiteral("10/01/2024"));
        QCOMPARE(fine->casella()->text(), QStringLiteral("10/01/2024"));
    }

    void la_diagnosi_scelta_riempie_il_codice() {
        Banco b;
        auto* trova1 = b.figlio<TrovaWidget>("trova1");
        QVERIFY(trova1 != nullptr);
        trova1->casella()->setFocus();
        QTest::keyClicks(trova1->casella(), "influenza polm");
        QTest::keyClick(trova1->casella(), Qt::Key_Return);
        QTRY_COMPARE(b.figlio<QLineEdit>("cod_icdix")->text(), QStringLiteral("487.0"));
    }

    void salva_esci_scrive_il_file_e_chiude() {
        Banco b;
        auto* cognome = b.figlio<QLineEdit>("cognome");
        cognome->setFocus();
        QTest::keyClick(cognome, Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE(b.fine, std::vector<int>{0}); // a mnemonic clicks the button animated
        QCOMPARE(QByteArray::fromStdString(b.cartella.leggi("paziente.txt")),
                 QByteArray("20240105093000\xA7P1\r\n"));
    }
};

} // namespace meravo

QTEST_MAIN(meravo::TestFinestraMeravo)
#include "test_finestra_meravo.moc"
