// Replays a fuzz target's kept inputs outside libFuzzer: every file under the folders named on
// the command line goes once through the target, so that a reader that crashes on a seed or on
// a crash input kept beside them fails the test run (and, in the sanitizers' build, any invalid
// access does). Exits 1 when a folder holds no input at all, so that a missing folder is no pass.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> file;
    for (int i = 1; i < argc; ++i) {
        std::error_code e;
        for (const auto& voce : std::filesystem::recursive_directory_iterator(argv[i], e)) {
            if (voce.is_regular_file()) {
                file.push_back(voce.path());
            }
        }
    }
    std::sort(file.begin(), file.end());
    for (const auto& f : file) {
        std::ifstream in(f, std::ios::binary);
        const std::string dati{std::istreambuf_iterator<char>(in), {}};
        std::printf("%s\n", f.string().c_str());
        std::fflush(stdout); // the input a crash was on is the last line shown
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(dati.data()), dati.size());
    }
    std::printf("%zu inputs replayed\n", file.size());
    return file.empty() ? 1 : 0;
}
