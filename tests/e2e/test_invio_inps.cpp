// The module's national road for real: the form, curl and openssl from the system, and the
// local stand-in of the service on a free loopback port; a certificate sent, then cancelled
// from the archive browser. The stand-in's own rules are met through the module's request and
// transport too, so that what they are checked against is what the module really sends.
#include "archive/elimina.h"
#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"
#include "national/annullamento_inps.h"
#include "national/invio_inps.h"
#include "national/richiesta_annullamento.h"
#include "national/richiesta_inps.h"
#include "national/risposta_inps.h"
#include "text/documento_soap.h"
#include "text/testo.h"

#include "doppi/banco_form.h"
#include "simulatore_prova.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace meravo {
namespace {

namespace fs = std::filesystem;
using prova::SimulatoreProva;
using ::testing::HasSubstr;

// The text as the stand-in's log writes it: UTF-8 in a JSON string.
std::string json(const std::string& cp1252) {
    static const std::map<char, std::string> escape = {
        {'"', "\\\""}, {'\\', "\\\\"}, {'\r', "\\r"}, {'\n', "\\n"}};
    std::string s = "\"";
    for (const char c : testo::cp1252_a_utf8(cp1252)) {
        const auto e = escape.find(c);
        s += e == escape.end() ? std::string(1, c) : e->second;
    }
    return s + "\"";
}

// The national road with the sender and the archive browser bound to it.
struct Studio : prova::StudioInps {
    std::unique_ptr<InvioInps> invio = std::make_unique<InvioInps>(*form);
    std::unique_ptr<Elimina> browser = std::make_unique<Elimina>(*form);

    explicit Studio(int ritardo_ms = 0, bool con_stato = false)
        : StudioInps(ritardo_ms, con_stato) {
        collega_annullamento_nazionale(*browser, *form, *invio);
    }

    // No work file of the tools is left: credentials, request, encryption, their folders.
    bool sogei_pulita() const {
        for (const auto& voce : fs::directory_iterator(cartella.percorso() / "Sogei")) {
            const auto nome = voce.path().filename().string();
            if (nome.starts_with("stringa") || nome.starts_with("lavoro") ||
                nome == "credenziali.cfg" || nome == "richiesta.xml") {
                return false;
            }
        }
        return true;
    }

    // `richiesta` with the text of `pincode` and `codiceFiscale` encrypted, as the module sends
    // them, posted to `endpoint`: what curl brought back.
    RispostaServizio invia(std::string richiesta, const std::string& endpoint) {
        for (const std::string nome : {"pincode", "codiceFiscale"}) {
            const auto elemento = richiesta.find("<" + nome + " ");
            if (elemento != std::string::npos) {
                const auto inizio = richiesta.find('>', elemento) + 1;
                const auto n = richiesta.find('<', inizio) - inizio;
                richiesta.replace(inizio, n, invio->cripta_stringa(richiesta.substr(inizio, n)));
            }
        }
        return invio->invia_messaggio_soap(richiesta, endpoint);
    }
    std::string esito_annullamento(const std::string& pin, const std::string& cf,
                                   const std::string& id) {
        const auto richiesta = componi_richiesta_annullamento(invio->cripta_stringa(pin),
                                                              invio->cripta_stringa(cf), id);
        return esito(invia(richiesta, form->endpoint_annullamento), "ns2:");
    }

    // What curl brought back, in one line: the HTTP status, then the service's error types in
    // order (a type without a description marked '?') or its fault's code.
    static std::string esito(const RispostaServizio& r, const std::string& prefisso = "") {
        auto testo = std::to_string(r.stato.value_or(0));
        for (const auto& [inizio, fine] : {std::pair{"<soapenv", "</soapenv:Envelope>"},
                                           std::pair{"<env:Envelope", "</env:Envelope>"}}) {
            const auto busta = trova_busta(r.corpo, inizio, fine);
            const auto d = busta.testo ? DocumentoSoap::carica(*busta.testo) : std::nullopt;
            for (const auto& e :
                 d ? d->testi_dei_figli(prefisso + "errore",
                                        {prefisso + "tipoErrore", prefisso + "descrizione"})
                   : std::vector<std::vector<std::string>>{}) {
                testo += " " + e[0] + (e[1].empty() ? "?" : "");
            }
            testo += d && d->testo_primo("faultcode") ? " " + *d->testo_primo("faultcode") : "";
        }
        return testo;
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
    for (int i = 0; nota.size() < 100 * 1024; ++i) {
        nota += "Nota riservata " + std::to_string(i) + " del paziente\r\n";
    }
    nota += "fine"; // sent trimmed: no line break at the end
    s.form->note_diagnosi.Text = nota;
    const std::vector<std::string> segreti = {SimulatoreProva::password, SimulatoreProva::pin,
                                              SimulatoreProva::utente,   "BNCGLI85C41F205Q",
                                              "Nota riservata",          "Via Lecco",
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
                              std::string("\"codiceFiscale\":\"BNCGLI85C41F205Q\""),
                              "\"idCertificato\":\"" + s.form->protocollo + "\"", json(nota)}) {
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
         {SimulatoreProva::password, SimulatoreProva::pin, "BNCGLI85C41F205Q", "Authorization"}) {
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
    const auto cifrato = s.invio->cripta_stringa("  BNCGLI85C41F205Q ");
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

TEST(AnnullamentoInps, AnnullatoGiaAnnullatoRifiutatoPoiRiavvioSulloStessoFileDiStato) {
    Studio s(0, true);
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
    // The service's other refusals; wrong credentials learn nothing about the certificate.
    const std::string pin = SimulatoreProva::pin, cf = "BNCGLI85C41F205Q";
    EXPECT_EQ(s.esito_annullamento(pin, cf, "999999999"), "200 102");
    EXPECT_EQ(s.esito_annullamento("un-altro-pin", cf, "999999999"), "200 101");
    ASSERT_EQ(s.invio->invia_certificato_inps(), EsitoInvio::riuscito);
    const auto in_vigore = s.form->protocollo;
    EXPECT_EQ(s.esito_annullamento(pin, "BNCLRA85M41F205X", in_vigore), "200 104");
    EXPECT_EQ(s.simulatore.ferma(), 0);
    EXPECT_THAT(s.simulatore.diario(), HasSubstr("fermato"));
    EXPECT_EQ(fs::status(s.cartella.percorso() / "stato.xml").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    // Restarted on the same port and state; a second one there fails instead of sharing it.
    SimulatoreProva riavviato(MERAVO_SIMULATORE, MERAVO_PKI, s.cartella.percorso(), 0,
                              s.simulatore.porta(), true);
    prova::CartellaTemporanea altra;
    EXPECT_EQ(SimulatoreProva(MERAVO_SIMULATORE, MERAVO_PKI, altra.percorso(), 0, riavviato.porta())
                  .ferma(),
              1);
    EXPECT_EQ(s.esito_annullamento(pin, cf, id_certificato), "200 105");
    EXPECT_EQ(s.esito_annullamento(pin, cf, in_vigore), "200");
    ASSERT_EQ(s.invio->invia_certificato_inps(), EsitoInvio::riuscito);
    EXPECT_NE(s.form->protocollo, id_certificato);
    EXPECT_NE(s.form->protocollo, in_vigore);

    // A state file that is not the simulator's is never overwritten.
    altra.scrivi("stato.xml", "<rotto");
    EXPECT_EQ(
        SimulatoreProva(MERAVO_SIMULATORE, MERAVO_PKI, altra.percorso(), 0, "0", true).ferma(), 1);
    EXPECT_EQ(altra.leggi("stato.xml"), "<rotto");
}

// The HTTP status of curl run by hand, for what the module never sends.
std::string stato_curl(const std::string& argomenti) {
    const auto comando =
        "curl -s -o /dev/null -w '%{http_code}' --cacert " MERAVO_PKI "/mirCa.pem " + argomenti;
    FILE* curl = popen(comando.c_str(), "r");
    char stato[3];
    const auto letti = std::fread(stato, 1, sizeof stato, curl);
    pclose(curl);
    return {stato, letti};
}

TEST(SimulatoreInps, CredenzialiEOgniRegolaDellaRichiesta) {
    Studio s;
    const std::string utente = SimulatoreProva::utente, password = SimulatoreProva::password;
    const auto invio = s.form->endpoint_invio;
    for (const auto& [u, p] : {std::pair<std::string, std::string>{"altro", password},
                               {utente, "sbagliata"},
                               {utente, password + "x"},
                               {"", ""}}) {
        s.form->utente.Text = u;
        s.form->password.Text = p;
        for (const auto& endpoint : {invio, s.form->endpoint_annullamento}) {
            EXPECT_EQ(Studio::esito(s.invia("", endpoint)), "401") << u << ":" << p;
        }
    }
    EXPECT_THAT(s.simulatore.ultima_richiesta(), HasSubstr("\"esito\":\"non autorizzato\""));
    EXPECT_EQ(stato_curl("--data x " + invio), "401");
    EXPECT_EQ(stato_curl("--basic --user '" + utente + ":" + password + "' " + invio), "405");
    s.form->utente.Text = utente;
    s.form->password.Text = password;

    // A valid certificate, to localhost as well: the server certificate names both.
    const std::string pin = SimulatoreProva::pin, cf = "BNCGLI85C41F205Q";
    const DatiRichiestaInvio dati{pin,          "030",    "308", cf,           "Via Roma 1",
                                  "20121",      "Milano", "MI",  "Bianchi",    "Via Po 2",
                                  "10121",      "Torino", "TO",  "04/01/2024", "05/01/2024",
                                  "08/01/2024", 0,        0,     "460",        "Febbre"};
    const auto valida = componi_richiesta_invio(dati);
    EXPECT_EQ(Studio::esito(
                  s.invia(valida, std::regex_replace(invio, std::regex("127.0.0.1"), "localhost"))),
              "200");
    EXPECT_THAT(s.simulatore.ultima_richiesta(),
                HasSubstr("\"indirizzoDiReperibilita/cognome\":\"Bianchi\""));

    // Each row: what is replaced (regular expressions) in the valid request, what the service
    // answers (status, then error types or the fault's code) and what its fault says.
    const std::string testo_intero = "[\\s\\S]+", cliente = "500 env:Client";
    const struct {
        std::vector<std::pair<std::string, std::string>> cambi;
        std::string esito, motivo = "";
    } casi[] = {
        {{{">1234567890<", ">un-altro-pin<"}}, "200 101"},
        {{{"F205Q<", "F205<"}}, "200 103"},
        {{{"F205Q<", "F205Q1<"}}, "200 103"},
        {{{">2024-01-04<", "><"}}, "200 201"},
        {{{">2024-01-05<", ">2023-02-29<"}}, "200 202"},
        {{{">2024-01-05<", ">2024-02-29<"}, {">2024-01-08<", ">2024-03-01<"}}, "200"},
        {{{">2024-01-08<", ">08/01/2024<"}}, "200 203"},
        {{{">2024-01-08<", ">2024-13-01<"}}, "200 203"},
        {{{">2024-01-05<", ">2024-01-09<"}}, "200 204"},
        {{{">A<", ">B<"}}, "200 205"},
        {{{">A<", ">a<"}}, "200 205"},
        {{{">I<", ">X<"}}, "200 206"},
        {{{">I<", "><"}}, "200 206"},
        {{{"<(codice|note)Diagnosi.*\r\n", ""}}, "200 207"},
        {{{"<codiceDiagnosi.*\r\n", ""}}, "200"},
        // Blanks alone are no diagnosis: the service reads the values as sent.
        {{{">460<", ">  <"}, {">Febbre<", ">   <"}}, "200 207"},
        {{{">20121<", ">2012<"}}, "200 208"},
        {{{">20121<", ">2012A<"}}, "200 208"},
        {{{">MI<", ">M1<"}}, "200 209"},
        {{{">MI<", ">MIL<"}}, "200 209"},
        {{{">10121<", "><"}}, "200 210"},
        {{{">TO<", "><"}}, "200 211"},
        {{{"<indirizzoDiReperibilita>[\\s\\S]*</indirizzoDiReperibilita>\r\n", ""}}, "200"},
        {{{">1234567890<", "><"}, {">20121<", ">1<"}, {"-01-08<", "-01-32<"}, {">A<", ">X<"}},
         "200 101 208 203 205"},
        {{{testo_intero, "<a>"}}, cliente, "XML non valido"},
        {{{testo_intero, ""}}, cliente, "XML non valido"},
        {{{testo_intero, "<InvioCertificato/>"}}, cliente, "non e' una busta SOAP"},
        {{{"xmlsoap.org/soap/envelope/", "w3.org/2003/05/soap-envelope"}},
         "500 env:VersionMismatch",
         "spazio dei nomi diverso"},
        {{{"InvioCertificato", "AnnullamentoCertificato"}}, cliente, "solo l'elemento Invio"},
        {{{"(<dataInizio.*\r\n)(<dataFine.*\r\n)", "$2$1"}}, cliente, "fuori posto"},
        {{{"<cap xmlns='[^']*'>", "<cap>"}}, cliente, "Elemento cap nello spazio dei nomi"},
        {{{"<lavoratore>[\\s\\S]*</lavoratore>", ""}}, cliente, "Manca l'elemento lavoratore"},
        {{{"codiceDiagnosi", "sesso"}}, cliente, "Elemento inatteso sesso"},
        {{{">A<", "><x/><"}}, cliente, "deve contenere solo testo"},
    };
    for (const auto& c : casi) {
        auto richiesta = valida;
        for (const auto& [espressione, sostituto] : c.cambi) {
            richiesta = std::regex_replace(richiesta, std::regex(espressione), sostituto);
        }
        const auto uscite = s.invia(richiesta, invio);
        EXPECT_EQ(Studio::esito(uscite), c.esito) << c.cambi[0].first;
        // The request log names the first error type.
        const auto tipo =
            c.esito.starts_with("200 ") ? "\"tipoErrore\":\"" + c.esito.substr(4, 3) : "";
        EXPECT_THAT(s.simulatore.ultima_richiesta(), HasSubstr(tipo));
        // The module reads the answer as the service meant it: a receipt, reasons or a fault.
        prova::MessaggiRegistrati m;
        std::string protocollo;
        EXPECT_EQ(interpreta_risposta_invio(uscite, m, protocollo) == EsitoInvio::riuscito,
                  c.esito == "200");
        EXPECT_THAT(m.mostrati.empty() ? "" : m.mostrati[0].testo, HasSubstr(c.motivo));
    }
}

} // namespace
} // namespace meravo
