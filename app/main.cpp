#include "archive/elimina.h"
#include "archive/elimina_widget.h"
#include "form/finestra_meravo.h"
#include "form/frm_meravo.h"
#include "national/annullamento_inps.h"
#include "national/invio_inps.h"
#include "process/riga_comando.h"
#include "regional/invio_siss.h"
#include "report/stampa_copie.h"
#include "services/messaggi_qt.h"
#include "services/orologio.h"
#include "services/servizi_qt.h"
#include "services/traduzioni_qt.h"
#include "testo_qt.h"
#include "text/testo.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The exchange file's path: everything after the program name. A caller may pass a path with
// blanks unquoted, so on Windows the raw command line is read rather than its split arguments,
// in UTF-16, so that its letters do not depend on the system's code page.
std::string percorso_file_scambio(int argc, char** argv) {
#ifdef _WIN32
    static_cast<void>(argc);
    static_cast<void>(argv);
    const std::wstring_view larga(GetCommandLineW());
    const auto riga = meravo::testo::utf16_a_cp1252(std::u16string(larga.begin(), larga.end()));
    return meravo::riga_comando::percorso_argomento(meravo::riga_comando::dopo_il_programma(riga));
#else
    std::string resto;
    for (int i = 1; i < argc; ++i) {
        resto += (i > 1 ? " " : "") + std::string(argv[i]);
    }
    return meravo::riga_comando::percorso_argomento(resto);
#endif
}

// The program's folder, where the tools, the marker file and the exchange copies are.
std::filesystem::path cartella_programma() {
    const auto cartella = QCoreApplication::applicationDirPath();
#ifdef _WIN32
    return std::filesystem::path(QDir::toNativeSeparators(cartella).toStdWString());
#else
    return QFile::encodeName(cartella).toStdString();
#endif
}

// A text of the core that names files: Windows-1252 on Windows, the file system's bytes
// elsewhere.
QString testo_di_percorso(const std::string& testo) {
#ifdef _WIN32
    return meravo::testo::a_qstring(testo);
#else
    return QFile::decodeName(QByteArray::fromStdString(testo));
#endif
}

} // namespace

int main(int argc, char** argv) {
    const auto file_scambio = percorso_file_scambio(argc, argv);
    QApplication applicazione(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Meravo"));
    meravo::carica_traduzioni_qt(applicazione, QCoreApplication::applicationDirPath());

    meravo::MessaggiQt messaggi;
    meravo::OrologioDiSistema orologio;
    meravo::PompaEventiQt pompa;
    meravo::SegnaleQt segnale;
    meravo::ServiziForm servizi(messaggi, orologio, pompa, segnale, cartella_programma());
    servizi.separatore_decimale = QLocale().decimalPoint().at(0).toLatin1();
    servizi.apri_indirizzo = [](const std::string& indirizzo) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(indirizzo)));
    };
    servizi.avvia_senza_attendere = [](const std::string& riga) {
        const auto argomenti = meravo::riga_comando::dividi(riga);
        if (argomenti.empty()) {
            return;
        }
        QStringList resto;
        for (std::size_t i = 1; i < argomenti.size(); ++i) {
            resto << testo_di_percorso(argomenti[i]);
        }
        QProcess::startDetached(testo_di_percorso(argomenti[0]), resto);
    };
    meravo::frm_Meravo form(std::move(servizi));
    meravo::InvioInps invio(form);
    meravo::collega_invio_nazionale(form, invio);
    meravo::Elimina archivio(form);
    meravo::collega_annullamento_nazionale(archivio, form, invio);

    int codice_fine = 0;
    bool finito = false;
    form.fine_programma = [&](int codice) {
        codice_fine = codice;
        finito = true;
        QCoreApplication::exit(codice);
    };
    if (!form.avvia(file_scambio)) {
        return form.codice_uscita();
    }
    // The regional component is created only in regional mode, which the exchange file decides.
    meravo::InvioSiss invio_siss(
        form, form.usa_siss ? meravo::crea_componente_regionale(form.servizi(), form.modo_test)
                            : nullptr);
    meravo::collega_invio_regionale(form, invio_siss);
    meravo::collega_annullamento_regionale(archivio, invio_siss);
    meravo::FinestraMeravo finestra(form);
    meravo::collega_stampa(form, &finestra);
    meravo::collega_archivio(finestra, archivio);
    messaggi.imposta_genitore(&finestra);
    finestra.mostra_nello_schermo();
    // For the start-up benchmark: end as soon as the form is on screen, writing nothing. Only in
    // test mode: the exchange file is already deleted, and the patient's archive would be lost.
    if (form.modo_test && qEnvironmentVariableIsSet("MERAVO_ESCI_DOPO_AVVIO")) {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    }
    const int codice = QApplication::exec();
    return finito ? codice_fine : codice;
}
