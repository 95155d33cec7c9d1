#include "process/dos_outputs.h"
#include "process/processo_figlio.h"
#include "process/r4_procedure.h"
#include "process/riga_comando.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <filesystem>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace meravo {
namespace {

std::string figlio(const std::string& azioni) {
    return riga_comando::quota_argomento(prova::percorso_accanto("figlio")) + " " + azioni;
}

struct Esecuzione {
    prova::MessaggiRegistrati messaggi;
    DOSOutputs dos{messaggi};
    std::vector<std::string> pezzi;
    Esecuzione() {
        dos.ReceiveOutputs = [this](std::string& pezzo) { pezzi.push_back(pezzo); };
    }
};

// The outputs come in pieces of at most 256 bytes, standard error where it was written among
// them, and an empty piece ends them.
TEST(DOSOutputs, UsciteInPezziPoiUnoVuoto) {
    const struct {
        std::string azioni, uscite;
        int codice;
        std::vector<std::size_t> pezzi; // empty: as the pipe gives them, then an empty one
    } casi[] = {
        {"exit 0", "", 0, {0}},
        {"out " + std::string(600, 'x'), std::string(600, 'x'), 0, {256, 256, 88, 0}},
        {R"(out "uno " err "due " out "tre " err quattro exit 3)", "uno due tre quattro", 3, {}},
    };
    for (const auto& c : casi) {
        Esecuzione e;
        EXPECT_EQ(e.dos.ExecuteCommand(figlio(c.azioni)), c.uscite);
        EXPECT_EQ(e.dos.Outputs(), c.uscite);
        EXPECT_EQ(e.dos.CodiceUscita(), c.codice);
        EXPECT_TRUE(e.messaggi.mostrati.empty());
        std::vector<std::size_t> pezzi(e.pezzi.size());
        std::ranges::transform(e.pezzi, pezzi.begin(), [](const auto& p) { return p.size(); });
        EXPECT_EQ(pezzi.back(), 0U) << c.azioni;
        EXPECT_TRUE(c.pezzi.empty() || pezzi == c.pezzi) << c.azioni;
    }
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

TEST(DOSOutputs, RigaDiComandoVuotaOInesistente) {
    const std::string casi[][2] = {
        {"", "Command Line empty"},
        {"programma_che_non_esiste_meravo -x", "File or command not found"},
        {"   ", "File or command not found"},
    };
    for (const auto& [riga, messaggio] : casi) {
        Esecuzione e;
        e.dos.CommandLine(figlio("out primo"));
        // An empty argument keeps the command line set before.
        EXPECT_EQ(e.dos.ExecuteCommand(std::string()), "primo");
        e.pezzi.clear();
        e.dos.CommandLine(riga);
        EXPECT_EQ(e.dos.ExecuteCommand(), "") << riga;
        ASSERT_EQ(e.messaggi.mostrati.size(), 1U) << riga;
        EXPECT_EQ(e.messaggi.mostrati[0].testo, messaggio);
        EXPECT_EQ(e.messaggi.mostrati[0].titolo, "Meravo");
        EXPECT_EQ(e.messaggi.mostrati[0].icona, Icona::critico);
        // Nothing started, so the last run's outputs stay.
        EXPECT_TRUE(e.pezzi.empty());
        EXPECT_EQ(e.dos.Outputs(), "primo");
    }
}

// The data file writes a tab as ⇥, a carriage return as ⏎ and a line feed as ↵.
std::string con_controlli(std::string testo) {
    for (const auto& [simbolo, c] : {std::pair{"⇥", '\t'}, {"⏎", '\r'}, {"↵", '\n'}}) {
        for (auto p = testo.find(simbolo); p != std::string::npos; p = testo.find(simbolo, p)) {
            testo.replace(p, std::string_view(simbolo).size(), 1, c);
        }
    }
    return testo;
}

// Each case of the data file: a rule, a text and what the rule makes of it. The arguments of the
// command lines, quoted again for one line, reach the child unchanged and split back the same:
// on Windows this holds our quoting and splitting to the real C runtime.
TEST(RigaComando, DivisionePercorsoEACapo) {
    // Backslashes are the quoting rules' own matter here: read as they stand.
    const auto casi = prova::casi_da_file(MERAVO_DATI_PROVA "/testi.txt", false);
    EXPECT_EQ(casi.size(), 32u);
    std::string riga = figlio("argomenti");
    auto argomenti = riga_comando::dividi(riga);
    std::string ricevuti; // as the child writes them back, each ended by \x01
    for (auto c : casi) {
        c.resize(3);
        auto testo = con_controlli(c[1]);
        std::string risultato;
        if (c[0] == "dividi") {
            for (const auto& argomento : riga_comando::dividi(testo)) {
                risultato += argomento + '|';
                riga += ' ' + riga_comando::quota_argomento(argomento);
                argomenti.push_back(argomento);
                ricevuti += argomento + '\x01';
            }
        } else if (c[0] == "percorso") {
            risultato = riga_comando::percorso_argomento(riga_comando::dopo_il_programma(testo));
        } else if (c[0] == "piega") { // from a value set, which keeps its line breaks
            std::optional valore = testo;
            risultato = appiattisci_testo(valore);
            EXPECT_EQ(valore, testo);
        } else { // in place
            ASSERT_EQ(c[0], "apri");
            risultato = ripristina_a_capo(testo);
            EXPECT_EQ(testo, risultato);
        }
        EXPECT_EQ(risultato, con_controlli(c[2])) << c[0] << ": " << c[1];
    }
    Esecuzione e;
    EXPECT_EQ(e.dos.ExecuteCommand(riga), ricevuti);
    EXPECT_EQ(riga_comando::dividi(riga), argomenti);
    EXPECT_EQ(riga_comando::quota_argomento("semplice"), "semplice"); // quoted only if it must be
    // A value never set is folded as an empty text, which it then holds.
    std::optional<std::string> mai;
    EXPECT_EQ(appiattisci_testo(mai), "");
    EXPECT_EQ(mai, "");
}

// The wait is measured on the timer of the day, through midnight too; the window's events run at
// every step, with a pause between steps instead of a spin; nothing to wait returns at once.
TEST(Attendi, AttendeIlTempoChiestoAncheAttraversoLaMezzanotte) {
    for (const auto& [inizio, secondi] : {std::pair{34200.0, 2.5},
                                          {86398.0, 2.5},
                                          {86399.5, 2.5},
                                          {86399.999, 2.5},
                                          {34200.0, 0.0},
                                          {34200.0, -1.0}}) {
        prova::OrologioFinto orologio;
        orologio.secondi = inizio;
        prova::PompaEventiContata pompa;
        attendi(secondi, orologio, pompa);
        const double trascorsi = std::fmod(orologio.secondi + 86400.0 - inizio, 86400.0);
        EXPECT_GE(trascorsi, std::max(secondi, 0.0)) << inizio;
        EXPECT_LT(trascorsi, std::max(secondi, 0.0) + 0.01) << inizio;
        EXPECT_EQ(pompa.chiamate > 0, secondi > 0) << inizio;
        EXPECT_EQ(orologio.pause, pompa.chiamate);
    }
    // A clock that moves by itself ends the wait by its readings, not by counting pauses.
    prova::OrologioFinto orologio;
    orologio.passo_per_lettura = 0.4;
    prova::PompaEventiContata pompa;
    attendi(1.0, orologio, pompa);
    EXPECT_LE(pompa.chiamate, 3);
}

#ifdef _WIN32

TEST(DOSOutputs, ComandiDiCmd) {
    Esecuzione e;
    EXPECT_EQ(e.dos.ExecuteCommand("cmd /c echo ciao"), "ciao\r\n");
    EXPECT_EQ(e.dos.ExecuteCommand("cmd /c echo errore 1>&2"), "errore \r\n");
}

#else

// Runs started or not leave no descriptor open and no child unreaped.
TEST(DOSOutputs, CentinaiaDiEsecuzioniNonLascianoDescrittoriNeFigli) {
    const auto descrittori = [] {
        const std::filesystem::directory_iterator voci("/proc/self/fd");
        return std::distance(begin(voci), end(voci));
    };
    Esecuzione e;
    e.dos.ExecuteCommand("/bin/true");
    const auto prima = descrittori();
    for (int i = 0; i < 400; ++i) {
        e.dos.ExecuteCommand(i % 2 == 0 ? "/bin/true" : "non_esiste_meravo");
    }
    EXPECT_EQ(descrittori(), prima);
    EXPECT_EQ(e.messaggi.mostrati.size(), 200U);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

#endif

} // namespace
} // namespace meravo
