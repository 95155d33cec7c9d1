// The form's national road through the real process runner of the platform (on Windows,
// CreateProcess and the tools' own C runtime splitting the command line) with stand-ins of
// curl and openssl in the program's Sogei folder: what the module quoted must arrive intact,
// and the send-and-print sequence must end with the exchange file written.
#include "archive/elimina.h"
#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "national/annullamento_inps.h"
#include "national/invio_inps.h"
#include "national/trasporto_inps.h"
#include "report/dati_report.h"

#include "base64_prova.h"
#include "doppi/doppi.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace meravo {
namespace {

namespace fs = std::filesystem;
using Chiamata = std::vector<std::string>;

const std::string utente = "RSSMRA60A01F205Z";
// Blanks, quotes and backslashes: every rule of the Windows command-line splitting at once.
const std::string password = "pa ss\"wo\\\"rd\\";
const std::string pin = "12 34\"";
const std::string sep(1, record_certificato::separatore);

const std::string ricevuta_invio =
    "<soapenv:Envelope xmlns:soapenv='http://schemas.xmlsoap.org/soap/envelope/'><soapenv:Body>"
    "<esito>RicevutaOK</esito><idCertificato>2024W0001</idCertificato></soapenv:Body>"
    "</soapenv:Envelope>\r\n";
const std::string ricevuta_annullamento =
    "<soapenv:Envelope xmlns:soapenv='s'><soapenv:Body><ns2:AnnullamentoCertificatoResponse "
    "xmlns:ns2='r'><ns2:ricevutaAnnullamentoOK><ns2:idAnnullamento>A-1</ns2:idAnnullamento>"
    "</ns2:ricevutaAnnullamentoOK></ns2:AnnullamentoCertificatoResponse></soapenv:Body>"
    "</soapenv:Envelope>\r\n";

// The installed name of a tool: on Windows the process runner finds "Curl" as "Curl.exe".
fs::path installato(fs::path p) {
#ifdef _WIN32
    if (!p.has_extension()) {
        p += ".exe";
    }
#endif
    return p;
}

struct Studio {
    prova::CartellaTemporanea cartella;
    prova::MessaggiRegistrati messaggi;
    prova::OrologioFinto orologio;
    prova::PompaEventiContata pompa;
    prova::SegnaleContato segnale;
    std::unique_ptr<frm_Meravo> form;
    std::unique_ptr<InvioInps> invio;
    DatiReport stampata;

    explicit Studio(const std::string& righe_in_piu = "") {
        const auto p = cartella.percorso();
        const auto sogei = strumenti_sogei::cartella(p);
        fs::create_directories(sogei);
        fs::copy_file(MERAVO_SOSTITUTO, installato(strumenti_sogei::curl(p)));
        fs::copy_file(MERAVO_SOSTITUTO, installato(strumenti_sogei::openssl(p)));
        prova::copia_tabelle_esempio(MERAVO_DATI_ESEMPIO, p / "tabelle");
        cartella.scrivi("paziente.txt",
                        "000direttorio tabelle=" + (p / "tabelle").string() +
                            "/\r\n000cf=BNCGLI85C41F205Q\r\n000via=Via Lecco 12\r\n000cap=20124\r\n"
                            "000comune=Milano\r\n"
                            "000provincia=MI\r\n000utente=" +
                            utente + "\r\n000password=" + password + "\r\n000pin=" + pin + "\r\n" +
                            righe_in_piu);
        ServiziForm servizi(messaggi, orologio, pompa, segnale, p);
        servizi.ambiente = [](std::string_view) { return std::nullopt; };
        servizi.tabelle_icdix = std::make_shared<TabelleIcdix>();
        form = std::make_unique<frm_Meravo>(std::move(servizi));
        form->avvia(cartella.file("paziente.txt"));
        form->dt_fine.Text("10/01/2024");
        form->cod_icdix.Text = "487.1";
        invio = std::make_unique<InvioInps>(*form);
        collega_invio_nazionale(*form, *invio);
        form->mostra_lavoratore = [this](const DatiReport& d) { stampata = d; };
    }

    void risponde(const std::string& risposta) const {
        cartella.scrivi("Sogei/risposta_sostituto.txt", risposta);
    }

    // Every command line the stand-ins received, split by their C runtime.
    std::vector<Chiamata> chiamate() const {
        std::istringstream in(cartella.leggi("Sogei/chiamate.txt"));
        std::vector<Chiamata> tutte;
        std::size_t quanti = 0;
        while (in >> quanti) {
            in.get();
            Chiamata c;
            for (std::size_t i = 0; i < quanti; ++i) {
                std::size_t lunghezza = 0;
                in >> lunghezza;
                in.get();
                std::string a(lunghezza, '\0');
                in.read(a.data(), static_cast<std::streamsize>(lunghezza));
                in.get();
                c.push_back(a);
            }
            tutte.push_back(c);
        }
        return tutte;
    }

    std::string primo_messaggio() const {
        return messaggi.mostrati.empty() ? "" : messaggi.mostrati[0].testo;
    }
};

std::string valore_di(const Chiamata& c, const std::string& opzione) {
    for (std::size_t i = 0; i + 1 < c.size(); ++i) {
        if (c[i] == opzione) {
            return c[i + 1];
        }
    }
    return "(assente)";
}

TEST(SostitutiDegliStrumenti, StampaEsciInviaStampaEScriveIlFileDiScambio) {
    Studio s;
    s.risponde(ricevuta_invio);
    s.form->note_diagnosi.Text = "Dolore \"acuto\" & febbre\r\nda ieri";
    s.form->Stampa_Click();
    ASSERT_TRUE(s.messaggi.mostrati.empty()) << s.primo_messaggio();
    EXPECT_EQ(s.stampata.testo("protocollo"), "2024W0001");

    // PIN and fiscal code each through encryption and base64, then one post.
    const auto chiamate = s.chiamate();
    ASSERT_EQ(chiamate.size(), 5U);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(chiamate[i][0], i % 2 == 0 ? "rsautl" : "base64");
    }
    const auto& curl = chiamate[4];
    EXPECT_EQ(s.cartella.leggi("Sogei/utente_curl.txt"), utente + ":" + password);
    EXPECT_TRUE(valore_di(curl, "--url").ends_with("/services/InvioCertificato"));
    const auto richiesta = s.cartella.leggi("Sogei/corpo_curl.txt");
    EXPECT_EQ(richiesta + "\r\n", s.cartella.leggi("invio.txt"));
    // Any user of the machine can read a command line: neither secrets nor health data on it.
    for (const auto& chiamata : chiamate) {
        for (const auto& argomento : chiamata) {
            for (const auto& segreto :
                 {password, pin, std::string("Dolore"), std::string("BNCG")}) {
                EXPECT_EQ(argomento.find(segreto), std::string::npos) << argomento;
            }
        }
    }
    EXPECT_NE(richiesta.find(prova::base64("cifrato:" + pin)), std::string::npos) << richiesta;
    EXPECT_NE(richiesta.find("Dolore &quot;acuto&quot; &amp; febbre"), std::string::npos);

    // The work files are gone and the trace copy has no credentials.
    for (const auto& voce : fs::directory_iterator(s.cartella.percorso() / "Sogei")) {
        const auto nome = voce.path().filename().string();
        EXPECT_TRUE(nome.ends_with(".exe") || nome.ends_with(".txt") || nome == "curl" ||
                    nome == "openssl")
            << nome;
    }
    EXPECT_EQ(s.cartella.leggi("risposta.txt").find(prova::base64(utente)), std::string::npos);

#ifndef _WIN32
    // The copies for support staff hold the patient's data: the user's alone.
    for (const char* copia : {"invio.txt", "risposta.txt"}) {
        EXPECT_EQ(fs::status(s.cartella.percorso() / copia).permissions() &
                      (fs::perms::group_all | fs::perms::others_all),
                  fs::perms::none)
            << copia;
    }
#endif
    // The certificate is in the exchange file the clinical-records program reads back.
    const auto scambio = s.cartella.leggi("paziente.txt");
    EXPECT_NE(scambio.find(sep + "2024W0001" + sep), std::string::npos) << scambio;
}

TEST(SostitutiDegliStrumenti, ConnessioneRifiutataNonStampaNeArchivia) {
    Studio s;
    s.cartella.scrivi("Sogei/connessione_rifiutata", "");
    const auto prima = s.cartella.leggi("paziente.txt");
    s.form->Stampa_Click();
    ASSERT_EQ(s.messaggi.mostrati.size(), 1U);
    EXPECT_EQ(s.messaggi.mostrati[0].testo, "Impossibile stabilire una connessione!");
    EXPECT_TRUE(s.stampata.testo("protocollo").empty());
    EXPECT_EQ(s.form->certificati.size(), 0U);
    EXPECT_EQ(s.cartella.leggi("paziente.txt"), prima);
    EXPECT_TRUE(s.form->Stampa.Enabled);
}

TEST(SostitutiDegliStrumenti, UnoStatoHttpSenzaBustaDiceCheCosaEAndatoStorto) {
    const struct {
        std::string stato;
        std::string messaggio;
    } casi[] = {
        {"401 Unauthorized", "rifiutato il nome utente o la password (errore HTTP 401)"},
        {"403 Forbidden", "rifiutato il nome utente o la password (errore HTTP 403)"},
        {"503 Service Unavailable", "non \xE8 disponibile in questo momento (errore HTTP 503)"},
        {"404 Not Found", "risposta inattesa (errore HTTP 404)"},
    };
    for (const auto& c : casi) {
        Studio s;
        s.cartella.scrivi("Sogei/stato_http", c.stato);
        s.form->Stampa_Click();
        ASSERT_EQ(s.messaggi.mostrati.size(), 1U) << c.stato;
        EXPECT_NE(s.primo_messaggio().find(c.messaggio), std::string::npos) << s.primo_messaggio();
        EXPECT_EQ(s.primo_messaggio().find(password), std::string::npos);
        EXPECT_EQ(s.form->certificati.size(), 0U);
        EXPECT_TRUE(s.form->Stampa.Enabled);
    }
}

TEST(SostitutiDegliStrumenti, EliminaAnnullaETogliePoiRiscriveIlFileDiScambio) {
    Studio s("000certificato=20240105093000" + sep + "PROT1" + sep + "05/01/2024\r\n");
    Elimina browser(*s.form);
    collega_annullamento_nazionale(browser, *s.form, *s.invio);
    s.risponde(ricevuta_annullamento);
    s.messaggi.risposte = {Risposta::si};
    browser.archivio_Click();
    browser.list1_Click(0);
    browser.elimina_Click();
    EXPECT_EQ(s.form->certificati.size(), 0U) << s.primo_messaggio();
    const auto chiamate = s.chiamate();
    ASSERT_FALSE(chiamate.empty());
    EXPECT_TRUE(valore_di(chiamate.back(), "--url").ends_with("/services/AnnullamentoCertificato"));
    EXPECT_NE(s.cartella.leggi("Sogei/corpo_curl.txt").find("PROT1"), std::string::npos);
    EXPECT_EQ(s.cartella.leggi("paziente.txt").find("PROT1"), std::string::npos);
}

} // namespace
} // namespace meravo
