#include "process/riga_comando.h"

namespace meravo::riga_comando {

namespace {

bool separatore(char c) {
    return c == ' ' || c == '\t';
}

std::size_t leggi_programma(std::string_view riga, std::string& nome) {
    std::size_t i = 0;
    bool tra_virgolette = false;
    for (; i < riga.size(); ++i) {
        const char c = riga[i];
        if (c == '"') {
            tra_virgolette = !tra_virgolette;
        } else if (separatore(c) && !tra_virgolette) {
            break;
        } else {
            nome.push_back(c);
        }
    }
    return i;
}

std::size_t leggi_argomento(std::string_view riga, std::size_t i, std::string& arg) {
    bool tra_virgolette = false;
    while (i < riga.size()) {
        std::size_t barre = 0;
        while (i < riga.size() && riga[i] == '\\') {
            ++barre, ++i;
        }
        if (i < riga.size() && riga[i] == '"') {
            arg.append(barre / 2, '\\');
            if (barre % 2 == 1) {
                arg.push_back('"');
            } else if (tra_virgolette && i + 1 < riga.size() && riga[i + 1] == '"') {
                arg.push_back('"');
                ++i;
            } else {
                tra_virgolette = !tra_virgolette;
            }
            ++i;
            continue;
        }
        arg.append(barre, '\\');
        if (i >= riga.size() || (separatore(riga[i]) && !tra_virgolette)) {
            break;
        }
        arg.push_back(riga[i++]);
    }
    return i;
}

} // namespace

std::vector<std::string> dividi(std::string_view riga) {
    std::vector<std::string> argomenti;
    std::size_t i = 0;
    while (i < riga.size() && separatore(riga[i])) {
        ++i;
    }
    if (i == riga.size()) {
        return argomenti;
    }
    argomenti.emplace_back();
    i += leggi_programma(riga.substr(i), argomenti.back());
    for (;;) {
        while (i < riga.size() && separatore(riga[i])) {
            ++i;
        }
        if (i >= riga.size()) {
            return argomenti;
        }
        argomenti.emplace_back();
        i = leggi_argomento(riga, i, argomenti.back());
    }
}

std::string_view dopo_il_programma(std::string_view riga) {
    std::size_t i = 0;
    while (i < riga.size() && separatore(riga[i])) {
        ++i;
    }
    std::string ignorato;
    i += leggi_programma(riga.substr(i), ignorato);
    return riga.substr(i);
}

std::string percorso_argomento(std::string_view resto) {
    const auto inizio = resto.find_first_not_of(" \t");
    if (inizio == std::string_view::npos) {
        return {};
    }
    resto = resto.substr(inizio, resto.find_last_not_of(" \t") - inizio + 1);
    if (resto.size() >= 2 && resto.front() == '"' && resto.back() == '"') {
        resto = resto.substr(1, resto.size() - 2);
    }
    return std::string(resto);
}

std::string quota_argomento(std::string_view argomento) {
    if (!argomento.empty() && argomento.find_first_of(" \t\n\v\"") == std::string_view::npos) {
        return std::string(argomento);
    }
    std::string out = "\"";
    std::size_t barre = 0;
    for (char c : argomento) {
        if (c == '\\') {
            ++barre;
            continue;
        }
        if (c == '"') {
            out.append(barre * 2 + 1, '\\');
        } else {
            out.append(barre, '\\');
        }
        barre = 0;
        out.push_back(c);
    }
    // Backslashes before the closing quote are doubled so they do not escape it.
    out.append(barre * 2, '\\');
    out.push_back('"');
    return out;
}

} // namespace meravo::riga_comando
