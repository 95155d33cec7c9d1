#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Files read and written whole. A file the module writes is first written beside its target
// under a temporary name, flushed to the disk and then put in place with one rename: a failure
// or a crash leaves the old file or the new one, never half of one.
namespace meravo {

std::optional<std::string> leggi_file_intero(const std::filesystem::path& percorso);

// A file's bytes in a buffer that is not cleared before the read: the loader reads tables of tens
// of megabytes, and deciphers them where they lie.
struct ContenutoFile {
    std::unique_ptr<char[]> dati;
    std::size_t dimensione = 0;
    std::string_view vista() const { return {dati.get(), dimensione}; }
};
std::optional<ContenutoFile> leggi_file_grezzo(const std::filesystem::path& percorso);
// Who may read a file the module writes. Copies of requests and answers, backups, the plain
// copy of the patients' list and the journal of a send hold patients' data: they are the user's
// alone (mode 0600 on POSIX, a protected access list naming the user alone on Windows), and a
// name where a link stands is refused rather than written through. Tables and the exchange file
// are shared with the practice's other programs: a new version keeps the access rights of the
// file it replaces.
enum class Accesso { condiviso, solo_utente };

// The access rights of a file (POSIX: its mode, owner and group; Windows: its access list), to
// give to the next version of it when the file itself is gone meanwhile.
struct DirittiFile {
#ifdef _WIN32
    std::vector<unsigned char> descrittore; // self-relative security descriptor
#else
    unsigned modo = 0;
    unsigned proprietario = 0;
    unsigned gruppo = 0;
#endif
};
std::optional<DirittiFile> diritti_file(const std::filesystem::path& percorso);

bool scrivi_file_intero(const std::filesystem::path& percorso, std::string_view contenuto,
                        Accesso accesso = Accesso::condiviso);
// A shared file written with `diritti` rather than those of the file it replaces.
bool scrivi_file_intero(const std::filesystem::path& percorso, std::string_view contenuto,
                        const DirittiFile& diritti);
bool copia_file_intero(const std::filesystem::path& da, const std::filesystem::path& a,
                       Accesso accesso = Accesso::condiviso);

// Creates `percorso` as a new file of the user's alone and writes `contenuto` into it, flushed to
// the disk when it must outlive a power cut (`su_disco`): refused when anything stands at that
// name, a link included. The rights are in place before the first byte; a file it could not
// finish is removed.
bool crea_file_nuovo_privato(const std::filesystem::path& percorso, std::string_view contenuto,
                             bool su_disco = true);

// Creates a new folder in `dentro`, named `prefisso` and a part nobody else had, that only the user
// can open (POSIX 0700; Windows a protected access list naming the user alone, which what is made
// inside inherits), so that no other user can put a name, or a link, in it. Empty when it cannot,
// and on POSIX when others may write in `dentro` without the sticky bit: they could rename the
// folder away and put one of theirs in its place.
std::filesystem::path crea_cartella_privata(const std::filesystem::path& dentro,
                                            std::string_view prefisso);
// The name's start of the private folders of one run of the external tools: what a run that broke
// off left is found by it, and removed, at the next start.
inline constexpr std::string_view prefisso_cartella_di_lavoro = "meravo-lavoro-";

// Removes a file, or a folder with everything in it, left behind by this user: nothing is
// followed through a link, and what another user owns, or is neither a file nor a folder, stays.
// False when something was there and could not go.
bool rimuovi_se_dell_utente(const std::filesystem::path& percorso);

// Whether `percorso` is a file or folder of this user's (not a link).
bool dell_utente(const std::filesystem::path& percorso);

// This process's id, and whether process `pid` of this computer may still be running (when in
// doubt, it is).
long id_processo();
bool processo_vivo(long pid);

// The temporary name under which this process writes `percorso` (distinct per process, so that
// two programs writing the same file never share one).
std::filesystem::path percorso_temporaneo(const std::filesystem::path& percorso);

} // namespace meravo
