#include "doppi/doppi.h"
#include "report/anteprima_report.h"
#include "report/copie_certificato.h"
#include "report/report_certificato.h"
#include "report/stampa_copie.h"

#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

namespace meravo {

namespace {

// Saves the preview as a PDF through its own action into `file` (the name it offered in
// `proposto`) and gives the text a reader extracts from it, blanks folded so that layout does
// not matter.
QString testo_salvato(AnteprimaReport* anteprima, const std::string& file,
                      QString* proposto = nullptr) {
    anteprima->scegli_file_pdf = [file, proposto](const QString& nome) {
        if (proposto) {
            *proposto = nome;
        }
        return QString::fromStdString(file);
    };
    anteprima->findChild<QAction*>(QStringLiteral("salva_pdf"))->trigger();
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QString::fromStdString(file), QStringLiteral("-")});
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
    // letters and ligature-prone words included, the diagnosis on the worker's copy only, the
    // test service's notice on both, the line to cut between them.
    void lo_storico_stampa_le_due_copie_dal_record() {
        prova::CartellaTemporanea cartella;
        const std::string sep(1, '\xA7');
        std::string record = "20240105093000" + sep + "PROTSTORICO";
        for (int i = 2; i <= 29; ++i) {
            record += sep + (i == 14 ? "riga uno||riga due" : i == 15 ? "Forl\xEC" : "");
        }
        auto dati = copie_certificato::storico_da_record(record);
        dati.imposta("avviso_prova", "COPIA DI PROVA");
        dati.imposta("avviso_prova2", "COPIA DI PROVA");
        auto* anteprima = mostra_storico(dati, nullptr);
        const auto testo = testo_salvato(anteprima, cartella.file("copia.pdf"));
        QCOMPARE(testo.count(QStringLiteral("PROTSTORICO")), 2);
        QCOMPARE(testo.count(QStringLiteral("COPIA DI PROVA")), 2);
        QCOMPARE(testo.count(QStringLiteral("tagliare qui")), 1);
        QCOMPARE(testo.count(QStringLiteral("Forl\u00EC")), 2);
        QCOMPARE(testo.count(QStringLiteral("riga due")), 1);
        for (const char* atteso :
             {"Copia cartacea per il lavoratore", "Copia cartacea per il datore di lavoro",
              "Certificato di malattia telematico"}) {
            QVERIFY2(testo.contains(QString::fromUtf8(atteso)), atteso);
        }
        anteprima->close();
    }

    // A two-thousand-character note is printed whole, on a continuation sheet beyond its box;
    // the PDF is offered under the patient's name and replaces a file only when the doctor says.
    void l_anteprima_del_lavoratore_non_blocca_e_salva_il_pdf() {
        prova::CartellaTemporanea cartella;
        qputenv("HOME", cartella.percorso().c_str());
        std::filesystem::create_directory(cartella.file("Documents"));
        DatiReport dati;
        dati.imposta("protocollo", "PROT2024XYZ");
        dati.imposta("cognome", "D'Angelo");
        dati.imposta("nome", "Maria/Luisa");
        dati.imposta("dt_rilascio", "05/01/2024");
        QStringList nota;
        for (int i = 1; i <= 333; ++i) {
            nota << QStringLiteral("n%1").arg(i, 4, 10, QLatin1Char('0'));
        }
        dati.imposta("diagnosi", nota.join(QLatin1Char(' ')).toStdString());
        auto* anteprima = mostra_lavoratore(dati, nullptr);
        QPointer<AnteprimaReport> guardia(anteprima);
        QVERIFY(anteprima->isVisible());
        QVERIFY(!anteprima->isModal());
        QVERIFY(anteprima->screen()->availableGeometry().contains(anteprima->frameGeometry()));
        QSignalSpy pagine(&anteprima->report(), &ReportCertificato::avanzamento);

        // The doctor cancels the save dialog: no job, no progress.
        anteprima->scegli_file_pdf = [](const QString&) { return QString(); };
        anteprima->findChild<QAction*>(QStringLiteral("salva_pdf"))->trigger();
        QCOMPARE(pagine.size(), 0);

        QString proposto, testo;
        cartella.scrivi("copia.pdf", "vecchio");
        for (const bool sostituisci : {false, true}) {
            anteprima->conferma_sostituzione = [sostituisci](const QString&) {
                return sostituisci;
            };
            testo = testo_salvato(anteprima, cartella.file("copia.pdf"), &proposto);
            QCOMPARE(cartella.leggi("copia.pdf") == "vecchio", !sostituisci);
        }
        QCOMPARE(proposto, QString::fromStdString(cartella.file(
                               "Documents/D'Angelo_Maria_Luisa_20240105_PROT2024XYZ.pdf")));
        // Without a documents folder, the home folder rather than wherever the program runs.
        std::filesystem::remove(cartella.file("Documents"));
        testo_salvato(anteprima, "", &proposto);
        QCOMPARE(QFileInfo(proposto).absolutePath(), QString::fromStdString(cartella.percorso()));
        QCOMPARE(pagine.size(), 2);
        QCOMPARE(pagine[1], (QList<QVariant>{2, 2}));
        qsizetype dove = 0;
        for (const auto& parola : nota) {
            dove = testo.indexOf(parola, dove);
            QVERIFY2(dove >= 0, qPrintable(parola));
        }
        QVERIFY(testo.contains(QStringLiteral("PROT2024XYZ")));
        QVERIFY(!testo.contains(QStringLiteral("datore di lavoro")));
        anteprima->close();
        QTRY_VERIFY(guardia.isNull()); // closing frees it
    }
};

} // namespace meravo

QTEST_MAIN(meravo::TestReportQt)
#include "test_report_qt.moc"
