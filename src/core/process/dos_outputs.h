#pragma once

#include <functional>
#include <optional>
#include <string>

namespace meravo {

class Messaggi;
class ProcessoFiglio;

// Runs one console command line as a hidden child and captures what it writes on standard
// output and standard error, interleaved as written. The call blocks until every writer of the
// pipe has closed it. Output bytes are handed back as they come (the core's texts are bytes).
class DOSOutputs {
public:
    explicit DOSOutputs(Messaggi& messaggi) : messaggi_(messaggi) {}

    void CommandLine(std::string DOSCommand) { riga_ = std::move(DOSCommand); }
    const std::string& CommandLine() const { return riga_; }
    const std::string& Outputs() const { return uscite_; }

    // Raised once for every read of at most 256 bytes, and a last time with the empty text
    // when the output has ended.
    std::function<void(std::string& CommandOutputs)> ReceiveOutputs;

    // Runs the command (an argument that is given and not empty replaces the command line) and
    // returns everything it wrote, or the empty text after showing why it could not start.
    // The text returned lives in the object (outputs may run to megabytes: no copy is made).
    const std::string& ExecuteCommand(const std::optional<std::string>& CommandLine = std::nullopt);

    // The reading part of a run: the outputs afresh, from `figlio`'s reads until one fails.
    const std::string& leggi_uscite(ProcessoFiglio& figlio);

    // Exit status of the last child that ran; empty before any run and after a failed start.
    // Callers may ignore it: whatever the child wrote is the result.
    std::optional<int> CodiceUscita() const { return codice_uscita_; }

private:
    Messaggi& messaggi_;
    std::string riga_;
    std::string uscite_;
    std::optional<int> codice_uscita_;
};

} // namespace meravo
