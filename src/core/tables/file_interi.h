#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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
// Who may read a file the module writes. Copies of requests and answers, backups and the plain
// copy of the patients' list hold patients' data: on POSIX they are the user's alone (Windows
// leaves it to the folder's permissions). Tables and the exchange file are shared with the
// practice's other programs.
enum class Accesso { condiviso, solo_utente };

bool scrivi_file_intero(const std::filesystem::path& percorso, std::string_view contenuto,
                        Accesso accesso = Accesso::condiviso);
bool copia_file_intero(const std::filesystem::path& da, const std::filesystem::path& a,
                       Accesso accesso = Accesso::condiviso);

// The temporary name under which this process writes `percorso` (distinct per process, so that
// two programs writing the same file never share one).
std::filesystem::path percorso_temporaneo(const std::filesystem::path& percorso);

} // namespace meravo
