// The module's national road for real: the form, curl and openssl from the system, and the
// local stand-in of the service on a free loopback port.
#include "form/frm_meravo.h"
#include "national/invio_inps.h"
#include "text/testo.h"

#include "doppi/doppi.h"
#include "studio_inps.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace meravo {
namespace {

namespace fs = std::filesystem;

constexpr const char* utente = prova::SimulatoreProva::utente;
constexpr const char* password = prova::SimulatoreProva::password;
constexpr const char* pin = prova::SimulatoreProva::pin;

std::string json(const std::string& cp1252) {
    std::string s = "\"";
    for (char c : testo::cp1252_a_utf8(cp1252)) {
        switch (c) {
        case '"':
            s += "\\\"";
            break;
        case '\\':
            s += "\\\\";
            break;
        case '\r':
            s += "\\r";
            break;
        case '\n':
            s += "\\n";
            break;
        default:
            s.push_back(c);
        }
    }
    return s + "\"";
}

// The national road, with the user name given with blanks around it: it must reach the
// service trimmed.
struct Studio : prova::StudioInps {
    explicit Studio(int ritardo_ms = 0)
        : StudioInps("000cod regione=030\r\n000asl=308\r\n000utente= " + std::string(utente) +
                         " \r\n",
                     ritardo_ms) {}

    // No work file of the tools is left: credentials, request, encryption.
    bool sogei_pulita() const {
        for (const auto& voce : fs::directory_iterator(cartella.percorso() / "Sogei")) {
            const auto nome = voce.path().filename().string();
            if (nome.rfind("stringa", 0) == 0 || nome == "calcola.bat" ||
                nome == "credenziali.cfg" || nome == "richiesta.xml") {
                return false;
            }
        }
        return true;
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
    std::string nota;
    for (int i = 0; nota.size() < 100 * 1024; ++i) {
        nota += "Nota riservata " + std::to_string(i) + " del paziente\r\n";
    }
    nota += "fine"; // sent trimmed: no line break at the end
    s.form->note_diagnosi.Text = nota;
    const std::vector<std::string> segreti = {
        password,           pin, utente, "BNCGLI85C41F205Q", "Nota riservata", "Via Lecco",
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
    const bool inviato = s.invio->invia_certificato_inps();
    finito = true;
    spia.join();
    ASSERT_TRUE(inviato) << (s.messaggi.mostrati.empty() ? "" : s.messaggi.mostrati[0].testo);
    EXPECT_GT(curl_visti, 0); // the look really happened while curl ran
    EXPECT_TRUE(esposti.empty()) << esposti.front();
    EXPECT_NE(s.simulatore.ultima_richiesta().find(json(nota)), std::string::npos);
    EXPECT_TRUE(s.sogei_pulita());
}

TEST(InvioInps, RicevutaConNoteDaEscapeECredenzialiCifrate) {
    Studio s;
    s.form->note_diagnosi.Text = "Dolore \"acuto\" & febbre <38\xB0\r\nda ieri, l'altro";
    ASSERT_TRUE(s.invio->invia_certificato_inps())
        << (s.messaggi.mostrati.empty() ? "" : s.messaggi.mostrati[0].testo);
    EXPECT_FALSE(s.form->protocollo.empty());
    const auto voce = s.simulatore.ultima_richiesta();
    EXPECT_NE(voce.find("\"pinCorretto\":true"), std::string::npos) << voce;
    EXPECT_NE(voce.find("\"codiceFiscale\":\"BNCGLI85C41F205Q\""), std::string::npos) << voce;
    EXPECT_NE(voce.find("\"idCertificato\":\"" + s.form->protocollo + "\""), std::string::npos);
    EXPECT_NE(voce.find(json(s.form->note_diagnosi.Text)), std::string::npos) << voce;
    EXPECT_TRUE(s.sogei_pulita());
    // The copies for support staff are there, without the credentials.
    const auto risposta = s.cartella.leggi("risposta.txt");
    EXPECT_NE(risposta.find("ricevutaOK"), std::string::npos);
    EXPECT_EQ(risposta.find("Authorization: Basic"), std::string::npos);
    EXPECT_NE(s.cartella.leggi("invio.txt").find("<InvioCertificato"), std::string::npos);
}

TEST(InvioInps, ErroriDelServizioPasswordSbagliataEServizioSpento) {
    const struct {
        std::string caso;
        std::function<void(Studio&)> prepara;
        std::string messaggio;
    } casi[] = {
        {"date", [](Studio& s) { s.form->dt_fine.Text("01/01/2024"); },
         "Impossibile stampare il certificato per i seguenti motivi:\r\n"},
        {"pin", [](Studio& s) { s.form->cf_medico.Text = "999"; },
         "Impossibile stampare il certificato per i seguenti motivi:\r\n"},
        {"password", [](Studio& s) { s.form->password.Text = "sbagliata"; },
         "Il servizio INPS ha rifiutato il nome utente o la password (errore HTTP 401)"},
        {"spento", [](Studio& s) { s.simulatore.ferma(); },
         "Impossibile stabilire una connessione!"},
    };
    for (const auto& c : casi) {
        Studio s;
        c.prepara(s);
        EXPECT_FALSE(s.invio->invia_certificato_inps()) << c.caso;
        ASSERT_FALSE(s.messaggi.mostrati.empty()) << c.caso;
        EXPECT_EQ(s.messaggi.mostrati.back().testo.substr(0, c.messaggio.size()), c.messaggio)
            << c.caso << ": " << s.messaggi.mostrati.back().testo;
        EXPECT_TRUE(s.sogei_pulita()) << c.caso;
    }
}

TEST(InvioInps, CifraturaConSogeiNonScrivibileOSenzaStrumento) {
    Studio s;
    // "stringa.txt" cannot be created in Sogei: the work files go to a private folder.
    fs::create_directory(s.cartella.percorso() / "Sogei" / "stringa.txt");
    s.cartella.scrivi("Sogei/stringa.txt/occupato", "");
    const auto cifrato = s.invio->cripta_stringa("  BNCGLI85C41F205Q ");
    EXPECT_EQ(cifrato.size(), 344U) << cifrato; // RSA-2048 in Base64 on one line
    EXPECT_EQ(cifrato.find_first_of("\r\n"), std::string::npos);
    EXPECT_TRUE(s.messaggi.mostrati.empty());
    fs::remove_all(s.cartella.percorso() / "Sogei" / "stringa.txt");

    // Without the tool: the runner says so, the result is empty and nothing is left behind.
    fs::remove(s.cartella.percorso() / "Sogei" / "openssl");
    EXPECT_EQ(s.invio->cripta_stringa("1234"), "");
    ASSERT_EQ(s.messaggi.mostrati.size(), 2U);
    EXPECT_EQ(s.messaggi.mostrati[0].testo, "File or command not found");
    EXPECT_TRUE(s.sogei_pulita());
}

} // namespace
} // namespace meravo
