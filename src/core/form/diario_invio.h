#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace meravo {

// What the journal of a send names: the patient, the certificate's dates, the road and the
// moment the send started. Texts are Windows-1252.
struct VoceDiario {
    std::string cognome, nome, codice_fiscale;
    std::string rilascio, inizio, fine; // dd/mm/yyyy
    std::string strada;                 // "nazionale" or "regionale"
    std::string ora;                    // dd/mm/yyyy hh:mm:ss
    // The send ended without its outcome reaching the module.
    bool esito_ignoto = false;
};

// The journal of a send: a file of the user's alone, written before the road starts and removed
// once the outcome is known, so that a module killed in between (a power cut, the task manager)
// leaves behind what the next start must tell the doctor: a certificate may have reached INPS
// and never its archive. Its name carries the process's id, so that the modules of several
// patients working from one program folder keep their journals apart and none takes another's
// running send for an interrupted one.
class DiarioInvio {
public:
    // Writes the entry into the first of `cartelle` that takes it (the first time as a new file);
    // false when none does.
    bool scrivi(const std::vector<std::filesystem::path>& cartelle, const VoceDiario& voce);
    // The outcome is known: the journal goes.
    void rimuovi();
    bool presente() const { return !percorso_.empty(); }

private:
    std::filesystem::path percorso_;
};

// Where journals are kept: the program's folder, then (when it cannot be written, as under
// "Program Files") a private folder of the user's: %LOCALAPPDATA%\Meravo on Windows,
// $XDG_STATE_HOME/meravo or ~/.local/state/meravo elsewhere.
std::vector<std::filesystem::path>
cartelle_diario(const std::filesystem::path& programma,
                const std::function<std::optional<std::string>(std::string_view)>& ambiente);

struct DiariTrovati {
    // Journals of modules that ended before their send's outcome was known, with their entries.
    std::vector<std::pair<std::filesystem::path, VoceDiario>> interrotti;
    // Another module of this user is sending right now.
    bool invio_in_corso = false;
};
DiariTrovati cerca_diari(const std::vector<std::filesystem::path>& cartelle);

// What the doctor is told at the start of the module about an interrupted send.
std::string avviso_invio_interrotto(const VoceDiario& voce);

// Removes the work files that a run of the external tools killed half-way left behind, in the
// Sogei folder beside the program and in the user's temporary folder: a credential or a PIN may
// be in them. Only this user's files and folders go, nothing is followed through a link. Not
// while another module is sending (`invio_in_corso`): they may be its files.
void rimuovi_lavoro_interrotto(const std::filesystem::path& programma,
                               const std::filesystem::path& temporanea);

} // namespace meravo
