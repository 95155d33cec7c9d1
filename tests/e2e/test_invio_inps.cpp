// The module's national road for real: the form, curl and openssl from the system, and the
// local stand-in of the service on a free loopback port; a certificate sent, then cancelled
// from the archive browser. The stand-in's own rules are its own test's.
#include "archive/elimina.h"
#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "national/annullamento_inps.h"
#include "national/invio_inps.h"

#include "doppi/banco_form.h"
#include "simulatore_prova.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace meravo {
namespace {

namespace fs = std::filesystem;
using prova::SimulatoreProva;

// The national road with the sender and the archive browser bound to it.
struct Studio : prova::StudioInps {
    std::unique_ptr<InvioInps> invio = std::make_unique<InvioInps>(*form);
    std::unique_ptr<Elimina> browser = std::make_unique<Elimina>(*form);

    explicit Studio(int ritardo_ms = 0) : StudioInps(ritardo_ms) {
        collega_annullamento_nazionale(*browser, *form, *invio);
    }

    // No work file of the tools is left: credentials, request, encryption, their folders.
    bool sogei_pulita() const {
        for (const auto& voce : fs::directory_iterator(cartella.percorso() / "Sogei")) {
            const auto nome = voce.path().filename().string();
            if (nome.starts_with("stringa") || nome.starts_with("meravo-lavoro") ||
                nome == "credenziali.cfg" || nome == "richiesta.xml") {
                return false;
            }
        }
        return true;
    }

    // Cancels row `indice` of the archive browser, the doctor answering `risposte`.
    void annulla(int indice, std::deque<Risposta> risposte) {
        messaggi.risposte = std::move(risposte);
        browser->carica_inps();
        browser->list1_Click(indice);
        browser->elimina_Click();
    }
};

// The command lines of the tools this process is running, as any local user can read them
// (other programs of the machine are not ours to judge).
std::vector<std::string> righe_di_comando_dei_figli() {
    std::vector<std::string> righe;
    const auto io = std::to_string(::getpid());
    std::error_code e;
    for (const auto& voce : fs::directory_iterator("/proc", e)) {
        std::ifstream stato(voce.path() / "stat");
        std::string pid, nome, condizione, genitore;
        if (!(stato >> pid >> nome >> condizione >> genitore) || genitore != io) {
            continue;
        }
        std::ifstream f(voce.path() / "cmdline", std::ios::binary);
        righe.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    return righe;
}

TEST(InvioInps, NessunaRigaDiComandoMostraSegretiODatiDelPaziente) {
    Studio s(500); // curl waits half a second for the answer: long enough to be looked at
    // Every character the request must escape, then 100 KB.
    std::string nota = "Dolore \"acuto\" & febbre <38\xB0\r\nda ieri, l'altro\r\n";
    // As the stand-in's log writes it: UTF-8 in a JSON string.
    std::string in_json = "\"Dolore \\\"acuto\\\" & febbre <38\xC2\xB0\\r\\nda ieri, l'altro\\r\\n";
    for (int i = 0; nota.size() < 100 * 1024; ++i) {
        const auto riga = "Nota riservata " + std::to_string(i) + " del paziente";
        nota += riga + "\r\n";
        in_json += riga + "\\r\\n";
    }
    nota += "fine"; // sent trimmed: no line break at the end
    in_json += "fine\"";
    s.form->note_diagnosi.Text = nota;
    const std::vector<std::string> segreti = {SimulatoreProva::password, SimulatoreProva::pin,
                                              SimulatoreProva::utente,   "BNCNNA80A41F205X",
                                              "Nota riservata",          "Via Roma 1",
                                              "<InvioCertificato"};
    std::atomic<bool> finito = false;
    int curl_visti = 0;
    std::vector<std::string> esposti;
    std::thread spia([&] {
        while (!finito) {
            for (const auto& riga : righe_di_comando_dei_figli()) {
                if (riga.find("meravo-simulatore-inps") != std::string::npos) {
                    continue; // the service's stand-in is given the password to expect
                }
                curl_visti += riga.find("/Sogei/curl") != std::string::npos ? 1 : 0;
                for (const auto& segreto : segreti) {
                    if (riga.find(segreto) != std::string::npos) {
                        esposti.push_back(segreto);
                    }
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const bool inviato = s.invio->invia_certificato_inps() == EsitoInvio::riuscito;
    finito = true;
    spia.join();
    ASSERT_TRUE(inviato) << s.primo_messaggio();
    EXPECT_GT(curl_visti, 0); // the look really happened while curl ran
    EXPECT_TRUE(esposti.empty()) << esposti.front();
    EXPECT_TRUE(s.sogei_pulita());

    // The service decrypted the credentials and got the note whole.
    const auto voce = s.simulatore.ultima_richiesta();
    for (const auto& parte : {std::string("\"esito\":\"ricevuta\",\"pinCorretto\":true"),
                              std::string("\"codiceFiscale\":\"BNCNNA80A41F205X\""),
                              "\"idCertificato\":\"" + s.form->protocollo + "\"", in_json}) {
        EXPECT_NE(voce.find(parte), std::string::npos) << parte.substr(0, 100);
    }
    // The copies for support staff are there, without the credentials.
    const auto risposta = s.cartella.leggi("risposta.txt");
    EXPECT_NE(risposta.find("ricevutaOK"), std::string::npos);
    EXPECT_EQ(risposta.find("Authorization: Basic"), std::string::npos);
    EXPECT_NE(s.cartella.leggi("invio.txt").find("<InvioCertificato"), std::string::npos);

    // The stand-in's own log says what it answered, and neither it nor the request log holds
    // a secret.
    EXPECT_EQ(s.simulatore.ferma(), 0);
    const auto& diario = s.simulatore.diario();
    EXPECT_NE(diario.find("risposta 200: ricevuta idCertificato " + s.form->protocollo),
              std::string::npos);
    for (const std::string segreto : {SimulatoreProva::password, SimulatoreProva::pin}) {
        EXPECT_EQ(voce.find(segreto), std::string::npos) << segreto;
    }
    for (const std::string segreto :
         {SimulatoreProva::password, SimulatoreProva::pin, "BNCNNA80A41F205X", "Authorization"}) {
        EXPECT_EQ(diario.find(segreto), std::string::npos) << segreto;
    }
}

// The study trusts another authority than the service's: the service's own certificate.
void altra_autorita(Studio& s) {
    const auto sogei = s.cartella.percorso() / "Sogei";
    fs::copy_file(sogei / "SanitelCF.cer", sogei / "mirCa.pem",
                  fs::copy_options::overwrite_existing);
}

TEST(InvioInps, ErroriDelServizioPasswordSbagliataAltraAutoritaEServizioSpento) {
    const std::string motivi = "Impossibile stampare il certificato per i seguenti motivi:\r\n";
    const struct {
        std::function<void(Studio&)> prepara;
        std::string messaggio;
    } casi[] = {
        {[](Studio& s) { s.form->dt_fine.Text("01/01/2024"); }, motivi},
        {[](Studio& s) { s.form->password.Text = "sbagliata"; },
         "Il servizio INPS ha rifiutato il nome utente o la password (errore HTTP 401)"},
        {[](Studio& s) { s.simulatore.ferma(); }, "Impossibile stabilire una connessione!"},
        // Another authority than the practice's file names, even when the user's configuration
        // of curl says to trust any server.
        {altra_autorita, "Impossibile stabilire una connessione!"},
        {[](Studio& s) {
             altra_autorita(s);
             s.cartella.scrivi(".curlrc", "insecure\n");
             setenv("HOME", s.cartella.percorso().c_str(), 1);
         },
         "Impossibile stabilire una connessione!"},
    };
    const std::string casa = std::getenv("HOME");
    for (const auto& c : casi) {
        Studio s;
        c.prepara(s);
        EXPECT_EQ(s.invio->invia_certificato_inps(), EsitoInvio::rifiutato) << c.messaggio;
        setenv("HOME", casa.c_str(), 1);
        ASSERT_FALSE(s.messaggi.mostrati.empty()) << c.messaggio;
        EXPECT_TRUE(s.messaggi.mostrati.back().testo.starts_with(c.messaggio))
            << s.messaggi.mostrati.back().testo;
        EXPECT_TRUE(s.sogei_pulita()) << c.messaggio;
    }
}

TEST(InvioInps, CifraturaOSenzaStrumento) {
    Studio s;
    const auto cifrato = s.invio->cripta_stringa("  BNCNNA80A41F205X ");
    EXPECT_EQ(cifrato.size(), 344U) << cifrato; // RSA-2048 in Base64 on one line
    EXPECT_EQ(cifrato.find_first_of("\r\n"), std::string::npos);
    EXPECT_TRUE(s.messaggi.mostrati.empty());

    // Without the tool: the runner says so, the result is empty and nothing is left behind.
    fs::remove(s.cartella.percorso() / "Sogei" / "openssl");
    EXPECT_EQ(s.invio->cripta_stringa("1234"), "");
    ASSERT_EQ(s.messaggi.mostrati.size(), 2U);
    EXPECT_EQ(s.primo_messaggio(), "File or command not found");
    EXPECT_TRUE(s.sogei_pulita());
}

TEST(AnnullamentoInps, AnnullatoGiaAnnullatoERifiutato) {
    Studio s;
    ASSERT_EQ(s.invio->invia_certificato_inps(), EsitoInvio::riuscito) << s.primo_messaggio();
    const auto id_certificato = s.form->protocollo;
    std::vector<std::optional<std::string>> campi(record_certificato::numero_campi - 1);
    campi[0] = id_certificato;
    campi[16] = s.form->txt_cf.Text;
    const auto record = *s.form->certificati.leggi(
        s.form->certificati.archivia_certificato(s.orologio.adesso(), campi));
    s.browser->archivio_Click();

    s.annulla(1, {Risposta::si});
    ASSERT_EQ(s.messaggi.mostrati.size(), 2U) << s.messaggi.mostrati.back().testo;
    const auto id_annullamento = s.form->protocollo;
    EXPECT_EQ(s.messaggi.mostrati[1].testo,
              "Certificato annullato: protocollo " + id_certificato +
                  ".\r\nIdentificativo dell'annullamento: " + id_annullamento);
    EXPECT_FALSE(id_annullamento.empty());
    EXPECT_NE(id_annullamento, id_certificato);
    const auto voce = s.simulatore.ultima_richiesta();
    EXPECT_NE(voce.find("\"idAnnullamento\":\"" + id_annullamento + "\""), std::string::npos)
        << voce;
    EXPECT_NE(voce.find("\"pinCorretto\":true"), std::string::npos) << voce;
    EXPECT_EQ(s.browser->list1(), std::vector<std::string>{"01/12/2023  prot. VECCHIO"});
    // Written at once: the caller's archive no longer holds the cancelled certificate.
    EXPECT_EQ(s.cartella.leggi("paziente.txt"), std::string(Studio::record_precedente) + "\r\n");

    // The record comes back (another copy of the caller's archive): the service says it is
    // already cancelled and the doctor decides; No keeps it.
    s.form->certificati.aggiungi_da_input(record);
    s.annulla(1, {Risposta::si, Risposta::no});
    ASSERT_EQ(s.messaggi.mostrati.size(), 4U);
    EXPECT_EQ(s.messaggi.mostrati[3].testo,
              "Certificato gi\xE0 annullato su server centrale. Eliminarlo in locale?");
    EXPECT_EQ(s.form->certificati.size(), 2U);
    EXPECT_EQ(s.form->protocollo, "\r\nCertificato annullato in precedenza");

    // A record that ends before the worker's fiscal code: it travels empty and is refused.
    s.annulla(0, {Risposta::si});
    ASSERT_EQ(s.messaggi.mostrati.size(), 6U);
    EXPECT_TRUE(s.messaggi.mostrati[5].testo.starts_with(
        "Impossibile eliminare il certificato per i seguenti motivi:\r\n"))
        << s.messaggi.mostrati[5].testo;
    EXPECT_EQ(s.form->certificati.size(), 2U);
    EXPECT_NE(s.simulatore.ultima_richiesta().find(
                  "\"codiceFiscale\":\"\",\"campi\":{\"idCertificato\":\"VECCHIO\"}"),
              std::string::npos)
        << s.simulatore.ultima_richiesta();
}

} // namespace
} // namespace meravo
