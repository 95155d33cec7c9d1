#include "doppi/doppi.h"
#include "report/anteprima_report.h"
#include "report/copie_certificato.h"
#include "report/report_certificato.h"
#include "report/stampa_copie.h"

#include <QAction>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

namespace meravo {

namespace {

// Saves the preview as a PDF through its own action and gives the text a reader extracts from
// it, blanks folded so that layout does not matter.
QString testo_salvato(AnteprimaReport* anteprima, const prova::CartellaTemporanea& cartella) {
    const auto file = QString::fromStdString(cartella.file("copia.pdf"));
    anteprima->scegli_file_pdf = [file] { return file; };
    anteprima->findChild<QAction*>(QStringLiteral("salva_pdf"))->trigger();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

} // namespace

class TestReportQt : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed: scripts/setup installs it");
        }
    }

    // The fields land in the copies they belong to, as a reader finds them: Windows-1252
    // letters and ligature-prone words included, the diagnosis on the worker's copy only.
    void lo_storico_stampa_le_due_copie_dal_record() {
        prova::CartellaTemporanea cartella;
        const std::string sep(1, '\xA7');
        std::string record = "20240105093000" + sep + "PROTSTORICO";
        for (int i = 2; i <= 29; ++i) {
            record += sep + (i == 14 ? "riga uno||riga due" : i == 15 ? "Forl\xEC" : "");
        }
        auto* anteprima = mostra_storico(copie_certificato::storico_da_record(record), nullptr);
        const auto testo = testo_salvato(anteprima, cartella);
        QCOMPARE(testo.count(QStringLiteral("PROTSTORICO")), 2);
        QCOMPARE(testo.count(QStringLiteral("Forl\u00EC")), 2);
        QCOMPARE(testo.count(QStringLiteral("riga due")), 1);
        for (const char* atteso :
             {"Copia cartacea per il lavoratore", "Copia cartacea per il datore di lavoro",
              "Certificato di malattia telematico"}) {
            QVERIFY2(testo.contains(QString::fromUtf8(atteso)), atteso);
        }
        anteprima->close();
    }

    void l_anteprima_del_lavoratore_non_blocca_e_salva_il_pdf() {
        prova::CartellaTemporanea cartella;
        DatiReport dati;
        dati.imposta("protocollo", "PROT2024XYZ");
        auto* anteprima = mostra_lavoratore(dati, nullptr);
        QPointer<AnteprimaReport> guardia(anteprima);
        QVERIFY(anteprima->isVisible());
        QVERIFY(!anteprima->isModal());
        QSignalSpy pagine(&anteprima->report(), &ReportCertificato::avanzamento);

        // The doctor cancels the save dialog: no job, no progress.
        anteprima->scegli_file_pdf = [] { return QString(); };
        anteprima->findChild<QAction*>(QStringLiteral("salva_pdf"))->trigger();
        QCOMPARE(pagine.size(), 0);

        const auto testo = testo_salvato(anteprima, cartella);
        QCOMPARE(pagine.size(), 1);
        QCOMPARE(pagine[0], (QList<QVariant>{1, 1}));
        QVERIFY(testo.contains(QStringLiteral("PROT2024XYZ")));
        QVERIFY(!testo.contains(QStringLiteral("datore di lavoro")));
        anteprima->close();
        QTRY_VERIFY(guardia.isNull()); // closing frees it
    }
};

} // namespace meravo

QTEST_MAIN(meravo::TestReportQt)
#include "test_report_qt.moc"
