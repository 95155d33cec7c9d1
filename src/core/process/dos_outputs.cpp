#include "process/dos_outputs.h"

#include "process/processo_figlio.h"
#include "services/messaggi.h"

#include <array>

namespace meravo {

std::string DOSOutputs::ExecuteCommand(const std::optional<std::string>& CommandLine) {
    if (CommandLine && !CommandLine->empty()) {
        riga_ = *CommandLine;
    }
    if (riga_.empty()) {
        messaggi_.avvisa("Command Line empty", Icona::critico);
        return {};
    }
    auto avvio = ProcessoFiglio::avvia(riga_);
    if (const auto* errore = std::get_if<ProcessoFiglio::ErrorePipe>(&avvio)) {
        codice_uscita_.reset();
        messaggi_.avvisa("CreatePipe failed. Error: " + std::to_string(errore->codice),
                         Icona::critico);
        return {};
    }
    if (std::holds_alternative<ProcessoFiglio::ErroreAvvio>(avvio)) {
        codice_uscita_.reset();
        messaggi_.avvisa("File or command not found", Icona::critico);
        return {};
    }
    auto& figlio = *std::get<std::unique_ptr<ProcessoFiglio>>(avvio);

    uscite_.clear();
    std::array<char, 256> buffer{};
    std::size_t letti = 0;
    do {
        letti = figlio.leggi(buffer.data(), buffer.size());
        std::string pezzo(buffer.data(), letti);
        uscite_ += pezzo;
        if (ReceiveOutputs) {
            ReceiveOutputs(pezzo);
        }
    } while (letti > 0);
    codice_uscita_ = figlio.attendi_fine();
    return uscite_;
}

} // namespace meravo
