// libFuzzer target: the Windows command-line splitting. Any text splits without harm; a line
// built from quoted arguments splits back into exactly those arguments; and the exchange file's
// path comes back from the raw line whether the caller quoted it or not.
//
// The bytes are the arguments, separated by NUL (no argument can hold one: Windows passes them
// as C strings), the program name first.
#include "process/riga_comando.h"

#include "servizi_fuzz.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace meravo;
using fuzz::esigi;

std::vector<std::string> argomenti_di(std::string_view byte) {
    std::vector<std::string> argomenti;
    for (;;) {
        const auto fine = byte.find('\0');
        argomenti.emplace_back(byte.substr(0, fine));
        if (fine == std::string_view::npos) {
            return argomenti;
        }
        byte.remove_prefix(fine + 1);
    }
}

// The program name is read by its own rule: quotes only group, backslashes are always literal.
// So it cannot carry a quote (no Windows file name holds one), nor a backslash at its end once
// quoted (a program path never ends with a folder separator); such a name is replaced.
std::string programma_ammesso(std::string nome) {
    if (nome.find('"') != std::string::npos || nome.ends_with('\\')) {
        return "programma.exe";
    }
    return nome;
}

// A path the caller may pass unquoted: the reader trims blanks around it and drops quotes
// around the whole, so a path that begins or ends with either cannot come back as it was.
bool percorso_ammesso(std::string_view p) {
    return !p.empty() && p.find('"') == std::string_view::npos && p.front() != ' ' &&
           p.front() != '\t' && p.back() != ' ' && p.back() != '\t';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace riga_comando;
    const std::string_view grezzo(reinterpret_cast<const char*>(dati), n);
    dividi(grezzo);
    percorso_argomento(dopo_il_programma(grezzo));

    auto argomenti = argomenti_di(grezzo);
    argomenti.front() = programma_ammesso(argomenti.front());
    std::string riga = quota_argomento(argomenti.front());
    for (std::size_t i = 1; i < argomenti.size(); ++i) {
        riga += ' ' + quota_argomento(argomenti[i]);
    }
    esigi(dividi(riga) == argomenti);

    if (argomenti.size() > 1 && percorso_ammesso(argomenti[1])) {
        const auto programma = quota_argomento(argomenti.front());
        const auto& percorso = argomenti[1];
        esigi(percorso_argomento(dopo_il_programma(programma + ' ' + percorso)) == percorso);
        esigi(percorso_argomento(dopo_il_programma(programma + " \"" + percorso + "\" ")) ==
              percorso);
    }
    return 0;
}
