#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Files read and written whole. A file the module writes is first written beside its target
// under a temporary name, flushed to the disk and then put in place with one rename: a failure
// or a crash leaves the old file or the new one, never half of one.
namespace meravo {

std::optional<std::string> leggi_file_intero(const std::filesystem::path& percorso);
bool scrivi_file_intero(const std::filesystem::path& percorso, std::string_view contenuto);
bool copia_file_intero(const std::filesystem::path& da, const std::filesystem::path& a);

// The temporary name under which this process writes `percorso` (distinct per process, so that
// two programs writing the same file never share one).
std::filesystem::path percorso_temporaneo(const std::filesystem::path& percorso);

} // namespace meravo
