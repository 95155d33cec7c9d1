// A stand-in for the two console tools the national road runs, curl and openssl, installed in
// the program's Sogei folder under their names. It records every command line it received, as
// its C runtime split it, so that a test sees what really crossed the platform's process
// creation; it answers with what the test left beside it.
//
//   openssl rsautl -encrypt -in A -out B ...   B = "cifrato:" + A's bytes
//   openssl base64 -base64 -e -out B -in A     B = A in base64, in lines of 64 as openssl does
//   curl ... --user U:P ...                    trace with the authorization header on stderr,
//                                              then "risposta_sostituto.txt" of its folder on
//                                              stdout; "connessione_rifiutata" there: curl's error
//                                              7
#include "base64_prova.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
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
    f << testo;
    return static_cast<bool>(f.flush());
}

std::string valore_di(const std::vector<std::string>& argomenti, const std::string& opzione) {
    const auto i = std::find(argomenti.begin(), argomenti.end(), opzione);
    return i != argomenti.end() && i + 1 != argomenti.end() ? *(i + 1) : std::string();
}

bool contiene(const std::vector<std::string>& argomenti, const std::string& parola) {
    return std::find(argomenti.begin(), argomenti.end(), parola) != argomenti.end();
}

int openssl(const std::vector<std::string>& a) {
    const auto dentro = valore_di(a, "-in");
    const auto fuori = valore_di(a, "-out");
    if (dentro.empty() || fuori.empty() || !fs::exists(dentro)) {
        std::cerr << "openssl: missing input or output\n";
        return 1;
    }
    if (contiene(a, "rsautl")) {
        return scrivi(fuori, "cifrato:" + leggi(dentro)) ? 0 : 1;
    }
    if (contiene(a, "base64")) {
        const auto codificato = meravo::prova::base64(leggi(dentro));
        std::string righe;
        for (std::size_t i = 0; i < codificato.size(); i += 64) {
            righe += codificato.substr(i, 64) + "\n";
        }
        return scrivi(fuori, righe) ? 0 : 1;
    }
    std::cerr << "openssl: unknown command\n";
    return 1;
}

int curl(const std::vector<std::string>& a, const fs::path& cartella) {
    if (fs::exists(cartella / "connessione_rifiutata")) {
        std::cerr << "*   Trying 127.0.0.1:443...\n"
                     "curl: (7) Failed to connect to 127.0.0.1 port 443: Connection refused\n";
        return 7;
    }
    std::cerr << "*   Trying 127.0.0.1:443...\n> POST / HTTP/1.1\n> Authorization: Basic "
              << meravo::prova::base64(valore_di(a, "--user")) << "\n< HTTP/1.1 200 OK\n";
    std::cerr.flush();
    std::cout << leggi(cartella / "risposta_sostituto.txt");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const fs::path programma = fs::absolute(argv[0]);
    const fs::path cartella = programma.parent_path();
    std::vector<std::string> argomenti(argv + 1, argv + argc);

    // Every call, each argument as length:bytes, one call per line group.
    std::string registro = std::to_string(argomenti.size()) + "\n";
    for (const auto& a : argomenti) {
        registro += std::to_string(a.size()) + ":" + a + "\n";
    }
    std::ofstream(cartella / "chiamate.txt", std::ios::binary | std::ios::app) << registro;

    std::string nome = programma.stem().string();
    std::transform(nome.begin(), nome.end(), nome.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (nome == "openssl") {
        return openssl(argomenti);
    }
    if (nome == "curl") {
        return curl(argomenti, cartella);
    }
    std::cerr << "stand-in started under an unknown name: " << nome << "\n";
    return 2;
}
