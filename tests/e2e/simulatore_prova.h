#pragma once

#include "doppi/doppi.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace meravo::prova {

// The stand-in, started on a free port with a request log the tests read back.
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
        const char* argv[] = {eseguibile, "--porta",    "0",          "--pki",     pki,
                              "--utente", utente,       "--password", password,    "--pin",
                              pin,        "--registro", reg.c_str(),  "--ritardo", ritardo.c_str(),
                              nullptr};
        posix_spawn(&pid_, eseguibile, &azioni, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&azioni);
        close(uscita[1]);
        for (char c; read(uscita[0], &c, 1) == 1 && c != '\n';) {
            porta_.push_back(c);
        }
        // The simulator logs every request to its output: unread, the pipe would fill after
        // some dozens of requests and the simulator would stop answering, blocked in a write.
        drenaggio_ = std::thread([fd = uscita[0]] {
            for (char blocco[4096]; read(fd, blocco, sizeof blocco) > 0;) {
            }
            close(fd);
        });
    }
    ~SimulatoreProva() { ferma(); }

    void ferma() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = 0;
        }
        if (drenaggio_.joinable()) {
            drenaggio_.join();
        }
    }
    std::string host() const { return "https://127.0.0.1:" + porta_; }
    std::string ultima_richiesta() const {
        const auto testo = prova::CartellaTemporanea::leggi_file(registro_);
        const auto inizio = testo.rfind('\n', testo.find_last_not_of('\n'));
        return testo.substr(inizio == std::string::npos ? 0 : inizio + 1);
    }

private:
    std::filesystem::path registro_;
    pid_t pid_ = 0;
    std::string porta_;
    std::thread drenaggio_;
};

// A program folder laid out as installed for the national road: curl and openssl of the system
// and the certificates in "Sogei", the marker of the test service, the sample tables, and an
// exchange file for a patient whose data the service accepts, with `righe_in_piu` after it.
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
    cartella.scrivi("paziente.txt", "000direttorio tabelle=" + (p / "tabelle").string() +
                                        "/\r\n000cf=BNCGLI85C41F205Q\r\n000via=Via Lecco 12\r\n"
                                        "000comune=Milano\r\n000cap=20124\r\n000provincia=MI\r\n"
                                        "000password=" +
                                        std::string(SimulatoreProva::password) + "\r\n000pin=" +
                                        SimulatoreProva::pin + "\r\n" + righe_in_piu);
}

} // namespace meravo::prova
