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

// An argument quoted for the command line reaches the child unchanged, and our splitter reads it
// back the same: on Windows this holds our quoting and splitting to the real C runtime.
TEST(DOSOutputs, UnArgomentoQuotatoArrivaIdenticoAlFiglio) {
    std::vector<std::string> argomenti;
    std::string riga = figlio("argomenti");
    std::string ricevuti; // as the child writes them back, each ended by \x01
    for (const std::string a : {"", "con spazi", R"(C:\Program Files\Meravo\Sogei\)",
                                R"(fine con barre\\)", R"(pass"word)", R"(\"già\" quotato)",
                                "<xml a='1'>\r\n</xml>", "tab\tdentro", "'apici'"}) {
        argomenti.push_back(a);
        riga += " " + riga_comando::quota_argomento(a);
        ricevuti += a + '\x01';
    }
    Esecuzione e;
    EXPECT_EQ(e.dos.ExecuteCommand(riga), ricevuti);
    const auto divisi = riga_comando::dividi(riga);
    EXPECT_EQ(std::vector<std::string>(divisi.begin() + 2, divisi.end()), argomenti);
    // Quoted only when it must be.
    EXPECT_EQ(riga_comando::quota_argomento("semplice"), "semplice");
}

TEST(RigaComando, DivisioneConLeRegoleDelRuntimeWindows) {
    const struct {
        std::string riga;
        std::vector<std::string> attesi;
    } casi[] = {
        // Quoted arguments as our quoting writes them are read back by the test above.
        {"   \t ", {}},
        {"  a\t\tb  ", {"a", "b"}},
        {R"("C:\Program Files\Sogei\curl.exe" -d x)",
         {R"(C:\Program Files\Sogei\curl.exe)", "-d", "x"}},
        // The program name keeps its backslashes even before a quote.
        {R"(C:\dir\"a b"\p.exe z)", {R"(C:\dir\a b\p.exe)", "z"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p \\server\share)", {"p", R"(\\server\share)"}},
        {R"(p a\\\\"b c")", {"p", R"(a\\b c)"}},
        {R"(p "say ""hi""")", {"p", R"(say "hi")"}},
        {R"(p 'single quoted' x)", {"p", "'single", "quoted'", "x"}},
        {"p \"<a b='1'>\r\n  <c/>\r\n</a>\" -k", {"p", "<a b='1'>\r\n  <c/>\r\n</a>", "-k"}},
        {"p a\nb", {"p", "a\nb"}},
        {R"(p "open)", {"p", "open"}},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(riga_comando::dividi(c.riga), c.attesi) << c.riga;
    }
}

TEST(RigaComando, PercorsoDelFileDiScambio) {
    const struct {
        std::string riga;
        std::string percorso;
    } casi[] = {
        {R"(meravo.exe C:\Dati\paziente 12.txt)", R"(C:\Dati\paziente 12.txt)"},
        {R"("C:\Program Files\Meravo\meravo.exe"   "C:\Dati\p 12.txt"  )", R"(C:\Dati\p 12.txt)"},
        {"meravo.exe", ""},
        {R"(meravo.exe "")", ""},
        {"meravo.exe \t/tmp/x.txt", "/tmp/x.txt"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(riga_comando::percorso_argomento(riga_comando::dopo_il_programma(c.riga)),
                  c.percorso)
            << c.riga;
    }
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

TEST(PiegaturaDegliACapo, AndataERitorno) {
    const struct {
        std::optional<std::string> testo;
        std::string piegato;
    } piegature[] = {
        {std::nullopt, ""},   {"  a\r\nb  ", "a||b"}, {"a\rb\nc", "a\rb\nc"}, // lone CR or LF stay
        {"\r\n\r\n", "||||"}, {"a\r\r\nb", "a\r||b"}, {"  ", ""},
    };
    for (const auto& p : piegature) {
        auto valore = p.testo;
        EXPECT_EQ(appiattisci_testo(valore), p.piegato);
        // A value never set becomes an empty text; a set one is not folded in place.
        EXPECT_EQ(valore, p.testo.value_or(""));
    }
    const std::string aperture[][2] = {
        {"a||b||", "a\r\nb\r\n"}, {"|||", "\r\n|"}, {"||||", "\r\n\r\n"}, {"|", "|"}, {"", ""},
    };
    for (const auto& [testo, aperto] : aperture) {
        std::string riga = testo;
        EXPECT_EQ(ripristina_a_capo(riga), aperto);
        EXPECT_EQ(riga, aperto); // changed in place too
    }
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
