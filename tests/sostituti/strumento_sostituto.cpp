// A stand-in for curl and openssl, installed in the program's Sogei folder under their names.
// It records every command line it got as its C runtime split it ("chiamate.txt"), so a test
// sees what really crossed the platform's process creation, and answers from files beside it:
//   openssl rsautl -encrypt -in A -out B ...   B = "cifrato:" + A
//   openssl base64 -base64 -e -out B -in A     B = A encoded (prova::codifica), lines of 64
//   curl ... --config C ... --data-binary @R   C and R copied into "configurazione_curl.txt"
//     and "corpo_curl.txt"; as curl, an HTTP/2 trace to --stderr's file and the answer
//     "risposta_sostituto.txt" ("{n}" there the number of the post, counted in "invii.txt") to
//     --output's, or both to stderr and stdout in pieces, then the status if --write-out asks.
//     "taglio_sostituto.txt" "N CODE": N bytes of the answer come (N = -1: no connection), exit
//     CODE. It reads no configuration, expands no address, connects nowhere: -q and the like
//     change nothing.
// The access bits of the files the module wrote for a tool (the -in of rsautl, curl's --config
// and body) and of their folder go, a line each, to "permessi.txt" in the program's folder.
#include "codifica_prova.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
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

fs::path programma; // this program, under the tool's name

void annota_permessi(const std::string& file) {
    const auto bit = [](const fs::path& p) {
        return static_cast<unsigned>(fs::status(p).permissions()) & 0777U;
    };
    std::ofstream(programma.parent_path() / "permessi.txt", std::ios::app)
        << std::oct << bit(file) << ' ' << bit(fs::path(file).parent_path()) << '\n';
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
    long taglio = -2;
    int codice = 0;
    std::istringstream(leggi(cartella / "taglio_sostituto.txt")) >> taglio >> codice;
    std::string traccia = "*   Trying 127.0.0.1:443...\n";
    if (taglio != -1) {
        traccia += "* [HTTP/2] [1] [authorization: Basic U0VHUkVUTw==]\n> POST / HTTP/2\n"
                   "> authorization: Basic U0VHUkVUTw==\n< HTTP/2 200\n";
    }
    traccia += codice != 0 ? "curl: (" + std::to_string(codice) + ") fermato\n" : "";
    // Each post gets its own protocol, so a second post would show in what was archived.
    const auto invii = leggi(cartella / "invii.txt") + "x";
    scrivi(cartella / "invii.txt", invii);
    auto risposta = taglio == -1 ? std::string() : leggi(cartella / "risposta_sostituto.txt");
    if (const auto n = risposta.find("{n}"); n != std::string::npos) {
        risposta.replace(n, 3, std::to_string(invii.size()));
    }
    risposta.resize(taglio >= 0 ? std::min(risposta.size(), std::size_t(taglio)) : risposta.size());
    if (const auto file = valore_di(a, "--stderr"); !file.empty()) {
        scrivi(file, traccia);
    } else {
        std::cerr << traccia << std::flush;
    }
    if (const auto file = valore_di(a, "--output"); !file.empty()) {
        scrivi(file, risposta);
    } else { // in two pieces, the progress meter between them
        std::cout << risposta.substr(0, risposta.size() / 2) << std::flush;
        std::cerr << "100 20480  100 20480    0     0   976k      0 --:--:--\r" << std::flush;
        std::cout << risposta.substr(risposta.size() / 2);
    }
    if (valore_di(a, "--write-out") == "%{http_code} %{size_upload}") {
        const auto inviati = taglio == -1 ? 0 : leggi(cartella / "corpo_curl.txt").size();
        std::cout << (risposta.empty() ? "000 " : "200 ") << inviati;
    }
    return codice;
}

} // namespace

int main(int argc, char** argv) {
    programma = fs::absolute(argv[0]);
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
