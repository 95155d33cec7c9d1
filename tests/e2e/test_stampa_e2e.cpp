// Stampa/Esci for real: the national send through curl and openssl to the local stand-in,
// the worker copy's preview, its PDF read back as text, and the exchange file.
#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "national/invio_inps.h"
#include "report/anteprima_report.h"
#include "report/stampa_copie.h"

#include "doppi/banco_form.h"
#include "simulatore_prova.h"

#include <QProcess>
#include <QtTest>

namespace meravo {

class TestStampaE2e : public QObject {
    Q_OBJECT

private slots:
    void invio_anteprima_pdf_e_file_di_scambio() {
        prova::StudioInps b;
        auto& form = *b.form;
        form.note_diagnosi.Text = "Febbre alta\r\ne tosse";
        InvioInps invio(form);
        collega_invio_nazionale(form, invio);
        QWidget finestra;
        collega_stampa(form, &finestra);

        form.Stampa_Click();
        QVERIFY2(!form.protocollo.empty(), b.primo_messaggio().c_str());
        auto* anteprima = finestra.findChild<AnteprimaReport*>();
        QVERIFY(anteprima != nullptr);
        // The exchange file is written, after the caller's record, before the copy can end the
        // module.
        const auto scambio = b.cartella.leggi("paziente.txt");
        const auto a_capo = scambio.find("\r\n");
        QCOMPARE(scambio.substr(0, a_capo), std::string(b.record_precedente));
        const auto campi = record_certificato::campi(scambio.substr(a_capo + 2));
        QCOMPARE(campi[1], form.protocollo);
        QCOMPARE(campi[14], std::string("Febbre alta||e tosse"));

        const auto pdf = QString::fromStdString(b.cartella.file("copia_lavoratore.pdf"));
        anteprima->scegli_file_pdf = [pdf](const QString&) { return pdf; };
        QVERIFY(anteprima->salva_pdf());
        QCOMPARE(b.fine, std::vector<int>{0});
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(30000));
        const auto testo = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
        for (const auto& atteso :
             {form.protocollo, form.dt_rilascio.Text(), std::string("10/01/2024"),
              std::string("Febbre alta"), std::string("e tosse")}) {
            QVERIFY2(testo.contains(QString::fromStdString(atteso)), atteso.c_str());
        }
    }
};

} // namespace meravo

QTEST_MAIN(meravo::TestStampaE2e)
#include "test_stampa_e2e.moc"
