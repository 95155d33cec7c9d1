// Test child: each pair of arguments is an action, done in order with an immediate flush:
//   out TEXT   writes TEXT on standard output
//   err TEXT   writes TEXT on standard error
//   byte N     writes N bytes 'x' on standard output in one write
//   exit N     ends with status N
// or, with the first argument "argomenti", writes every following argument ended by \x01.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
    // Unbuffered: each action is one write, so the reader sees the writes as they were made.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
#ifdef _WIN32
    // Bytes as given: no CR added before a line feed.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc > 1 && std::strcmp(argv[1], "argomenti") == 0) {
        for (int i = 2; i < argc; ++i) {
            std::fputs(argv[i], stdout);
            std::fputc('\x01', stdout);
        }
        return 0;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const char* azione = argv[i];
        const char* valore = argv[i + 1];
        if (std::strcmp(azione, "out") == 0) {
            std::fputs(valore, stdout);
            std::fflush(stdout);
        } else if (std::strcmp(azione, "err") == 0) {
            std::fputs(valore, stderr);
            std::fflush(stderr);
        } else if (std::strcmp(azione, "byte") == 0) {
            const std::string blocco(static_cast<std::size_t>(std::atoi(valore)), 'x');
            std::fwrite(blocco.data(), 1, blocco.size(), stdout);
            std::fflush(stdout);
        } else if (std::strcmp(azione, "exit") == 0) {
            return std::atoi(valore);
        }
    }
    return 0;
}
