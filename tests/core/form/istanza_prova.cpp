// Test child: holds the instance lock of an exchange file as a running module does.
//   istanza_prova FILE tieni MARKER   takes the lock, says "preso", keeps it until MARKER exists
//   istanza_prova FILE abbandona      takes the lock, says "preso" and ends as a crash would,
//                                     letting nothing go
#include "exchange/blocco_istanza.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <thread>

int main(int argc, char** argv) {
    meravo::BloccoIstanza blocco;
    if (argc < 3 || blocco.prendi(argv[1]) != meravo::BloccoIstanza::Presa::preso) {
        std::puts("non preso");
        return 1;
    }
    std::puts("preso");
    std::fflush(stdout);
    if (std::string_view(argv[2]) == "abbandona") {
        std::_Exit(0);
    }
    for (int i = 0; i < 1200 && argc > 3 && !std::filesystem::exists(argv[3]); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return 0;
}
