#include "tables/nome_computer.h"

#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
extern char** environ;
#endif

namespace meravo {

namespace {

// "NAME=value": the value when NAME, lower-cased, is computername.
bool valore_se_computername(std::string_view voce, std::string& valore) {
    const auto uguale = voce.find('=', 1); // Windows keeps "=C:=..." entries that start with '='
    if (uguale == std::string_view::npos) {
        return false;
    }
    std::string nome(voce.substr(0, uguale));
    for (auto& c : nome) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (nome != "computername") {
        return false;
    }
    valore = std::string(voce.substr(uguale + 1));
    return true;
}

} // namespace

std::string nome_computer_da_ambiente() {
    std::string valore;
#ifdef _WIN32
    char* blocco = GetEnvironmentStringsA();
    if (blocco == nullptr) {
        return valore;
    }
    for (const char* voce = blocco; *voce != '\0'; voce += std::string_view(voce).size() + 1) {
        if (valore_se_computername(voce, valore)) {
            break;
        }
    }
    FreeEnvironmentStringsA(blocco);
#else
    for (char** voce = environ; voce != nullptr && *voce != nullptr; ++voce) {
        if (valore_se_computername(*voce, valore)) {
            break;
        }
    }
#endif
    return valore;
}

} // namespace meravo
