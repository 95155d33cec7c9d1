// The files the module writes survive a kill at any moment: the writer child is killed with
// SIGKILL at random moments while it writes, and each file must then be one of its whole
// versions. The seed of the moments is printed; MERAVO_SEME=<seed> makes the same choices again.
#include "doppi/doppi.h"
#include "tables/blocco_scrittura.h"
#include "tables/file_cifrato.h"
#include "versioni.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace meravo {
namespace {

namespace fs = std::filesystem;
namespace crash = prova::crash;
using crash::Servizi;
using prova::CartellaTemporanea;

constexpr int uccisioni = 100;

using Tempo = std::chrono::steady_clock;

unsigned seme() {
    static const unsigned s = [] {
        const char* dato = std::getenv("MERAVO_SEME");
        return dato ? static_cast<unsigned>(std::strtoul(dato, nullptr, 10))
                    : std::random_device{}();
    }();
    return s;
}

std::string leggi(const fs::path& file) {
    return CartellaTemporanea::leggi_file(file);
}

// The name under which writer `pid` writes `file` before putting it in place.
fs::path temporaneo_di(const fs::path& file, pid_t pid) {
    auto t = file;
    t += "." + std::to_string(pid) + ".nuovo";
    return t;
}

int temporanei_lasciati(const fs::path& cartella) {
    int n = 0;
    for (const auto& voce : fs::directory_iterator(cartella)) {
        n += voce.path().extension() == ".nuovo";
    }
    return n;
}

struct Scrittore {
    pid_t pid = -1;
    Tempo::duration giro{}; // one round of its loop
};

// Starts the writer of `tipo` and returns once its second whole version is on disk; no pid when
// it never got there.
Scrittore avvia_scrittore(std::string tipo, const fs::path& cartella) {
    Scrittore scrittore;
    int canale[2];
    if (::pipe2(canale, O_CLOEXEC) != 0) {
        return scrittore;
    }
    std::string programma = prova::percorso_accanto("scrittore");
    std::string dove = cartella.string();
    char* argomenti[] = {programma.data(), tipo.data(), dove.data(), nullptr};
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_adddup2(&azioni, canale[1], STDOUT_FILENO);
    pid_t pid = -1;
    const bool avviato =
        ::posix_spawn(&pid, programma.c_str(), &azioni, nullptr, argomenti, environ) == 0;
    posix_spawn_file_actions_destroy(&azioni);
    ::close(canale[1]);
    const auto versione_scritta = [&] {
        pollfd attesa{canale[0], POLLIN, 0};
        char segnale = 0;
        return ::poll(&attesa, 1, 60000) == 1 && ::read(canale[0], &segnale, 1) == 1;
    };
    const bool prima = avviato && versione_scritta();
    const auto inizio = Tempo::now();
    const bool seconda = prima && versione_scritta();
    scrittore.giro = Tempo::now() - inizio;
    ::close(canale[0]);
    if (seconda) {
        scrittore.pid = pid;
    } else if (avviato) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    return scrittore;
}

::testing::AssertionResult ucciso_mentre_scriveva(pid_t pid) {
    ::kill(pid, SIGKILL);
    int stato = 0;
    ::waitpid(pid, &stato, 0);
    if (WIFSIGNALED(stato) && WTERMSIG(stato) == SIGKILL) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the writer ended by itself (a write failed), wait status " << stato;
}

struct DopoUccisione {
    bool intero = false; // the file is one of its whole versions
    bool a_meta = false; // the kill fell inside the file's write: its temporary file is there
};

// Waits while `file` exists (or does not), until `fine` at the latest.
void attendi_finche(const fs::path& file, bool esiste, Tempo::time_point fine) {
    while (fs::exists(file) == esiste && Tempo::now() < fine) {
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
}

// Waits until writer `pid` starts a write of `file`, having timed the write before it, and
// returns how long that one lasted: the kill then falls inside the new write or just past it.
Tempo::duration attendi_scrittura(const fs::path& file, pid_t pid, Tempo::duration giro) {
    const auto temporaneo = temporaneo_di(file, pid);
    const auto fine = Tempo::now() + 4 * giro;
    attendi_finche(temporaneo, true, fine); // a write under way is left to end
    attendi_finche(temporaneo, false, fine);
    const auto inizio = Tempo::now();
    attendi_finche(temporaneo, true, fine);
    const auto durata = Tempo::now() - inizio;
    attendi_finche(temporaneo, false, fine);
    return durata;
}

// Kills the writer of `tipo` at random moments; after each kill `controlla` looks at the
// folder. Every other kill is aimed at the write of `file` itself, between the opening of its
// temporary file and a little past the rename, however short the write is next to the round.
// Reports how many kills the file survived and how many fell inside a write.
void interrompi(const std::string& tipo, const fs::path& file,
                const std::function<DopoUccisione(pid_t)>& controlla) {
    std::mt19937 casuale(seme());
    // A fraction of a round of the writer, whatever its length on this machine and build: the
    // seed repeats the choice of moments, not the timing of the disk.
    std::uniform_real_distribution<double> frazione(0.0, 1.0);
    int superate = 0;
    int a_meta = 0;
    for (int i = 0; i < uccisioni && !::testing::Test::HasFailure(); ++i) {
        SCOPED_TRACE(tipo + ": kill " + std::to_string(i) +
                     ", MERAVO_SEME=" + std::to_string(seme()));
        const auto scrittore = avvia_scrittore(tipo, file.parent_path());
        ASSERT_GT(scrittore.pid, 0) << "the writer never wrote its first two versions";
        const auto attesa = i % 2 == 0 ? 2 * frazione(casuale) * scrittore.giro
                                       : 1.25 * frazione(casuale) *
                                             attendi_scrittura(file, scrittore.pid, scrittore.giro);
        std::this_thread::sleep_for(std::chrono::duration_cast<std::chrono::microseconds>(attesa));
        ASSERT_TRUE(ucciso_mentre_scriveva(scrittore.pid));
        const auto dopo = controlla(scrittore.pid);
        EXPECT_TRUE(dopo.intero) << "the file is none of its whole versions";
        superate += dopo.intero;
        a_meta += dopo.a_meta;
    }
    const int lasciati = temporanei_lasciati(file.parent_path());
    std::cout << tipo << ": seed " << seme() << ", " << superate << " kills survived, " << a_meta
              << " inside its write (temporary file there), " << lasciati
              << " temporary files left behind\n";
    ::testing::Test::RecordProperty("seme", std::to_string(seme()));
    ::testing::Test::RecordProperty("superate", superate);
    ::testing::Test::RecordProperty("a_meta", a_meta);
    ::testing::Test::RecordProperty("temporanei_lasciati", lasciati);
    // Kills that never fell inside a write would prove nothing.
    if (superate == uccisioni) {
        EXPECT_GT(a_meta, uccisioni / 10);
    }
    // Each writer's writes cleared what the killed one before it had left: only the last kill's
    // work file can remain.
    EXPECT_LE(lasciati, 1);
}

TEST(InterruzioneScrittura, FileDiScambioVecchioONuovo) {
    CartellaTemporanea cartella;
    const fs::path file = cartella.percorso() / crash::nome_scambio;
    const std::string versioni[] = {crash::archivio(0).testo_file_scambio(),
                                    crash::archivio(1).testo_file_scambio()};
    interrompi("scambio", file, [&](pid_t pid) {
        const std::string letto = leggi(file);
        return DopoUccisione{letto == versioni[0] || letto == versioni[1],
                             fs::exists(temporaneo_di(file, pid))};
    });
}

TEST(InterruzioneScrittura, TabellaPianaOCifrataVecchiaONuova) {
    CartellaTemporanea cartella;
    const fs::path file = cartella.percorso() / crash::nome_tabella;
    std::string versioni[2];
    {
        CartellaTemporanea attese;
        Servizi s;
        Cls_Critto tabella(s.orologio, s.pompa, s.messaggi);
        for (int v = 0; v < 2; ++v) {
            const auto salvata = attese.percorso() / ("versione" + std::to_string(v));
            ASSERT_TRUE(crash::carica_tabella(tabella, attese.percorso(), v));
            ASSERT_TRUE(crash::salva_tabella(tabella, salvata, v));
            versioni[v] = leggi(salvata);
        }
    }
    interrompi("tabella", file, [&](pid_t pid) {
        const std::string letto = leggi(file);
        return DopoUccisione{letto == versioni[0] || letto == versioni[1],
                             fs::exists(temporaneo_di(file, pid))};
    });
}

// A writer lock left by the killed writer: nobody holds it any more, so the next change waits
// as for any lock, then takes it over and goes through, and the lock goes with it.
void cambi_con_blocco_lasciato(const fs::path& cartella) {
    const auto elenco = cartella / crash::nome_elenco;
    const auto blocco = cartella / crash::nome_blocco;
    Servizi s;
    Cls_Critto e(s.orologio, s.pompa, s.messaggi);
    ASSERT_TRUE(e.descrizione(crash::colonne()));
    ASSERT_TRUE(e.carica(elenco.string(), {.lettura_crittato = true}));
    const double inizio = s.orologio.secondi;
    EXPECT_TRUE(e.aggiungi_nuovo(crash::paziente_estraneo(), 1));
    EXPECT_GE(s.orologio.secondi - inizio, BloccoScrittura::attesa_massima);
    EXPECT_GT(e.identifica_elemento(crash::paziente_estraneo()[1], 1), 0);
    EXPECT_FALSE(fs::exists(blocco));
}

TEST(InterruzioneScrittura, ElencoPazientiInteroEBloccoLasciatoRipreso) {
    CartellaTemporanea cartella;
    const fs::path file = cartella.percorso() / crash::nome_elenco;
    // The three lists the changes go round, made here by the same changes. The keys come from
    // the same fake clock, so one record set is always enciphered to the same bytes.
    std::string stati[3];
    {
        CartellaTemporanea attese;
        Servizi s;
        Cls_Critto e(s.orologio, s.pompa, s.messaggi);
        ASSERT_TRUE(crash::prepara_elenco(e, attese.percorso()));
        for (int passo = 0; passo < 3; ++passo) {
            stati[passo] = leggi(attese.percorso() / crash::nome_elenco);
            ASSERT_TRUE(crash::cambia_elenco(e, passo));
        }
        ASSERT_EQ(leggi(attese.percorso() / crash::nome_elenco), stati[0]);
    }
    int con_blocco = 0;
    int copia_piana_diversa = 0;
    interrompi("elenco", file, [&](pid_t pid) {
        // Seen before the change below, whose write clears the killed writer's work file.
        const bool a_meta = fs::exists(temporaneo_di(file, pid));
        const std::string letto = leggi(file);
        bool intero = letto == stati[0] || letto == stati[1] || letto == stati[2];
        // And a new reader loads it whole.
        Servizi s;
        Cls_Critto lettore(s.orologio, s.pompa, s.messaggi);
        intero = intero && lettore.descrizione(crash::colonne()) &&
                 lettore.carica(file.string(), {.lettura_crittato = true});
        std::vector<std::string> righe;
        copia_piana_diversa +=
            !decifra_righe(letto, s.orologio, file.string(), righe) ||
            unisci_righe(righe) != leggi(cartella.percorso() / crash::nome_copia_piana);
        const bool bloccato = fs::exists(cartella.percorso() / crash::nome_blocco);
        if (bloccato) {
            ++con_blocco;
            cambi_con_blocco_lasciato(cartella.percorso());
        }
        return DopoUccisione{intero, a_meta};
    });
    std::cout << "elenco: " << con_blocco << " kills left the writer lock behind, "
              << copia_piana_diversa << " left the plain copy apart from the list\n";
    EXPECT_GT(con_blocco, 0) << "no kill fell while the writer held the lock";
    RecordProperty("con_blocco", con_blocco);
    RecordProperty("copia_piana_diversa", copia_piana_diversa);
}

} // namespace
} // namespace meravo
