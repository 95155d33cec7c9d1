// Stampa/Esci for real: the national send through curl and openssl to the local stand-in,
// the worker copy's preview, its PDF read back as text, and the exchange file.
#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "national/invio_inps.h"
#include "report/anteprima_report.h"
#include "report/stampa_copie.h"

#include "doppi/doppi.h"
#include "simulatore_prova.h"

#include <QProcess>
#include <QtTest>

namespace meravo {

class TestStampaE2e : public QObject {
    Q_OBJECT

private slots:
    void invio_anteprima_pdf_e_file_di_scambio() {
        prova::CartellaTemporanea cartella;
        prova::MessaggiRegistrati messaggi;
        prova::OrologioFinto orologio;
        prova::PompaEventiContata pompa;
        prova::SegnaleContato segnale;
        prova::SimulatoreProva simulatore{MERAVO_SIMULATORE, MERAVO_PKI, cartella.percorso()};
        const auto host = simulatore.host();
        prova::prepara_studio(cartella, MERAVO_PKI, MERAVO_DATI_ESEMPIO,
                              "000utente=" + std::string(prova::SimulatoreProva::utente) +
                                  "\r\n000certificato=20200101120000\xA7VECCHIO\r\n");
        ServiziForm servizi(messaggi, orologio, pompa, segnale, cartella.percorso());
        servizi.ambiente = [&host](std::string_view nome) -> std::optional<std::string> {
            return nome == "MERAVO_INPS_HOST" ? std::optional(host) : std::nullopt;
        };
        frm_Meravo form(std::move(servizi));
        std::vector<int> fine;
        form.fine_programma = [&](int codice) { fine.push_back(codice); };
        QVERIFY(form.avvia(cartella.file("paziente.txt")));
        form.dt_fine.Text("10/01/2024");
        form.note_diagnosi.Text = "Febbre alta\r\ne tosse";
        InvioInps invio(form);
        collega_invio_nazionale(form, invio);
        QWidget finestra;
        collega_stampa(form, &finestra);

        form.Stampa_Click();
        QVERIFY2(!form.protocollo.empty(),
                 messaggi.mostrati.empty() ? "" : messaggi.mostrati[0].testo.c_str());
        auto* anteprima = finestra.findChild<AnteprimaReport*>();
        QVERIFY(anteprima != nullptr);
        // The exchange file is written before the copy can end the module.
        const auto scambio = cartella.leggi("paziente.txt");
        const auto a_capo = scambio.find("\r\n");
        QCOMPARE(scambio.substr(0, a_capo), std::string("20200101120000\xA7VECCHIO"));
        const auto campi = record_certificato::campi(scambio.substr(a_capo + 2));
        QCOMPARE(campi[1], form.protocollo);
        QCOMPARE(campi[14], std::string("Febbre alta||e tosse"));

        const auto pdf = QString::fromStdString(cartella.file("copia_lavoratore.pdf"));
        anteprima->scegli_file_pdf = [pdf] { return pdf; };
        QVERIFY(anteprima->salva_pdf());
        QCOMPARE(fine, std::vector<int>{0});
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(30000));
        const auto testo = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
        const auto oggi = QString::fromStdString(form.dt_rilascio.Text());
        for (const auto& atteso :
             {QString::fromStdString(form.protocollo), oggi, QStringLiteral("10/01/2024"),
              QStringLiteral("Febbre alta"), QStringLiteral("e tosse")}) {
            QVERIFY2(testo.contains(atteso), qPrintable(atteso));
        }
    }
};

} // namespace meravo

QTEST_MAIN(meravo::TestStampaE2e)
#include "test_stampa_e2e.moc"
