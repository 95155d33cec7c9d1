// The console runner against a bare posix_spawn + read loop over the same commands.
#include "process/dos_outputs.h"
#include "services/messaggi.h"

#include "rapporti.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class MessaggiInConsole final : public meravo::Messaggi {
public:
    meravo::Risposta mostra(std::string_view testo, std::string_view, meravo::Icona,
                            meravo::Pulsanti) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(testo.size()), testo.data());
        std::abort();
    }
};

// The least a runner can do: spawn, read the pipe 256 bytes at a time into one text, reap.
std::string spawn_nudo(const std::vector<const char*>& argv) {
    int fd[2];
    if (pipe2(fd, O_CLOEXEC) != 0) {
        std::abort();
    }
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_adddup2(&azioni, fd[1], 1);
    posix_spawn_file_actions_adddup2(&azioni, fd[1], 2);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], &azioni, nullptr, const_cast<char* const*>(argv.data()),
                     environ) != 0) {
        std::abort();
    }
    posix_spawn_file_actions_destroy(&azioni);
    close(fd[1]);
    std::array<char, 256> buffer;
    std::string uscite;
    for (ssize_t n; (n = read(fd[0], buffer.data(), buffer.size())) > 0;) {
        uscite.append(buffer.data(), static_cast<std::size_t>(n));
    }
    close(fd[0]);
    waitpid(pid, nullptr, 0);
    return uscite;
}

const std::vector<const char*> argv_true = {"/bin/true", nullptr};
const std::vector<const char*> argv_mega = {"head", "-c", "1048576", "/dev/zero", nullptr};

void true_base(benchmark::State& stato) {
    for (auto _ : stato) {
        benchmark::DoNotOptimize(spawn_nudo(argv_true));
    }
}

void true_DOSOutputs(benchmark::State& stato) {
    MessaggiInConsole messaggi;
    for (auto _ : stato) {
        meravo::DOSOutputs dos(messaggi);
        benchmark::DoNotOptimize(dos.ExecuteCommand("/bin/true"));
    }
}

void mega_base(benchmark::State& stato) {
    for (auto _ : stato) {
        benchmark::DoNotOptimize(spawn_nudo(argv_mega));
    }
}

void mega_DOSOutputs(benchmark::State& stato) {
    MessaggiInConsole messaggi;
    std::size_t eventi = 0;
    for (auto _ : stato) {
        meravo::DOSOutputs dos(messaggi);
        dos.ReceiveOutputs = [&eventi](std::string&) { ++eventi; };
        if (dos.ExecuteCommand("head -c 1048576 /dev/zero").size() != 1048576) {
            stato.SkipWithError("short output");
        }
    }
    benchmark::DoNotOptimize(eventi);
}

BENCHMARK(true_base)->Name("processo_true/base")->Unit(benchmark::kMicrosecond);
BENCHMARK(true_DOSOutputs)->Name("processo_true/DOSOutputs")->Unit(benchmark::kMicrosecond);
BENCHMARK(mega_base)->Name("processo_1MB/base")->Unit(benchmark::kMillisecond);
BENCHMARK(mega_DOSOutputs)->Name("processo_1MB/DOSOutputs")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return meravo::bench::esegui_con_rapporti(argc, argv);
}
