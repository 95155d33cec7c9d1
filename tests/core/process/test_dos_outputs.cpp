#include "process/dos_outputs.h"
#include "process/processo_figlio.h"
#include "process/riga_comando.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

#include <deque>

#ifndef _WIN32
#include <filesystem>
#include <sys/wait.h>
#endif

namespace meravo {
namespace {

using prova::MessaggiRegistrati;

std::string figlio(const std::string& azioni = "") {
    auto riga = riga_comando::quota_argomento(prova::percorso_accanto("figlio"));
    return azioni.empty() ? riga : riga + " " + azioni;
}

struct Esecuzione {
    MessaggiRegistrati messaggi;
    DOSOutputs dos{messaggi};
    std::vector<std::string> pezzi;

    Esecuzione() {
        dos.ReceiveOutputs = [this](std::string& pezzo) { pezzi.push_back(pezzo); };
    }
};

TEST(DOSOutputs, SenzaUsciteUnSoloEventoVuoto) {
    Esecuzione e;
    e.dos.CommandLine(figlio());
    EXPECT_EQ(e.dos.ExecuteCommand(), "");
    EXPECT_EQ(e.pezzi, std::vector<std::string>{""});
    EXPECT_TRUE(e.messaggi.mostrati.empty());
    EXPECT_EQ(e.dos.CodiceUscita(), 0);
}

TEST(DOSOutputs, SeicentoByteInPezziDaAlPiu256PoiUnoVuoto) {
    Esecuzione e;
    e.dos.CommandLine(figlio("byte 600"));
    e.dos.ExecuteCommand();
    EXPECT_EQ(e.dos.Outputs(), std::string(600, 'x'));
    ASSERT_EQ(e.pezzi.size(), 4U);
    EXPECT_EQ(e.pezzi[0].size(), 256U);
    EXPECT_EQ(e.pezzi[1].size(), 256U);
    EXPECT_EQ(e.pezzi[2].size(), 88U);
    EXPECT_EQ(e.pezzi[3], "");
}

// A read that succeeds with 0 bytes (on Windows, what a child's write of nothing gives) does not
// end the output: only a read that fails does.
TEST(DOSOutputs, UnaLetturaVuotaRiuscitaNonChiudeLUscita) {
    struct FiglioFinto final : ProcessoFiglio {
        std::deque<std::optional<std::string>> letture{"uno", "", "due", std::nullopt};
        std::optional<std::size_t> leggi(char* buffer, std::size_t) override {
            const auto letta = letture.front();
            letture.pop_front();
            if (letta) {
                letta->copy(buffer, letta->size());
            }
            return letta ? std::optional(letta->size()) : std::nullopt;
        }
        int attendi_fine() override { return 0; }
    } figlio;
    Esecuzione e;
    EXPECT_EQ(e.dos.leggi_uscite(figlio), "unodue");
    EXPECT_EQ(e.pezzi, (std::vector<std::string>{"uno", "", "due", ""}));
}

TEST(DOSOutputs, ErroreStandardIntercalatoComeScritto) {
    Esecuzione e;
    const auto uscite =
        e.dos.ExecuteCommand(figlio(R"(out "uno " err "due " out "tre " err quattro exit 3)"));
    EXPECT_EQ(uscite, "uno due tre quattro");
    EXPECT_EQ(e.dos.Outputs(), uscite);
    EXPECT_EQ(e.dos.CodiceUscita(), 3);
}

TEST(DOSOutputs, ArgomentoDiExecuteCommand) {
    Esecuzione e;
    e.dos.CommandLine(figlio("out primo"));
    EXPECT_EQ(e.dos.ExecuteCommand(figlio("out secondo")), "secondo");
    EXPECT_EQ(e.dos.CommandLine(), figlio("out secondo"));
    // An empty argument keeps the command line set before.
    EXPECT_EQ(e.dos.ExecuteCommand(std::string()), "secondo");
    EXPECT_EQ(e.dos.ExecuteCommand(), "secondo");
}

TEST(DOSOutputs, ComandoVuotoOInesistente) {
    const struct {
        std::string riga;
        std::string messaggio;
    } casi[] = {
        {"", "Command Line empty"},
        {"programma_che_non_esiste_meravo -x", "File or command not found"},
        {"   ", "File or command not found"},
    };
    for (const auto& c : casi) {
        Esecuzione e;
        e.dos.ExecuteCommand(figlio("out precedente"));
        e.pezzi.clear();
        e.dos.CommandLine(c.riga);
        EXPECT_EQ(e.dos.ExecuteCommand(), "") << c.riga;
        ASSERT_EQ(e.messaggi.mostrati.size(), 1U) << c.riga;
        EXPECT_EQ(e.messaggi.mostrati[0].testo, c.messaggio);
        EXPECT_EQ(e.messaggi.mostrati[0].titolo, "Meravo");
        EXPECT_EQ(e.messaggi.mostrati[0].icona, Icona::critico);
        EXPECT_TRUE(e.pezzi.empty());
        // Nothing started, so the last run's outputs stay.
        EXPECT_EQ(e.dos.Outputs(), "precedente");
    }
}

// The child receives exactly the arguments our splitter reads from the command line: on Windows
// this holds the splitter to the real C runtime, elsewhere it checks what reaches the child.
TEST(DOSOutputs, IlFiglioRiceveGliArgomentiComeLiDivideIlSeparatore) {
    const std::string code[] = {
        R"(a "b c" d)",
        R"(a\\"b c" x\\"y)",
        R"("C:\Program Files\" 'q' "s\"t")",
        "\"<xml a='1'>\r\n</xml>\" -k",
        R"(-u "utente:pass word" --cacert "C:\a b\mirCa.pem")",
    };
    for (const auto& coda : code) {
        Esecuzione e;
        const auto riga = figlio("argomenti " + coda);
        const auto uscite = e.dos.ExecuteCommand(riga);
        std::vector<std::string> ricevuti;
        for (std::size_t i = 0, fine; (fine = uscite.find('\x01', i)) != std::string::npos;
             i = fine + 1) {
            ricevuti.push_back(uscite.substr(i, fine - i));
        }
        auto attesi = riga_comando::dividi(riga);
        attesi.erase(attesi.begin(), attesi.begin() + 2);
        EXPECT_EQ(ricevuti, attesi) << coda;
    }
}

#ifdef _WIN32

TEST(DOSOutputs, ComandiDiCmd) {
    Esecuzione e;
    EXPECT_EQ(e.dos.ExecuteCommand("cmd /c echo ciao"), "ciao\r\n");
    EXPECT_EQ(e.dos.ExecuteCommand("cmd /c echo errore 1>&2"), "errore \r\n");
    EXPECT_EQ(e.pezzi.back(), "");
}

#else

std::size_t descrittori_aperti() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& voce : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++n;
    }
    return n;
}

TEST(DOSOutputs, MigliaiaDiEsecuzioniNonLascianoDescrittoriNeFigli) {
    Esecuzione e;
    e.dos.ReceiveOutputs = nullptr;
    e.dos.ExecuteCommand("/bin/true");
    const auto prima = descrittori_aperti();
    for (int i = 0; i < 2000; ++i) {
        e.dos.ExecuteCommand(i % 2 == 0 ? "/bin/true" : "non_esiste_meravo");
    }
    EXPECT_EQ(descrittori_aperti(), prima);
    EXPECT_EQ(e.messaggi.mostrati.size(), 1000U);
    // Every child was reaped: there is none left to wait for.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

#endif

} // namespace
} // namespace meravo
