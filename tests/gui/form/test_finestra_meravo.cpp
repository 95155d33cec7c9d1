#include "casella_testo.h"
#include "form/frm_meravo.h"
#include "gui/finestra_di_prova.h"
#include "lookup/trova_widget.h"
#include "national/invio_inps.h"
#include "textbox/txtctl_widget.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionFrame>
#include <QtTest>

namespace meravo {

// A patient with one archived certificate, the window on screen.
struct Banco : prova::FinestraDiProva {
    Banco()
        : FinestraDiProva("000cognome=Bianchi\r\n000nome=Giulia\r\n000com nascita=Monza\r\n"
                          "000certificato=20240105093000\xA7P1\r\n") {
        QVERIFY(apri());
    }
};

class TestFinestraMeravo : public QObject {
    Q_OBJECT

private slots:
    // The form's fields show in their boxes; what is typed reaches the form.
    void i_campi_del_form_e_le_loro_caselle() {
        Banco b;
        QCOMPARE(b.figlio<QLineEdit>("cognome")->text(), QStringLiteral("Bianchi"));
        QCOMPARE(b.figlio<QLineEdit>("provincia_nascita")->text(), QStringLiteral("MB"));
        for (const char* segreto : {"password", "cf_medico"}) {
            QCOMPARE(b.figlio<QLineEdit>(segreto)->echoMode(), QLineEdit::Password);
        }
        QVERIFY(!b.figlio<QPushButton>("siss")->isVisible());
        auto* via = b.figlio<QLineEdit>("residenza_via");
        via->setFocus();
        QTest::keyClicks(via, "Via Po 3");
        QCOMPARE(QString::fromStdString(b.form->residenza_via.Text), QStringLiteral("Via Po 3"));
        auto* trova1 = b.figlio<TrovaWidget>("trova1");
        trova1->casella()->setFocus();
        QTest::keyClicks(trova1->casella(), "influenza polm");
        QTest::keyClick(trova1->casella(), Qt::Key_Return);
        QTRY_COMPARE(b.figlio<QLineEdit>("cod_icdix")->text(), QStringLiteral("487.0"));
        // The title says when the installation sends to the test service.
        QCOMPARE(b.finestra->windowTitle(), QStringLiteral("Certificato di malattia telematico"));
        b.cartella.scrivi("debug_inps.txt", "");
        b.finestra.reset();
        b.avvia("");
        QVERIFY(b.apri());
        QCOMPARE(b.finestra->windowTitle(),
                 QStringLiteral("Certificato di malattia telematico — servizio di prova"));
    }

    void una_seconda_pressione_durante_l_invio_non_invia_di_nuovo() {
        prova::FinestraDiProva b(prova::paziente());
        b.usa_sostituti("<soapenv:Envelope xmlns:soapenv='s'><soapenv:Body><ricevutaOK>"
                        "<idCertificato>2024W{n}</idCertificato></ricevutaOK></soapenv:Body>"
                        "</soapenv:Envelope>");
        InvioInps invio(*b.form);
        collega_invio_nazionale(*b.form, invio);
        int copie = 0;
        b.form->mostra_lavoratore = [&](const DatiReport&) { ++copie; };
        b.compila();
        QVERIFY(b.apri());
        auto* stampa = b.figlio<QPushButton>("Stampa");
        auto* cognome = b.figlio<QLineEdit>("cognome");
        bool visto = false;
        // Runs when the send first lets window events through: a double click, Alt+S again and
        // typing, queued behind the first press.
        QTimer::singleShot(0, [&] {
            visto = !stampa->isEnabled() &&
                    b.figlio<QLabel>("attivita")->text() ==
                        QStringLiteral("Invio del certificato in corso\u2026") &&
                    QApplication::overrideCursor() != nullptr &&
                    QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            QTest::mouseClick(stampa, Qt::LeftButton);
            QTest::keyClick(b.finestra.get(), Qt::Key_S, Qt::AltModifier);
            QTest::keyClicks(cognome, "xyz");
        });
        QTest::mouseClick(stampa, Qt::LeftButton);
        QTest::qWait(300); // an animated click of the mnemonic would have landed by now
        QVERIFY(visto);
        QCOMPARE(b.richieste(), std::size_t{1});
        QCOMPARE(b.form->certificati.size(), std::size_t{1});
        QCOMPARE(cognome->text(), QStringLiteral("Bianchi"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(b.figlio<QLabel>("attivita")->text(),
                 QStringLiteral("Certificato inviato: protocollo 2024W1"));
        // The copy again: the keyboard waits on its button; Alt+P, then the mouse.
        auto* ristampa = b.figlio<QPushButton>("ristampa");
        QCOMPARE(QApplication::focusWidget(), ristampa);
        QTest::keyClick(cognome, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(copie, 2);
        QTest::mouseClick(ristampa, Qt::LeftButton);
        QCOMPARE(copie, 3);
    }

    // After a refusal the keyboard is where the doctor must act: on a refused date, in its box,
    // and the button that took its focus stops; on a send the service refused, on Stampa/Esci.
    void dopo_un_rifiuto_la_tastiera_resta_dove_serve() {
        prova::FinestraDiProva b(prova::paziente());
        b.form->cod_icdix.Text = "487.1";
        int invii = 0;
        b.form->invio_nazionale = [&] { return ++invii, EsitoInvio::rifiutato; };
        QVERIFY(b.apri());
        auto* fine = b.figlio<TxtctlWidget>("dt_fine");
        fine->casella()->setFocus();
        QTest::keyClicks(fine->casella(), "31022026");
        QTest::keyClick(fine->casella(), Qt::Key_S, Qt::AltModifier);
        QTest::qWait(300);
        QCOMPARE(invii, 0);
        QVERIFY(!b.messaggi.mostrati.empty());
        for (const auto& m : b.messaggi.mostrati) {
            QCOMPARE(QString::fromStdString(m.testo),
                     QStringLiteral("La data 31/02/2026 non esiste: verificare giorno e mese."));
        }
        QTRY_VERIFY(fine->casella()->hasFocus());

        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(fine->casella(), Qt::Key_Backspace);
        }
        QTest::keyClicks(fine->casella(), "10012024");
        auto* stampa = b.figlio<QPushButton>("Stampa");
        QTest::mouseClick(stampa, Qt::LeftButton);
        QCOMPARE(invii, 1);
        QVERIFY(stampa->isEnabled());
        QCOMPARE(QApplication::focusWidget(), stampa);
    }

    void un_valore_lungo_del_file_si_vede_intero_e_si_puo_solo_accorciare() {
        prova::FinestraDiProva b("000cap=201240\r\n");
        QVERIFY(b.apri());
        auto* cap = b.figlio<QLineEdit>("residenza_cap");
        QCOMPARE(cap->text(), QStringLiteral("201240"));
        cap->setFocus();
        cap->end(false);
        QTest::keyClick(cap, Qt::Key_7);
        QCOMPARE(cap->text(), QStringLiteral("201240"));
        QTest::keyClick(cap, Qt::Key_Backspace);
        QTest::keyClick(cap, Qt::Key_7);
        QCOMPARE(QString::fromStdString(b.form->residenza_cap.Text), QStringLiteral("20124"));
        QCOMPARE(cap->text(), QStringLiteral("20124"));
    }

    void le_opzioni_si_raggiungono_dalla_tastiera() {
        Banco b;
        auto* fine = b.figlio<TxtctlWidget>("dt_fine");
        // One Tab stop per group, on its chosen option.
        QTest::keyClick(fine->casella(), Qt::Key_Tab);
        QTRY_VERIFY(b.figlio<QRadioButton>("opt_tipo0")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(b.figlio<QRadioButton>("opt_visita0")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(b.form->opt_visita, 1);
        // Each option by its own mnemonic.
        for (const auto& [tasto, tipo] : {std::pair{Qt::Key_R, 2}, std::pair{Qt::Key_C, 1}}) {
            QTest::keyClick(QApplication::focusWidget(), tasto, Qt::AltModifier);
            QTRY_COMPARE(b.form->opt_tipo, tipo);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier);
        QTRY_COMPARE(b.form->opt_visita, 0);
        QCOMPARE(b.fine, std::vector<int>{}); // none of them is a button's
    }

    // The keyboard starts in "Data fine" and Tab goes as the eye reads, along a row, then down; a
    // screen reader names every box that takes the keyboard; each Alt key is one control's, and a
    // label's takes the keyboard to its box.
    void tastiera_e_lettore_di_schermo() {
        Banco b;
        QTRY_COMPARE(QApplication::focusWidget(), b.figlio<TxtctlWidget>("dt_fine")->casella());
        auto* primo = b.figlio<QWidget>("nome_medico");
        QRect prima;
        for (QWidget* w = primo; w != primo->previousInFocusChain(); w = w->nextInFocusChain()) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                const QRect r(w->mapTo(b.finestra.get(), QPoint()), w->size());
                const bool dopo = r.top() > prima.center().y() || r.left() > prima.right();
                QVERIFY2(prima.isNull() || dopo, qPrintable(w->objectName()));
                prima = r;
            }
        }
        QStringList lettere;
        for (auto* w : b.finestra->findChildren<QWidget*>()) {
            QVERIFY2(
                w->focusPolicy() == Qt::NoFocus ||
                    !QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
                w->metaObject()->className());
            const auto* l = qobject_cast<QLabel*>(w);
            const auto* p = qobject_cast<QAbstractButton*>(w);
            const auto testo = l ? l->text() : p ? p->text() : QString();
            if (testo.contains(QLatin1Char('&'))) {
                lettere << testo.section(QLatin1Char('&'), 1).left(1).toLower();
            }
        }
        QCOMPARE(QSet<QString>(lettere.begin(), lettere.end()).size(), lettere.size());
        const char* nomi[] = {"dt_rilascio", "dt_inizio", "dt_fine",
                              "trova1",      "cod_icdix", "note_diagnosi"};
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key("LNFGOE"[i]), Qt::AltModifier);
            auto* controllo = b.figlio<QWidget>(nomi[i]);
            QTRY_VERIFY2(controllo->isAncestorOf(QApplication::focusWidget()) ||
                             controllo->hasFocus(),
                         nomi[i]);
        }
    }

    // On a 1024x768 screen the form shows whole, with room for its frame, and every box shows
    // whole the longest value a practice puts there, in capitals too. A system font a third
    // wider still leaves the form whole on the screen, its long boxes narrower.
    void a_1024_per_768_ogni_valore_si_vede_intero() {
        const QFont carattere = QApplication::font();
        QFont largo = carattere;
        largo.setPointSizeF(carattere.pointSizeF() * 4 / 3);
        QApplication::setFont(largo);
        {
            Banco grande;
            QVERIFY(QRect(0, 0, 1024 - 16, 768 - 40).contains(grande.finestra->frameGeometry()));
            QVERIFY(grande.figlio<QLineEdit>("residenza_via")->isVisible());
        }
        QApplication::setFont(carattere);
        Banco b;
        QVERIFY(QRect(0, 0, 1024 - 16, 768 - 40).contains(b.finestra->frameGeometry()));
        const std::pair<QString, std::vector<const char*>> casi[] = {
            {"Castelnuovo di Garfagnana Superiore",
             {"nome_medico", "cognome", "nome", "comune_nascita", "residenza_comune", "nominativo",
              "nominativo_comune"}},
            {"Via Padre Luigi Monti 7 scala B int. 12a", {"residenza_via", "nominativo_via"}},
            {"1234567890", {"cf_medico"}}};
        for (const auto& [valore, nomi] : casi) {
            for (const char* nome : nomi) {
                auto* c = b.figlio<QLineEdit>(nome);
                QStyleOptionFrame o;
                o.initFrom(c);
                o.lineWidth = c->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
                // The box keeps 2 pixels each side of its text.
                const int spazio =
                    c->style()->subElementRect(QStyle::SE_LineEditContents, &o, c).width() - 4;
                for (const auto& v : {valore, valore.toUpper()}) {
                    c->setText(v);
                    QVERIFY2(c->fontMetrics().horizontalAdvance(c->displayText()) <= spazio, nome);
                }
            }
        }
    }

    void la_chiusura_chiede_prima_di_perdere_il_certificato_salva_esci_lo_scrive() {
        Banco b;
        auto* via = b.figlio<QLineEdit>("residenza_via");
        via->setFocus();
        QTest::keyClicks(via, "Via Po 3");
        b.messaggi.risposte = {Risposta::no};
        QVERIFY(!b.finestra->close());
        QVERIFY(b.finestra->isVisible());
        QCOMPARE(QString::fromStdString(b.messaggi.mostrati.back().testo),
                 QStringLiteral("Chiudere senza salvare il certificato?"));
        via->setFocus();
        QTest::keyClick(via, Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE(b.fine, std::vector<int>{0}); // a mnemonic clicks the button animated
        QCOMPARE(QByteArray::fromStdString(b.cartella.leggi("paziente.txt")),
                 QByteArray("20240105093000\xA7P1\r\n"));
        b.messaggi.risposte = {Risposta::si};
        QVERIFY(b.finestra->close());
    }
};

} // namespace meravo

QTEST_MAIN(meravo::TestFinestraMeravo)
#include "test_finestra_meravo.moc"
