#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace meravo::simulatore {

// The certificates the simulated service has issued and cancelled, kept in a file so that a
// restarted simulator still knows them (a certificate sent yesterday can be cancelled today).
// Every change is written to the file before it takes effect, and the file is always replaced
// whole: a change that cannot be saved did not happen. Not thread-safe: the server calls it
// one request at a time.
class StatoServizio {
public:
    enum class Esito { annullato, sconosciuto, altro_lavoratore, gia_annullato, non_salvato };
    struct Annullamento {
        Esito esito;
        std::string id_annullamento;
    };

    // The state kept in `file`, or an empty one (written at once, so that a file that cannot
    // be written is found at start-up) when the file does not exist. Without a file the
    // state lives only as long as the process.
    static std::optional<StatoServizio> apri(const std::optional<std::filesystem::path>& file,
                                             std::string& errore);

    // The protocol of a new certificate of this worker; empty when it could not be saved.
    std::optional<std::string> emetti(std::string_view codice_fiscale);

    // Cancels a certificate issued to this worker and gives the cancellation's protocol.
    Annullamento annulla(std::string_view id_certificato, std::string_view codice_fiscale);

private:
    struct Certificato {
        std::string codice_fiscale;
        std::string id_annullamento; // empty while it is in force
    };
    struct Dati {
        std::uint64_t ultimo_certificato = 100000000;
        std::uint64_t ultimo_annullamento = 900000000;
        std::map<std::string, Certificato, std::less<>> certificati;
    };

    StatoServizio(std::optional<std::filesystem::path> file, Dati dati)
        : file_(std::move(file)), dati_(std::move(dati)) {}

    bool salva(const Dati& dati) const;
    bool leggi(std::string& errore);

    std::optional<std::filesystem::path> file_;
    Dati dati_;
};

} // namespace meravo::simulatore
