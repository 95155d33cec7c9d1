#include "process/processo_figlio.h"
#include "process/riga_comando.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace meravo {

namespace {

class ProcessoPosix final : public ProcessoFiglio {
public:
    ProcessoPosix(pid_t pid, int lettura) : pid_(pid), lettura_(lettura) {}
    ProcessoPosix(const ProcessoPosix&) = delete;
    ProcessoPosix& operator=(const ProcessoPosix&) = delete;
    ~ProcessoPosix() override { attendi_fine(); }

    std::optional<std::size_t> leggi(char* buffer, std::size_t capacita) override {
        if (lettura_ < 0) {
            return std::nullopt;
        }
        for (;;) {
            const auto n = ::read(lettura_, buffer, capacita);
            // A pipe reads 0 bytes only at its end.
            if (n > 0) {
                return static_cast<std::size_t>(n);
            }
            if (n == 0 || errno != EINTR) {
                return std::nullopt;
            }
        }
    }

    int attendi_fine() override {
        if (lettura_ >= 0) {
            ::close(lettura_);
            lettura_ = -1;
        }
        if (pid_ > 0) {
            int stato = 0;
            pid_t esito;
            do {
                esito = ::waitpid(pid_, &stato, 0);
            } while (esito < 0 && errno == EINTR);
            pid_ = -1;
            if (esito > 0) {
                codice_ = WIFEXITED(stato)     ? WEXITSTATUS(stato)
                          : WIFSIGNALED(stato) ? 128 + WTERMSIG(stato)
                                               : -1;
            }
        }
        return codice_;
    }

private:
    pid_t pid_;
    int lettura_;
    int codice_ = -1;
};

} // namespace

ProcessoFiglio::Avvio ProcessoFiglio::avvia(std::string_view riga_comando) {
    const auto argomenti = riga_comando::dividi(riga_comando);
    int pipe_fd[2];
    if (::pipe2(pipe_fd, O_CLOEXEC) != 0) {
        return ErrorePipe{static_cast<unsigned long>(errno)};
    }
    if (argomenti.empty()) {
        ::close(pipe_fd[0]);
        ::close(pipe_fd[1]);
        return ErroreAvvio{};
    }
    std::vector<char*> argv;
    for (const auto& a : argomenti) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_adddup2(&azioni, pipe_fd[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&azioni, pipe_fd[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&azioni, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int esito = ::posix_spawnp(&pid, argv[0], &azioni, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&azioni);
    // Our copy of the write end must go, or the end of the child's output would never be seen.
    ::close(pipe_fd[1]);
    if (esito != 0) {
        ::close(pipe_fd[0]);
        return ErroreAvvio{};
    }
    return std::make_unique<ProcessoPosix>(pid, pipe_fd[0]);
}

} // namespace meravo
