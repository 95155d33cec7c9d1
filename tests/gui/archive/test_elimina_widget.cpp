#include "archive/elimina.h"
#include "archive/elimina_widget.h"
#include "casella_testo.h"
#include "gui/finestra_di_prova.h"
#include "lookup/trova_widget.h"
#include "misure.h"
#include "national/annullamento_inps.h"
#include "national/invio_inps.h"
#include "report/anteprima_report.h"
#include "report/report_certificato.h"
#include "textbox/txtctl_widget.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace meravo {

// The form started on the sample tables with `righe`, its archive browser connected to the
// window and to the national road's cancellation.
struct Banco : prova::FinestraDiProva {
    Elimina archivio{*form};
    InvioInps invio{*form};

    explicit Banco(const std::string& righe) : FinestraDiProva(righe) {
        collega_annullamento_nazionale(archivio, *form, invio);
        QVERIFY(apri([this](FinestraMeravo& f) { collega_archivio(f, archivio); }));
    }
    // The window goes first: its browser lets go of the model, as in the module.
    ~Banco() { finestra.reset(); }

    // Whether each of a sample of the form's controls the browser governs is enabled.
    QList<bool> stato_form() {
        return {figlio<QLineEdit>("cognome")->isEnabled(),
                figlio<QLineEdit>("cf_medico")->isEnabled(),
                figlio<QPlainTextEdit>("note_diagnosi")->isEnabled(),
                figlio<TxtctlWidget>("dt_fine")->casella()->isEnabled(),
                figlio<TrovaWidget>("trova1")->isEnabled(),
                figlio<QRadioButton>("opt_tipo2")->isEnabled(),
                figlio<QRadioButton>("opt_visita0")->isEnabled(),
                figlio<QPushButton>("Stampa")->isEnabled(),
                figlio<QPushButton>("archivio")->isEnabled()};
    }
    // A click on the first entry of the list.
    void scegli_il_primo() {
        auto* list1 = figlio<QListWidget>("list1");
        QTest::mouseClick(list1->viewport(), Qt::LeftButton, {},
                          list1->visualItemRect(list1->item(0)).center());
    }
};

class TestEliminaWidget : public QObject {
    Q_OBJECT

private slots:
    void apre_con_il_form_disabilitato_mostra_e_chiude() {
        Banco b("000cognome=Bianchi\r\n000certificato=20240105093000\xA7P1\xA7"
                "05/01/2024\r\n");
        auto* browser = b.figlio<EliminaWidget>("Elimina1");
        QVERIFY(browser != nullptr);
        QVERIFY(!browser->isVisible());
        QCOMPARE(b.stato_form(), QList<bool>(9, true));

        QTest::mouseClick(b.figlio<QPushButton>("archivio"), Qt::LeftButton);
        QVERIFY(browser->isVisible());
        QCOMPARE(b.stato_form(), QList<bool>(9, false));
        QCOMPARE(browser->width(), misure::pixel_orizzontali(Elimina::Width, *browser));
        QCOMPARE(browser->y(), misure::pixel_verticali(Elimina::Top, *browser));
        auto* list1 = b.figlio<QListWidget>("list1");
        QCOMPARE(list1->count(), 1);
        QCOMPARE(list1->item(0)->text(), QStringLiteral("05/01/2024  prot. P1"));

        // The list has the focus but nothing is chosen yet.
        QCOMPARE(b.archivio.ListIndex(), -1);
        QTest::mouseClick(b.figlio<QPushButton>("visualizza"), Qt::LeftButton);
        QCOMPARE(b.messaggi.mostrati.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(b.messaggi.mostrati[0].testo),
                 QStringLiteral("Selezionare un certificato da visualizzare"));
        // Each key of the list chooses the only entry, as a click does.
        for (const auto tasto : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End}) {
            b.archivio.list1_Click(-1);
            browser->aggiorna();
            QTest::keyClick(list1, tasto);
            QVERIFY(list1->item(0)->isSelected() && b.archivio.ListIndex() == 0);
        }

        // Selecting prepares both copies; "Visualizza" previews them over the window.
        b.scegli_il_primo();
        QCOMPARE(b.archivio.ListIndex(), 0);
        QTest::mouseClick(b.figlio<QPushButton>("visualizza"), Qt::LeftButton);
        auto* anteprima = b.finestra->findChild<AnteprimaReport*>();
        QVERIFY(anteprima != nullptr);
        QVERIFY(anteprima->isVisible());
        QCOMPARE(QString::fromStdString(anteprima->report().campi().testo("protocollo2")),
                 QStringLiteral("P1"));
        QCOMPARE(QString::fromStdString(anteprima->report().campi().testo("dt_rilascio")),
                 QStringLiteral("05/01/2024"));
        anteprima->close();

        QTest::mouseClick(b.figlio<QPushButton>("chiudi"), Qt::LeftButton);
        QVERIFY(!browser->isVisible());
        QCOMPARE(b.stato_form(), QList<bool>(9, true));
        QCOMPARE(b.messaggi.mostrati.size(), std::size_t{1});
    }

    void una_seconda_pressione_su_elimina_non_annulla_di_nuovo() {
        Banco b(prova::paziente() + "000certificato=20240105093000\xA7P1\r\n"
                                    "000certificato=20240106093000\xA7P2\r\n");
        b.usa_sostituti("<soapenv:Envelope xmlns:soapenv='s'><soapenv:Body>"
                        "<ns2:ricevutaAnnullamentoOK xmlns:ns2='r'><ns2:idAnnullamento>A{n}"
                        "</ns2:idAnnullamento></ns2:ricevutaAnnullamentoOK></soapenv:Body>"
                        "</soapenv:Envelope>");
        b.messaggi.risposte = {Risposta::si, Risposta::si};
        QTest::mouseClick(b.figlio<QPushButton>("archivio"), Qt::LeftButton);
        b.scegli_il_primo();
        auto* elimina = b.figlio<QPushButton>("elimina");
        QList<int> voci_mostrate; // the list on screen while each message is shown
        b.messaggi.azione = [&] { voci_mostrate << b.figlio<QListWidget>("list1")->count(); };
        bool visto = false;
        QTimer::singleShot(0, [&] {
            visto = !elimina->isEnabled() && b.figlio<QLabel>("attivita")->text() ==
                                                 QStringLiteral("Annullamento in corso\u2026");
            QTest::mouseClick(elimina, Qt::LeftButton);
        });
        QTest::mouseClick(elimina, Qt::LeftButton);
        QTest::qWait(100);
        QVERIFY(visto);
        QCOMPARE(b.richieste(), std::size_t{1});
        // The one question, naming the certificate, and what became of it.
        QCOMPARE(b.testi(), (std::vector<std::string>{
                                "Attenzione con questa operazione verr\xE0 eliminato "
                                "definitivamente\r\nil certificato protocollo P1,\r\nsia in "
                                "locale che sul server INPS\r\nContinuare?",
                                "Certificato annullato: protocollo P1.\r\nIdentificativo "
                                "dell'annullamento: A1"}));
        QCOMPARE(voci_mostrate, (QList<int>{2, 1}));
        QCOMPARE(b.form->certificati.chiavi(), std::vector<std::string>{"20240106093000"});
        QCOMPARE(b.figlio<QListWidget>("list1")->item(0)->text(), QStringLiteral("prot. P2"));
        QVERIFY(elimina->isEnabled());
        // The keyboard is back on the button pressed, not on a box of the form.
        QCOMPARE(QApplication::focusWidget(), elimina);
    }
};

} // namespace meravo

QTEST_MAIN(meravo::TestEliminaWidget)
#include "test_elimina_widget.moc"
