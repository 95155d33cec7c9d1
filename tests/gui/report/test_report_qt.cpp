#include "doppi/doppi.h"
#include "report/anteprima_report.h"
#include "report/copie_certificato.h"
#include "report/report_certificato.h"
#include "report/stampa_copie.h"

#include <QAction>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

namespace meravo {

namespace {

// The text of a PDF as a reader extracts it, blanks folded so that layout does not matter.
QString testo_del_pdf(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

DatiReport copia_di_prova() {
    DatiReport d;
    d.imposta("protocollo", "PROT2024XYZ");
    d.imposta("dt_rilascio", "05/01/2024");
    d.imposta("dt_dal", "04/01/2024");
    d.imposta("dt_al", "10/01/2024");
    d.imposta("cod_diagnosi", "487.1");
    d.imposta("diagnosi", "Febbre alta\r\ne tosse");
    d.imposta("cognome", "Forl\xEC");
    d.imposta("continuazione", "X");
    return d;
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

    void la_copia_lavoratore_in_pdf_ha_i_dati_e_segnala_l_ultima_pagina() {
        prova::CartellaTemporanea cartella;
        ReportCertificato report(QStringLiteral("lavoratore"), layout_report::lavoratore(),
                                 copia_di_prova());
        QSignalSpy pagine(&report, &ReportCertificato::avanzamento);
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        const auto file = QString::fromStdString(cartella.file("copia.pdf"));
        pdf.setOutputFileName(file);
        ReportCertificato::prepara_pagina(pdf);
        QVERIFY(report.stampa(pdf));
        QCOMPARE(pagine.size(), 1);
        QCOMPARE(pagine[0], (QList<QVariant>{1, 1}));

        const auto testo = testo_del_pdf(file);
        for (const char* atteso :
             {"PROT2024XYZ", "05/01/2024", "04/01/2024", "10/01/2024", "487.1", "Febbre alta",
              "e tosse", "Forl\u00EC", "Copia cartacea per il lavoratore",
              "Certificato di malattia telematico", "Rilasciato ai sensi del DPCM 26 marzo 2008"}) {
            QVERIFY2(testo.contains(QString::fromUtf8(atteso)), atteso);
        }
        QVERIFY(!testo.contains(QStringLiteral("datore di lavoro")));
    }

    void lo_storico_stampa_le_due_copie_dal_record() {
        prova::CartellaTemporanea cartella;
        const std::string sep(1, '\xA7');
        std::string record = "20240105093000" + sep + "PROTSTORICO";
        for (int i = 2; i <= 29; ++i) {
            record += sep + (i == 14 ? std::string("riga uno||riga due") : std::string());
        }
        auto* anteprima = mostra_storico(copie_certificato::storico_da_record(record), nullptr);
        const auto file = QString::fromStdString(cartella.file("storico.pdf"));
        anteprima->scegli_file_pdf = [file] { return file; };
        QVERIFY(anteprima->salva_pdf());
        const auto testo = testo_del_pdf(file);
        QCOMPARE(testo.count(QStringLiteral("PROTSTORICO")), 2);
        QCOMPARE(testo.count(QStringLiteral("riga due")), 1); // not on the employer's copy
        QVERIFY(testo.contains(QStringLiteral("Copia cartacea per il lavoratore")));
        QVERIFY(testo.contains(QStringLiteral("Copia cartacea per il datore di lavoro")));
        anteprima->close();
    }

    void l_anteprima_del_lavoratore_non_blocca_e_salva_il_pdf() {
        prova::CartellaTemporanea cartella;
        auto* anteprima = mostra_lavoratore(copia_di_prova(), nullptr);
        QPointer<AnteprimaReport> guardia(anteprima);
        QCOMPARE(anteprima->windowTitle(), QStringLiteral("Copia Lavoratore"));
        QVERIFY(anteprima->isVisible());
        QVERIFY(!anteprima->isModal());
        QSignalSpy pagine(&anteprima->report(), &ReportCertificato::avanzamento);

        // The doctor cancels the save dialog: no job, no progress.
        anteprima->scegli_file_pdf = [] { return QString(); };
        auto* salva = anteprima->findChild<QAction*>(QStringLiteral("salva_pdf"));
        QVERIFY(salva != nullptr);
        QCOMPARE(salva->text(), QStringLiteral("Salva PDF\u2026"));
        salva->trigger();
        QCOMPARE(pagine.size(), 0);

        const auto file = QString::fromStdString(cartella.file("lavoratore.pdf"));
        anteprima->scegli_file_pdf = [file] { return file; };
        salva->trigger();
        QCOMPARE(pagine.size(), 1);
        QVERIFY(testo_del_pdf(file).contains(QStringLiteral("PROT2024XYZ")));
        anteprima->close();
        QTRY_VERIFY(guardia.isNull()); // closing frees it
    }
};

} // namespace meravo

QTEST_MAIN(meravo::TestReportQt)
#include "test_report_qt.moc"
