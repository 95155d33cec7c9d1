// The files the module writes survive a kill at any moment: a child writes one kind of file round
// and round through the module's own code and is killed with SIGKILL at random moments; the file
// must then be one of its whole versions. The seed of the moments is printed;
// MERAVO_SEME=<seed> makes the same choices again.
#include "core/tables/ambiente_tabelle.h"
#include "doppi/banco_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace meravo {
namespace {

namespace fs = std::filesystem;
using namespace prova;
using Tempo = std::chrono::steady_clock;
using Scrivi = std::function<bool(int)>;

constexpr int uccisioni = 100;

const unsigned seme =
    std::getenv("MERAVO_SEME")
        ? static_cast<unsigned>(std::strtoul(std::getenv("MERAVO_SEME"), nullptr, 10))
        : std::random_device{}();

// The name under which process `pid` writes `file` before putting it in place.
fs::path temporaneo_di(const fs::path& file, pid_t pid) {
    return file.string() + "." + std::to_string(pid) + ".nuovo";
}

// A thousand patients numbered 2, 4, 6, …: number, surname, name, birth date.
const std::vector<DescrizioneColonna> colonne = {
    {3, 0, "numero"}, {8, 40, "cognome"}, {8, 30, "nome"}, {7, 0, "nascita"}};

std::string pazienti() {
    std::string testo;
    char riga[128];
    for (int i = 1; i <= 1000; ++i) {
        std::snprintf(riga, sizeof riga, "000+%010d%-40s%-30s%04d%02d%02d\r\n", 2 * i,
                      ("COGNOME " + std::to_string(i)).c_str(),
                      ("NOME " + std::to_string(i * 7)).c_str(), 1940 + i % 60, 1 + i % 12,
                      1 + i % 28);
        testo += riga;
    }
    return testo;
}

// Starts a child that calls scrivi(0), scrivi(1), … until it is killed (a write that fails ends
// it, and its end closes the pipe), and returns once its second whole version is on disk, with
// how long one round took; no pid when it never got there.
std::pair<pid_t, Tempo::duration> avvia_scrittore(const Scrivi& scrivi) {
    int canale[2];
    if (::pipe(canale) != 0) {
        return {-1, {}};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (int i = 0;; ++i) {
            if (!scrivi(i) || (i < 2 && ::write(canale[1], "1", 1) != 1)) {
                ::_exit(3);
            }
        }
    }
    ::close(canale[1]);
    char segnale = 0;
    const bool prima = pid > 0 && ::read(canale[0], &segnale, 1) == 1;
    const auto inizio = Tempo::now();
    const bool seconda = prima && ::read(canale[0], &segnale, 1) == 1;
    const auto giro = Tempo::now() - inizio;
    ::close(canale[0]);
    if (pid > 0 && !seconda) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    return {seconda ? pid : -1, giro};
}

// Waits until writer `pid` starts a write of `file`, having timed the write before it, and
// returns how long that one lasted: the kill then falls inside the new write or just past it.
Tempo::duration attendi_scrittura(const fs::path& file, pid_t pid, Tempo::duration giro) {
    const auto temporaneo = temporaneo_di(file, pid);
    const auto fine = Tempo::now() + 4 * giro;
    const auto attendi_finche = [&](bool esiste) {
        while (fs::exists(temporaneo) == esiste && Tempo::now() < fine) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    };
    attendi_finche(true); // a write under way is left to end
    attendi_finche(false);
    const auto inizio = Tempo::now();
    attendi_finche(true);
    const auto durata = Tempo::now() - inizio;
    attendi_finche(false);
    return durata;
}

// Kills writers of `file` at random moments; after each kill the file must be one of the
// versions the writer's first rounds leave, written here first, and pass `controlla`. Every
// other kill is aimed at the write of the file itself, between the opening of its temporary
// file and a little past the rename, however short the write is next to the round.
void interrompi(
    const std::string& tipo, const fs::path& file, int giri, const Scrivi& scrivi,
    const std::function<bool()>& controlla = [] { return true; }) {
    std::vector<std::string> versioni;
    for (int i = 0; i < giri; ++i) {
        ASSERT_TRUE(scrivi(i));
        versioni.push_back(CartellaTemporanea::leggi_file(file));
    }
    std::mt19937 casuale(seme);
    // A fraction of a round of the writer, whatever its length on this machine and build: the
    // seed repeats the choice of moments, not the timing of the disk.
    std::uniform_real_distribution<double> frazione(0.0, 1.0);
    int a_meta = 0;
    for (int i = 0; i < uccisioni && !::testing::Test::HasFailure(); ++i) {
        SCOPED_TRACE(tipo + ": kill " + std::to_string(i) +
                     ", MERAVO_SEME=" + std::to_string(seme));
        const auto [pid, giro] = avvia_scrittore(scrivi);
        ASSERT_GT(pid, 0) << "the writer never wrote its first two versions";
        const auto attesa = i % 2 == 0
                                ? 2 * frazione(casuale) * giro
                                : 1.25 * frazione(casuale) * attendi_scrittura(file, pid, giro);
        std::this_thread::sleep_for(std::chrono::duration_cast<std::chrono::microseconds>(attesa));
        ::kill(pid, SIGKILL);
        int stato = 0;
        ::waitpid(pid, &stato, 0);
        ASSERT_TRUE(WIFSIGNALED(stato) && WTERMSIG(stato) == SIGKILL)
            << "the writer ended by itself (a write failed), wait status " << stato;
        // The kill fell inside the file's write when its temporary file is there (seen before
        // the checks, whose writes clear the killed writer's work file).
        a_meta += fs::exists(temporaneo_di(file, pid));
        const auto letto = CartellaTemporanea::leggi_file(file);
        EXPECT_TRUE(std::find(versioni.begin(), versioni.end(), letto) != versioni.end() &&
                    controlla())
            << "the file is none of its whole versions";
    }
    int lasciati = 0;
    for (const auto& voce : fs::directory_iterator(file.parent_path())) {
        lasciati += voce.path().extension() == ".nuovo";
    }
    std::cout << tipo << ": seed " << seme << ", " << a_meta << " kills inside its write, "
              << lasciati << " temporary files left behind\n";
    // Kills that never fell inside a write would prove nothing.
    if (!::testing::Test::HasFailure()) {
        EXPECT_GT(a_meta, uccisioni / 10);
    }
    // Each writer's writes cleared what the killed one before it had left: only the last kill's
    // work file can remain.
    EXPECT_LE(lasciati, 1);
}

TEST(InterruzioneScrittura, FileDiScambioVecchioONuovo) {
    BancoForm b;
    auto& form = b.crea();
    form.file_input = b.input();
    // Two archives of a few hundred KB that differ in length and from their first record on.
    ArchivioCertificati archivi[2];
    for (int v = 0; v < 2; ++v) {
        for (int i = v; i < 1200 + 100 * v; ++i) {
            archivi[v].aggiungi_da_input(std::to_string(20230101000000LL + i) + "\xA7PROT" +
                                         std::to_string(100000 + i) + "\xA7ROSSI\xA7MARIO\xA7" +
                                         std::string(250, static_cast<char>('a' + (i + v) % 26)));
        }
    }
    interrompi("scambio", form.file_input, 2, [&](int i) {
        form.certificati = archivi[i % 2];
        return form.salva_archivio().ok();
    });
}

// The table is saved plain and enciphered by turns.
TEST(InterruzioneScrittura, TabellaPianaOCifrataIntera) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.carica(colonne, pazienti()));
    const auto file = a.cartella.file("tabella.tda");
    interrompi("tabella", file, 2,
               [&](int i) { return a.tabella.salva(file, true, i % 2 == 1).ok(); });
}

// The list goes round its changes; a kill that leaves the writer lock behind leaves a lock that
// nobody holds, which the next change takes for a peer's at work and gives up on, until it is
// older than any change lasts: then it is taken over and the change goes through.
TEST(InterruzioneScrittura, ElencoPazientiInteroEBloccoLasciatoRipreso) {
    AmbienteTabelle a;
    a.cartella.scrivi("chiaro.txt", pazienti());
    const auto file = a.cartella.file("elenco_pazienti.tcl");
    auto& elenco = a.tabella;
    elenco.nome_tabella = "generale_pazienti";
    constexpr std::int32_t ciclo = 501; // between two of the list's numbers
    // The list written afresh, then round the changes: add a patient, rename him, remove him.
    // The keys come from the same fake clock, so one record set is enciphered to the same bytes.
    const auto scrivi = [&](int i) {
        switch (i == 0 ? -1 : (i - 1) % 3) {
        case -1:
            return elenco.scrittura(a.cartella.file("chiaro.txt"), file) &&
                   elenco.descrizione(colonne) && elenco.carica(file, {.lettura_crittato = true});
        case 0:
            return elenco.aggiungi_nuovo(
                {Valore{}, ciclo, std::string("ALFA"), std::string("PRIMO"), Data{1970, 3, 4}}, 1);
        case 1:
            return elenco.aggiorna_esistente(ciclo, {Valore{}, Valore{}, std::string("BETA")});
        default:
            return elenco.eliminazione_definitiva(elenco.identifica_elemento(Valore(ciclo), 1),
                                                  ciclo);
        }
    };
    int con_blocco = 0;
    interrompi("elenco", file, 4, scrivi, [&] {
        // A new reader loads it whole; a lock left behind is taken over once it is old.
        AmbienteTabelle l;
        auto& lettore = l.tabella;
        const bool letto =
            lettore.descrizione(colonne) && lettore.carica(file, {.lettura_crittato = true});
        if (letto && fs::exists(a.cartella.file("modElenco.blk"))) {
            ++con_blocco;
            const std::vector<Valore> estraneo = {Valore{}, std::int32_t{7777},
                                                  std::string("ESTRANEO")};
            EXPECT_FALSE(lettore.aggiungi_nuovo(estraneo, 1));
            fs::last_write_time(a.cartella.file("modElenco.blk"),
                                fs::file_time_type::clock::now() - std::chrono::minutes(11));
            EXPECT_TRUE(lettore.aggiungi_nuovo(estraneo, 1));
            EXPECT_GT(lettore.identifica_elemento(estraneo[1], 1), 0);
            EXPECT_FALSE(fs::exists(a.cartella.file("modElenco.blk")));
        }
        return letto;
    });
    std::cout << "elenco: " << con_blocco << " kills left the writer lock behind\n";
    EXPECT_GT(con_blocco, 0) << "no kill fell while the writer held the lock";
}

// A module killed while its send runs (a power cut, the task manager): the next module started
// from the same folder names the patient and the moment, and leaves neither the journal nor the
// work files of the external tools, without following a link at a work file's name.
TEST(InterruzioneInvio, IlProssimoAvvioLoDiceEPulisce) {
    BancoForm b;
    b.copia_tabelle(MERAVO_DATI_ESEMPIO);
    const auto sogei = b.cartella.percorso() / "Sogei";
    int canale[2];
    ASSERT_EQ(::pipe(canale), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        auto& f = b.compilato();
        f.invio_nazionale = [&] {
            fs::create_directories(sogei / "meravo-lavoro-1");
            b.cartella.scrivi("Sogei/credenziali.cfg", "user = \"u:p\"");
            b.cartella.scrivi("Sogei/meravo-lavoro-1/stringa.txt", "1");
            [[maybe_unused]] const auto scritto = ::write(canale[1], "1", 1);
            ::pause();
            return EsitoInvio::riuscito;
        };
        f.Stampa_Click();
        ::_exit(3);
    }
    ::close(canale[1]);
    char segnale = 0;
    ASSERT_EQ(::read(canale[0], &segnale, 1), 1);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    fs::create_directory(b.cartella.percorso() / "altrui");
    b.cartella.scrivi("altrui/dati.txt", "altrui");
    fs::create_directory_symlink(b.cartella.percorso() / "altrui", sogei / "meravo-lavoro-2");
    const auto diario = b.cartella.file("invio_in_corso_" + std::to_string(pid) + ".txt");
    EXPECT_EQ(fs::status(diario).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    b.avvia(paziente());
    EXPECT_EQ(b.testi(), std::vector<std::string>{
                             "Il modulo si \xE8 chiuso durante l'invio del certificato di "
                             "malattia di Bianchi Anna (BNCNNA80A41F205X), dal 05/01/2024 al "
                             "10/01/2024, rilasciato il 05/01/2024, iniziato il 05/01/2024 "
                             "09:30:00 (invio nazionale): il certificato potrebbe essere stato "
                             "emesso dall'INPS senza essere stato archiviato. Verificare sul "
                             "portale INPS prima di inviarlo di nuovo."});
    EXPECT_FALSE(fs::exists(diario));
    EXPECT_FALSE(fs::exists(sogei / "credenziali.cfg") || fs::exists(sogei / "meravo-lavoro-1"));
    EXPECT_EQ(b.cartella.leggi("altrui/dati.txt"), "altrui");
}

} // namespace
} // namespace meravo
