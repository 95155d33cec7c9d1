// Test child: each pair of arguments is an action, done in order with an immediate flush:
//   out TEXT   writes TEXT on standard output
//   err TEXT   writes TEXT on standard error
//   exit N     ends with status N
// or, with the first argument "argomenti", writes every following argument ended by \x01;
// or holds the instance lock of an exchange file as a running module does:
//   istanza FILE tieni MARKER   takes the lock, says "preso", keeps it until MARKER exists
//   istanza FILE abbandona      takes the lock, says "preso" and ends as a crash would
#include "exchange/blocco_istanza.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

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
    if (argc > 3 && std::strcmp(argv[1], "istanza") == 0) {
        meravo::BloccoIstanza blocco;
        if (blocco.prendi(argv[2]) != meravo::BloccoIstanza::Presa::preso) {
            return 1;
        }
        std::fputs("preso\n", stdout); // one write: the reader stops once it has read it
        if (std::strcmp(argv[3], "abbandona") == 0) {
            std::_Exit(0);
        }
        for (int i = 0; i < 1200 && argc > 4 && !std::filesystem::exists(argv[4]); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return 0;
    }
    const bool argomenti = argc > 1 && std::strcmp(argv[1], "argomenti") == 0;
    for (int i = argomenti ? 2 : 1; i < argc; i += argomenti ? 1 : 2) {
        if (argomenti) {
            std::fputs(argv[i], stdout);
            std::fputc('\x01', stdout);
        } else if (i + 1 < argc && std::strcmp(argv[i], "exit") == 0) {
            return std::atoi(argv[i + 1]);
        } else if (i + 1 < argc) {
            std::fputs(argv[i + 1], std::strcmp(argv[i], "err") == 0 ? stderr : stdout);
        }
    }
    return 0;
}
