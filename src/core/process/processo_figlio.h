#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>

namespace meravo {

// A console child started with its standard output and standard error on one pipe and no
// standard input. Owns every handle it opened; destroying it closes them and reaps the child.
class ProcessoFiglio {
public:
    struct ErrorePipe {
        unsigned long codice;
    };
    struct ErroreAvvio {};
    using Avvio = std::variant<std::unique_ptr<ProcessoFiglio>, ErrorePipe, ErroreAvvio>;

    static Avvio avvia(std::string_view riga_comando);

    virtual ~ProcessoFiglio() = default;
    // Bytes read (at most `capacita`; a read that succeeds may bring none), or nothing once
    // every writer of the pipe has closed it or the read failed.
    virtual std::optional<std::size_t> leggi(char* buffer, std::size_t capacita) = 0;
    // Waits for the child to end and gives its exit status (128 + signal when it was killed).
    virtual int attendi_fine() = 0;
};

} // namespace meravo
