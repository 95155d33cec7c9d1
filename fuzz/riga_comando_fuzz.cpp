// libFuzzer target: the Windows command-line splitting. Any text splits without harm; a line
// built from quoted arguments splits back into exactly those arguments; and the exchange file's
// path comes back from the raw line whether the caller quoted it or not.
//
// The bytes are the arguments, separated by NUL (no argument can hold one: Windows passes them
// as C strings), the program name first.
#include "process/riga_comando.h"

#include "servizi_fuzz.h"

MERAVO_FUZZ(grezzo) {
    using namespace meravo::riga_comando;
    using meravo::fuzz::esigi;
    dividi(grezzo);
    percorso_argomento(dopo_il_programma(grezzo));

    std::vector<std::string> argomenti;
    for (std::size_t inizio = 0, fine = 0; fine != std::string_view::npos; inizio = fine + 1) {
        fine = grezzo.find('\0', inizio);
        argomenti.emplace_back(grezzo.substr(inizio, fine - inizio));
    }
    // The program name is read by its own rule: quotes only group, backslashes are always
    // literal. So it cannot carry a quote (no Windows file name holds one), nor a backslash at
    // its end once quoted (a program path never ends with a folder separator): such a name is
    // replaced.
    auto& nome = argomenti.front();
    if (nome.find('"') != std::string::npos || nome.ends_with('\\')) {
        nome = "programma.exe";
    }
    const auto programma = quota_argomento(nome);
    std::string riga = programma;
    for (std::size_t i = 1; i < argomenti.size(); ++i) {
        riga += ' ' + quota_argomento(argomenti[i]);
    }
    esigi(dividi(riga) == argomenti);

    // A path the caller may pass unquoted: the reader trims blanks around it and drops quotes
    // around the whole, so a path that begins or ends with either cannot come back as it was.
    if (argomenti.size() < 2) {
        return;
    }
    const auto& p = argomenti[1];
    if (!p.empty() && p.find('"') == std::string::npos && !p.starts_with(' ') &&
        !p.starts_with('\t') && !p.ends_with(' ') && !p.ends_with('\t')) {
        esigi(percorso_argomento(dopo_il_programma(programma + ' ' + p)) == p);
        esigi(percorso_argomento(dopo_il_programma(programma + " \"" + p + "\" ")) == p);
    }
}
