// Test child: each pair of arguments is an action, done in order with an immediate flush:
//   out TEXT   writes TEXT on standard output
//   err TEXT   writes TEXT on standard error
//   exit N     ends with status N
// or, with the first argument "argomenti", writes every following argument ended by \x01.
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
