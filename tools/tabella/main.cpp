#include "comando_tabella.h"

#include "services/orologio.h"
#include "text/testo.h"

#include <iostream>

#ifdef _WIN32
#include <windows.h>

#include <memory>
#endif

namespace {

// The arguments as the module's texts. On Windows they are read in UTF-16, so that a table
// in a folder with accents is found whatever the system's code page.
std::vector<std::string> argomenti_del_programma(int argc, char** argv) {
#ifdef _WIN32
    static_cast<void>(argc);
    static_cast<void>(argv);
    int quanti = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> larghi(
        CommandLineToArgvW(GetCommandLineW(), &quanti), &LocalFree);
    std::vector<std::string> argomenti;
    for (int i = 1; larghi && i < quanti; ++i) {
        const std::wstring_view a(larghi.get()[i]);
        argomenti.push_back(meravo::testo::utf16_a_cp1252(std::u16string(a.begin(), a.end())));
    }
    return argomenti;
#else
    return {argv + 1, argv + argc};
#endif
}

} // namespace

int main(int argc, char** argv) {
    meravo::OrologioDiSistema orologio;
    return meravo::esegui_tabella(argomenti_del_programma(argc, argv), std::cout, std::cerr,
                                  orologio);
}
