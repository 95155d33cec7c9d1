// Replays a fuzz target's kept inputs outside libFuzzer: every file under the folders named on
// the command line goes once through the target, so that a reader that crashes on a seed or on
// a crash input kept beside them fails the test run (and, in the sanitizers' build, any invalid
// access does). Exits 1 when a folder holds no input at all, so that a missing folder is no pass.
#include "doppi/doppi.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n);

int main(int argc, char** argv) {
    std::set<std::filesystem::path> file; // in order, the same at every run
    for (int i = 1; i < argc; ++i) {
        std::error_code e;
        for (const auto& voce : std::filesystem::recursive_directory_iterator(argv[i], e)) {
            if (voce.is_regular_file()) {
                file.insert(voce.path());
            }
        }
    }
    for (const auto& f : file) {
        const auto dati = meravo::prova::CartellaTemporanea::leggi_file(f);
        std::fprintf(stderr, "%s\n", f.string().c_str()); // a crash's input is the last one named
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(dati.data()), dati.size());
    }
    std::printf("%zu inputs replayed\n", file.size());
    return file.empty() ? 1 : 0;
}
