// The form's national road through the real process runner of the platform (on Windows,
// CreateProcess and the tools' own C runtime splitting the command line) with stand-ins of
// curl and openssl in the program's Sogei folder: what the module quoted must arrive intact,
// and the send-and-print sequence must end with the exchange file written.
#include "form/frm_meravo.h"
#include "national/annullamento_inps.h"
#include "national/invio_inps.h"
#include "national/trasporto_inps.h"

#include "codifica_prova.h"
#include "doppi/banco_form.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace meravo {
namespace {

namespace fs = std::filesystem;

const std::string utente = "RSSMRA60A01F205Z";
// Blanks, quotes and backslashes: every rule of the Windows command-line splitting at once.
const std::string password = "pa ss\"wo\\\"rd\\";
const std::string pin = "12 34\"";

// The stand-ins installed as the program's tools, the form started on a patient and filled
// for a valid certificate, and the national road bound to it.
struct Studio : prova::BancoForm {
    std::unique_ptr<InvioInps> invio;

    Studio() {
        const auto p = cartella.percorso();
        fs::create_directories(strumenti_sogei::cartella(p));
        // Installed with the stand-in's own extension: the runner finds "Curl" as "Curl.exe".
        const auto estensione = fs::path(MERAVO_SOSTITUTO).extension();
        for (auto strumento : {strumenti_sogei::curl(p), strumenti_sogei::openssl(p)}) {
            fs::copy_file(MERAVO_SOSTITUTO, strumento.replace_extension(estensione));
        }
        copia_tabelle(MERAVO_DATI_ESEMPIO);
        compilato("000utente=" + utente + "\r\n000password=" + password + "\r\n000pin=" + pin +
                  "\r\n");
        invio = std::make_unique<InvioInps>(*form);
        collega_invio_nazionale(*form, *invio);
    }
};

// A receipt of 20 KB: the service's notices come before its receipt element.
const std::string ricevuta_lunga =
    "<soapenv:Envelope xmlns:soapenv='http://schemas.xmlsoap.org/soap/envelope/'><soapenv:Body>"
    "<InvioCertificatoResponse xmlns='r'><avvisi>" +
    std::string(20 * 1024, 'a') +
    "</avvisi><ricevutaOK><idCertificato>2024W0001</idCertificato></ricevutaOK>"
    "</InvioCertificatoResponse></soapenv:Body></soapenv:Envelope>\r\n";

TEST(SostitutiDegliStrumenti, StampaEsciInviaStampaEScriveIlFileDiScambio) {
    Studio s;
    s.cartella.scrivi("Sogei/risposta_sostituto.txt", ricevuta_lunga);
    s.form->note_diagnosi.Text = "Dolore \"acuto\" & febbre\r\nda ieri";
    s.form->opt_tipo = 1; // Continuazione, at the worker's home
    s.form->opt_visita = 1;
    s.form->Stampa_Click();
    ASSERT_TRUE(s.messaggi.mostrati.empty()) << s.primo_messaggio();

    // PIN and fiscal code each through encryption and base64, then one post: every command line
    // the stand-ins received, a line each, every argument as their C runtime split it ended by
    // \x1f.
    const auto chiamate = s.cartella.leggi("Sogei/chiamate.txt");
    EXPECT_TRUE(std::regex_match(chiamate, std::regex("(rsautl\x1f.*\nbase64\x1f.*\n){2}"
                                                      ".*/services/InvioCertificato\x1f.*\n")))
        << chiamate;
    EXPECT_EQ(s.cartella.leggi("Sogei/configurazione_curl.txt"),
              "user = \"RSSMRA60A01F205Z:pa ss\\\"wo\\\\\\\"rd\\\\\"\n");
    const auto richiesta = s.cartella.leggi("Sogei/corpo_curl.txt");
    EXPECT_EQ(richiesta + "\r\n", s.cartella.leggi("invio.txt"));
    for (const auto* parte : {">D</visita>", ">C</tipoCertificato>"}) {
        EXPECT_NE(richiesta.find(parte), std::string::npos) << parte;
    }
    // Any user of the machine can read a command line: neither secrets nor health data on it.
    for (const auto& segreto : {password, pin, std::string("Dolore"), std::string("BNCN")}) {
        EXPECT_EQ(chiamate.find(segreto), std::string::npos) << segreto;
    }
    EXPECT_NE(richiesta.find(prova::codifica("cifrato:" + pin)), std::string::npos) << richiesta;

#ifndef _WIN32
    // The copies for support staff and the tools' work files (credentials, PIN, fiscal code,
    // the request) hold secrets or the patient's data: the user's alone.
    for (const char* copia : {"invio.txt", "risposta.txt"}) {
        EXPECT_EQ(fs::status(s.cartella.percorso() / copia).permissions() &
                      (fs::perms::group_all | fs::perms::others_all),
                  fs::perms::none)
            << copia;
    }
    EXPECT_EQ(s.cartella.leggi("Sogei/permessi.txt"), "600 700\n600 700\n600 700\n600 700\n");
#endif
    // The copy keeps curl's trace and the answer whole, without the credentials (HTTP/2's form).
    const auto risposta = s.cartella.leggi("risposta.txt");
    EXPECT_NE(risposta.find("< HTTP/2 200\n" + ricevuta_lunga), std::string::npos);
    EXPECT_EQ(risposta.find("U0VHUkVUTw=="), std::string::npos);
    // The certificate is in the exchange file the clinical-records program reads back, as the
    // worker's copy showed it (the record is that copy's fields).
    EXPECT_EQ(s.cartella.leggi("paziente.txt"),
              prova::CartellaTemporanea::leggi_file(MERAVO_ATTESI "/paziente_scritto.txt"));

    // Cancelled from the archive through the same tools: the record's protocol and the worker's
    // fiscal code travel, the latter encrypted, with the doctor's PIN.
    s.cartella.scrivi(
        "Sogei/risposta_sostituto.txt",
        "<soapenv:Envelope xmlns:soapenv='s'><soapenv:Body><ns2:AnnullamentoCertificato"
        "Response xmlns:ns2='r'><ns2:ricevutaAnnullamentoOK><ns2:idAnnullamento>A-7"
        "</ns2:idAnnullamento></ns2:ricevutaAnnullamentoOK></ns2:Annullamento"
        "CertificatoResponse></soapenv:Body></soapenv:Envelope>");
    EXPECT_EQ(annulla_certificato_inps(*s.form, *s.invio, "20240105093000"), EsitoInvio::riuscito)
        << s.primo_messaggio();
    EXPECT_EQ(s.form->protocollo, "A-7");
    const auto annullamento = s.cartella.leggi("Sogei/corpo_curl.txt");
    for (const auto& [elemento, valore] :
         {std::pair{"pincodeMedico", prova::codifica("cifrato:" + pin)},
          {"codiceFiscaleLavoratore", prova::codifica("cifrato:BNCNNA80A41F205X")},
          {"idCertificato", std::string("2024W0001")}}) {
        const auto inizio = annullamento.find('>', annullamento.find(std::string("<") + elemento));
        EXPECT_EQ(annullamento.substr(inizio + 1, valore.size() + 1), valore + "<") << elemento;
    }
}

TEST(SostitutiDegliStrumenti, RispostaInterrottaDopoLaRichiestaEsitoIgnotoMaiInviato) {
    const std::string interrotta = "collegamento interrotto, errore 18 di curl";
    const struct {
        long taglio;        // bytes of the answer that come; -1: no connection; -2: all of 9 MB
        int codice;         // curl's exit status
        std::string motivo; // of the unknown outcome; none: no connection was made
    } casi[] = {
        {-1, 28, ""},
        {0, 28, "tempo di attesa scaduto"},
        {300, 56, "collegamento interrotto, errore 56 di curl"},
        {long(ricevuta_lunga.find("0001</id")), 18, interrotta},
        {long(ricevuta_lunga.size()) - 4, 18, interrotta},
        {-2, 0, "risposta di oltre 8 MB"},
    };
    for (const auto& c : casi) {
        Studio s;
        s.cartella.scrivi("Sogei/risposta_sostituto.txt",
                          c.taglio == -2 ? std::string(9 << 20, ' ') + ricevuta_lunga
                                         : ricevuta_lunga);
        s.cartella.scrivi("Sogei/taglio_sostituto.txt",
                          std::to_string(c.taglio) + " " + std::to_string(c.codice));
        EXPECT_EQ(s.invio->invia_certificato_inps(),
                  c.motivo.empty() ? EsitoInvio::rifiutato : EsitoInvio::incerto);
        EXPECT_TRUE(s.primo_messaggio().starts_with(
            c.motivo.empty() ? "Impossibile stabilire una connessione!"
                             : "Esito dell'invio sconosciuto (" + c.motivo + "): la richiesta"))
            << s.primo_messaggio();
    }
}

} // namespace
} // namespace meravo
