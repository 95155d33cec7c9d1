#pragma once

#include "doppi/banco_form.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace meravo::prova {

// The stand-in, started on a free port with a request log in `cartella` that the tests read back.
class SimulatoreProva {
public:
    static constexpr const char* utente = "MDCFRR70A01F205Z";
    static constexpr const char* password = "Salve 2026 \"ok\"";
    static constexpr const char* pin = "1234567890";

    // `ritardo_ms`: every answer comes that much later, as from a slow service.
    SimulatoreProva(const char* eseguibile, const char* pki, const std::filesystem::path& cartella,
                    int ritardo_ms = 0)
        : registro_(cartella / "registro.jsonl") {
        int uscita[2];
        if (pipe(uscita) != 0) {
            return;
        }
        posix_spawn_file_actions_t azioni;
        posix_spawn_file_actions_init(&azioni);
        posix_spawn_file_actions_adddup2(&azioni, uscita[1], 1);
        posix_spawn_file_actions_addclose(&azioni, uscita[0]);
        posix_spawn_file_actions_addopen(&azioni, 2, "/dev/null", O_WRONLY, 0);
        const std::string reg = registro_.string();
        const std::string ritardo = std::to_string(ritardo_ms);
        std::vector<const char*> argv = {
            eseguibile, "--porta",    "0",          "--pki",     pki,
            "--utente", utente,       "--password", password,    "--pin",
            pin,        "--registro", reg.c_str(),  "--ritardo", ritardo.c_str()};
        argv.push_back(nullptr);
        posix_spawn(&pid_, eseguibile, &azioni, nullptr, const_cast<char**>(argv.data()), environ);
        posix_spawn_file_actions_destroy(&azioni);
        close(uscita[1]);
        for (char c; read(uscita[0], &c, 1) == 1 && c != '\n';) {
            porta_.push_back(c);
        }
        // The simulator logs every request to its output: unread, the pipe would fill after
        // some dozens of requests and the simulator would stop answering, blocked in a write.
        drenaggio_ = std::thread([this, fd = uscita[0]] {
            for (char blocco[4096]; const auto letti = read(fd, blocco, sizeof blocco);) {
                if (letti < 0) {
                    break;
                }
                diario_.append(blocco, static_cast<std::size_t>(letti));
            }
            close(fd);
        });
    }
    ~SimulatoreProva() { ferma(); }

    // Stops it with SIGTERM; its exit code, or -1 when a signal ended it.
    int ferma() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int stato = 0;
            waitpid(pid_, &stato, 0);
            codice_ = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
            pid_ = 0;
        }
        if (drenaggio_.joinable()) {
            drenaggio_.join();
        }
        return codice_;
    }
    const std::string& porta() const { return porta_; }
    std::string host() const { return "https://127.0.0.1:" + porta_; }
    // What it wrote to its output after its port: read once it is stopped.
    const std::string& diario() const { return diario_; }
    std::string ultima_richiesta() const {
        const auto testo = prova::CartellaTemporanea::leggi_file(registro_);
        const auto inizio = testo.rfind('\n', testo.find_last_not_of('\n'));
        return testo.substr(inizio == std::string::npos ? 0 : inizio + 1);
    }

private:
    std::filesystem::path registro_;
    pid_t pid_ = 0;
    int codice_ = -1;
    std::string porta_, diario_;
    std::thread drenaggio_;
};

// A program folder laid out as installed for the national road: curl and openssl of the system
// and the certificates in "Sogei", the marker of the test service, the sample tables, and an
// exchange file for the tests' patient with the service's credentials, then `righe_in_piu`.
inline void prepara_studio(const CartellaTemporanea& cartella, const std::filesystem::path& pki,
                           const std::filesystem::path& dati, const std::string& righe_in_piu) {
    namespace fs = std::filesystem;
    const auto p = cartella.percorso();
    fs::create_directories(p / "Sogei");
    fs::create_symlink("/usr/bin/curl", p / "Sogei" / "curl");
    fs::create_symlink("/usr/bin/openssl", p / "Sogei" / "openssl");
    fs::copy_file(pki / "mirCa.pem", p / "Sogei" / "mirCa.pem");
    fs::copy_file(pki / "SanitelCF.cer", p / "Sogei" / "SanitelCF.cer");
    cartella.scrivi("debug_inps.txt", "");
    copia_tabelle_esempio(dati, p / "tabelle");
    cartella.scrivi("paziente.txt", "000direttorio tabelle=" + (p / "tabelle").string() + "/\r\n" +
                                        paziente() + "000password=" + SimulatoreProva::password +
                                        "\r\n000pin=" + SimulatoreProva::pin + "\r\n" +
                                        righe_in_piu);
}

#ifdef MERAVO_PKI // the tests' keys: the benchmarks make their own
// The national road set up for real: the stand-in running (answering `ritardo_ms` late), the
// folder above and the form started on it with a valid end date and diagnosis and one record of
// the caller. The user name has blanks around it: it must reach the service trimmed.
struct StudioInps : BancoForm {
    static constexpr const char* record_precedente = "20231201080000\247VECCHIO\24701/12/2023";
    SimulatoreProva simulatore;

    explicit StudioInps(int ritardo_ms = 0)
        : simulatore(MERAVO_SIMULATORE, MERAVO_PKI, cartella.percorso(), ritardo_ms) {
        prepara_studio(cartella, MERAVO_PKI, MERAVO_DATI_ESEMPIO,
                       "000cod regione=030\r\n000asl=308\r\n000utente= " +
                           std::string(SimulatoreProva::utente) +
                           " \r\n000certificato=" + record_precedente + "\r\n");
        ambiente["MERAVO_INPS_HOST"] = simulatore.host();
        crea().avvia(input());
        form->dt_fine.Text("10/01/2024");
        form->cod_icdix.Text = "487.1";
    }
};
#endif

} // namespace meravo::prova
