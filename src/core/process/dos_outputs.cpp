#include "process/dos_outputs.h"

#include "process/processo_figlio.h"
#include "services/messaggi.h"

#include <array>

namespace meravo {

namespace {
const std::string nessuna_uscita;
}

const std::string& DOSOutputs::ExecuteCommand(const std::optional<std::string>& CommandLine) {
    if (CommandLine && !CommandLine->empty()) {
        riga_ = *CommandLine;
    }
    if (riga_.empty()) {
        messaggi_.avvisa("Command Line empty", Icona::critico);
        return nessuna_uscita;
    }
    auto avvio = ProcessoFiglio::avvia(riga_);
    if (const auto* errore = std::get_if<ProcessoFiglio::ErrorePipe>(&avvio)) {
        codice_uscita_.reset();
        messaggi_.avvisa("CreatePipe failed. Error: " + std::to_string(errore->codice),
                         Icona::critico);
        return nessuna_uscita;
    }
    if (std::holds_alternative<ProcessoFiglio::ErroreAvvio>(avvio)) {
        codice_uscita_.reset();
        messaggi_.avvisa("File or command not found", Icona::critico);
        return nessuna_uscita;
    }
    auto& figlio = *std::get<std::unique_ptr<ProcessoFiglio>>(avvio);
    leggi_uscite(figlio);
    codice_uscita_ = figlio.attendi_fine();
    return uscite_;
}

const std::string& DOSOutputs::leggi_uscite(ProcessoFiglio& figlio) {
    uscite_.clear();
    std::array<char, 256> buffer{};
    // One piece reused for every read: a megabyte of output is four thousand reads.
    std::string pezzo;
    pezzo.reserve(buffer.size());
    std::optional<std::size_t> letti;
    do {
        letti = figlio.leggi(buffer.data(), buffer.size());
        pezzo.assign(buffer.data(), letti.value_or(0));
        uscite_ += pezzo;
        if (ReceiveOutputs) {
            ReceiveOutputs(pezzo);
        }
    } while (letti);
    return uscite_;
}

} // namespace meravo
