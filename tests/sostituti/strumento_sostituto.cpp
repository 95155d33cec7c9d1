// A stand-in for curl and openssl, installed in the program's Sogei folder under their names.
// It records every command line it got as its C runtime split it ("chiamate.txt"), so a test
// sees what really crossed the platform's process creation, and answers from files beside it:
//   openssl rsautl -encrypt -in A -out B ...   B = "cifrato:" + A
//   openssl base64 -base64 -e -out B -in A     B = A encoded (prova::codifica), lines of 64
//   curl ... --config C ... --data-binary @R   C and R copied into "configurazione_curl.txt"
//     and "corpo_curl.txt"; the answer is "risposta_sostituto.txt", "{n}" there the number of
//     the post (counted in "invii.txt"). As curl, it writes an HTTP/2 trace to --stderr's file
//     and the answer to --output's, or else both to its standard error and output in pieces as
//     they come, then --write-out with %{http_code}. "taglio_sostituto.txt", when there, holds
//     "N CODE": only N bytes of the answer come and curl ends with CODE; N < 0, no connection.
//     -q, --globoff, --http1.1, --proto, the authorities and the limits change nothing here: it
//     reads no configuration, expands no address and connects nowhere.
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

void annota_permessi(const std::string& file, const fs::path& cartella) {
    const auto bit = [](const fs::path& p) {
        return static_cast<unsigned>(fs::status(p).permissions()) & 0777U;
    };
    std::ofstream(cartella / "permessi.txt", std::ios::app)
        << std::oct << bit(file) << ' ' << bit(fs::path(file).parent_path()) << '\n';
}

int openssl(const std::vector<std::string>& a, const fs::path& cartella) {
    const auto dentro = valore_di(a, "-in");
    const auto fuori = valore_di(a, "-out");
    if (dentro.empty() || fuori.empty() || !fs::exists(dentro)) {
        std::cerr << "openssl: missing input or output\n";
        return 1;
    }
    if (a[0] == "rsautl") {
        annota_permessi(dentro, cartella);
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
        annota_permessi(file, cartella);
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
    } else {
        for (std::size_t i = 0; i < risposta.size(); i += 4096) {
            std::cout << risposta.substr(i, 4096) << std::flush;
            std::cerr << "100 20480  100 20480    0     0   976k      0 --:--:--\r" << std::flush;
        }
    }
    auto scritto = valore_di(a, "--write-out");
    if (const auto stato = scritto.find("%{http_code}"); stato != std::string::npos) {
        scritto.replace(stato, 12, risposta.empty() ? "000" : "200");
    }
    std::cout << scritto;
    return codice;
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
        return openssl(argomenti, cartella);
    }
    if (nome == "curl") {
        return curl(argomenti, cartella);
    }
    std::cerr << "stand-in started under an unknown name: " << nome << "\n";
    return 2;
}
