// A stand-in for curl and openssl, installed in the program's Sogei folder under their names.
// It records every command line it got as its C runtime split it ("chiamate.txt"), so a test
// sees what really crossed the platform's process creation, and answers from files beside it:
//   openssl rsautl -encrypt -in A -out B ...   B = "cifrato:" + A
//   openssl base64 -base64 -e -out B -in A     B = A encoded (prova::codifica), lines of 64
//   curl ... --config C ... --data-binary @R   C and R copied into "configurazione_curl.txt"
//     and "corpo_curl.txt"; a trace on stderr, then "risposta_sostituto.txt" on stdout, "{n}"
//     there the number of the post (counted in "invii.txt")
// The access bits of the files the module wrote for a tool (the -in of rsautl, curl's --config
// and body) go, a line each, to "permessi.txt" beside them.
#include "codifica_prova.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string leggi(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

bool scrivi(const fs::path& p, const std::string& testo) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(f << testo << std::flush);
}

// The argument after `opzione`, or the empty text.
std::string valore_di(const std::vector<std::string>& argomenti, const std::string& opzione) {
    const auto i = std::find(argomenti.begin(), argomenti.end(), opzione);
    return i != argomenti.end() && i + 1 != argomenti.end() ? *(i + 1) : std::string();
}

void annota_permessi(const std::string& file) {
    const auto bit = static_cast<unsigned>(fs::status(file).permissions()) & 0777U;
    std::ofstream(fs::path(file).parent_path() / "permessi.txt", std::ios::app)
        << std::oct << bit << '\n';
}

int openssl(const std::vector<std::string>& a) {
    const auto dentro = valore_di(a, "-in");
    const auto fuori = valore_di(a, "-out");
    if (dentro.empty() || fuori.empty() || !fs::exists(dentro)) {
        std::cerr << "openssl: missing input or output\n";
        return 1;
    }
    if (a[0] == "rsautl") {
        annota_permessi(dentro);
        return scrivi(fuori, "cifrato:" + leggi(dentro)) ? 0 : 1;
    }
    const auto codificato = meravo::prova::codifica(leggi(dentro));
    std::string righe;
    for (std::size_t i = 0; i < codificato.size(); i += 64) {
        righe += codificato.substr(i, 64) + "\n";
    }
    return a[0] == "base64" && scrivi(fuori, righe) ? 0 : 1;
}

int curl(const std::vector<std::string>& a, const fs::path& cartella) {
    for (auto [opzione, copia] : {std::pair{"--config", "configurazione_curl.txt"},
                                  std::pair{"--data-binary", "corpo_curl.txt"}}) {
        auto file = valore_di(a, opzione);
        file.erase(0, file.starts_with("@") ? 1 : 0); // the body is posted from a file: "@file"
        annota_permessi(file);
        scrivi(cartella / copia, leggi(file));
    }
    std::cerr << "*   Trying 127.0.0.1:443...\n> POST / HTTP/1.1\n< HTTP/1.1 200 OK" << std::endl;
    // Each post gets its own protocol, so a second post would show in what was archived.
    const auto invii = leggi(cartella / "invii.txt") + "x";
    scrivi(cartella / "invii.txt", invii);
    auto risposta = leggi(cartella / "risposta_sostituto.txt");
    if (const auto n = risposta.find("{n}"); n != std::string::npos) {
        risposta.replace(n, 3, std::to_string(invii.size()));
    }
    std::cout << risposta;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const fs::path programma = fs::absolute(argv[0]);
    const fs::path cartella = programma.parent_path();
    std::vector<std::string> argomenti(argv + 1, argv + argc);

    // Every call on a line of its own, each argument ended by a unit separator.
    std::ofstream registro(cartella / "chiamate.txt", std::ios::binary | std::ios::app);
    for (const auto& a : argomenti) {
        registro << a << '\x1f';
    }
    registro << '\n' << std::flush;

    std::string nome = programma.stem().string();
    std::transform(nome.begin(), nome.end(), nome.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (nome == "openssl" && !argomenti.empty()) {
        return openssl(argomenti);
    }
    if (nome == "curl") {
        return curl(argomenti, cartella);
    }
    std::cerr << "stand-in started under an unknown name: " << nome << "\n";
    return 2;
}
