#include "tables/file_interi.h"

#include <cstdio>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace meravo {

namespace {

struct ChiudiFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileAperto = std::unique_ptr<std::FILE, ChiudiFile>;

FileAperto apri(const std::filesystem::path& percorso, bool scrittura) {
#ifdef _WIN32
    return FileAperto(_wfopen(percorso.c_str(), scrittura ? L"wb" : L"rb"));
#else
    return FileAperto(std::fopen(percorso.c_str(), scrittura ? "wb" : "rb"));
#endif
}

FileAperto crea(const std::filesystem::path& percorso, Accesso accesso) {
#ifdef _WIN32
    static_cast<void>(accesso);
    return apri(percorso, true);
#else
    if (accesso == Accesso::condiviso) {
        return apri(percorso, true);
    }
    // Private from its creation, never readable by others even for a moment; a work file left
    // by an earlier run is made private too.
    const int fd = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return nullptr;
    }
    FileAperto f(::fdopen(fd, "wb"));
    if (!f) {
        ::close(fd);
    }
    return f;
#endif
}

bool su_disco(std::FILE* f) {
    if (std::fflush(f) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

bool sostituisci(const std::filesystem::path& da, const std::filesystem::path& a) {
#ifdef _WIN32
    return MoveFileExW(da.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           0;
#else
    if (std::rename(da.c_str(), a.c_str()) != 0) {
        return false;
    }
    // The rename lives in the folder: until the folder is on disk too, a power cut could bring
    // back the old version (or none). The file is already in place, so a failure here is not one
    // of the write.
    auto cartella = a.parent_path();
    if (cartella.empty()) {
        cartella = ".";
    }
    const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
#endif
}

long id_processo() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

// Whether process `pid` of this computer may still be running: when in doubt, it is.
bool processo_vivo(long pid) {
#ifdef _WIN32
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (h == nullptr) {
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD codice = 0;
    const bool finito = GetExitCodeProcess(h, &codice) && codice != STILL_ACTIVE;
    CloseHandle(h);
    return !finito;
#else
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#endif
}

// The work files that writes of `percorso` killed before their rename left behind: the name
// says which process wrote each, and one whose process is gone will never be finished.
void rimuovi_temporanei_orfani(const std::filesystem::path& percorso) {
    using Testo = std::filesystem::path::string_type;
    const Testo prefisso = percorso.filename().native() + Testo(1, '.');
    const Testo suffisso = std::filesystem::path(".nuovo").native();
    auto cartella = percorso.parent_path();
    if (cartella.empty()) {
        cartella = ".";
    }
    std::error_code errore;
    for (std::filesystem::directory_iterator voce(cartella, errore), fine; !errore && voce != fine;
         voce.increment(errore)) {
        const Testo nome = voce->path().filename().native();
        if (nome.size() <= prefisso.size() + suffisso.size() ||
            nome.compare(0, prefisso.size(), prefisso) != 0 ||
            nome.compare(nome.size() - suffisso.size(), suffisso.size(), suffisso) != 0) {
            continue;
        }
        const Testo cifre =
            nome.substr(prefisso.size(), nome.size() - prefisso.size() - suffisso.size());
        long pid = 0;
        bool numero = cifre.size() <= 9;
        for (std::size_t i = 0; numero && i < cifre.size(); ++i) {
            numero = cifre[i] >= '0' && cifre[i] <= '9';
            pid = pid * 10 + static_cast<long>(cifre[i] - '0');
        }
        if (numero && pid != id_processo() && !processo_vivo(pid)) {
            std::error_code ignorato;
            std::filesystem::remove(voce->path(), ignorato);
        }
    }
}

} // namespace

std::filesystem::path percorso_temporaneo(const std::filesystem::path& percorso) {
    std::string suffisso = ".";
    suffisso += std::to_string(id_processo());
    suffisso += ".nuovo";
    auto temporaneo = percorso;
    temporaneo += suffisso;
    return temporaneo;
}

std::optional<std::string> leggi_file_intero(const std::filesystem::path& percorso) {
    std::error_code errore;
    if (!std::filesystem::is_regular_file(percorso, errore)) {
        return std::nullopt;
    }
    const FileAperto f = apri(percorso, false);
    if (!f) {
        return std::nullopt;
    }
    // One read of the announced size; a file that grew meanwhile is read on to its end.
    const auto annunciata = std::filesystem::file_size(percorso, errore);
    std::string contenuto(errore ? 0 : static_cast<std::size_t>(annunciata), '\0');
    std::size_t letti = std::fread(contenuto.data(), 1, contenuto.size(), f.get());
    contenuto.resize(letti);
    char blocco[1 << 16];
    while ((letti = std::fread(blocco, 1, sizeof blocco, f.get())) > 0) {
        contenuto.append(blocco, letti);
    }
    if (std::ferror(f.get())) {
        return std::nullopt;
    }
    return contenuto;
}

std::optional<ContenutoFile> leggi_file_grezzo(const std::filesystem::path& percorso) {
    std::error_code errore;
    if (!std::filesystem::is_regular_file(percorso, errore)) {
        return std::nullopt;
    }
    const auto dimensione = std::filesystem::file_size(percorso, errore);
    const FileAperto f = apri(percorso, false);
    if (errore || !f) {
        return std::nullopt;
    }
    ContenutoFile contenuto;
    // Left to throw std::bad_alloc for a file larger than the memory: the loader turns it into
    // its message.
    contenuto.dati =
        std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(dimensione) + 1);
    contenuto.dimensione =
        std::fread(contenuto.dati.get(), 1, static_cast<std::size_t>(dimensione), f.get());
    if (std::ferror(f.get())) {
        return std::nullopt;
    }
    return contenuto;
}

bool scrivi_file_intero(const std::filesystem::path& percorso, std::string_view contenuto,
                        Accesso accesso) {
    const auto temporaneo = percorso_temporaneo(percorso);
    bool scritto = false;
    if (FileAperto f = crea(temporaneo, accesso)) {
        scritto = std::fwrite(contenuto.data(), 1, contenuto.size(), f.get()) == contenuto.size() &&
                  su_disco(f.get());
        scritto = std::fclose(f.release()) == 0 && scritto;
    } else {
        return false;
    }
    if (scritto && sostituisci(temporaneo, percorso)) {
        rimuovi_temporanei_orfani(percorso);
        return true;
    }
    std::error_code ignorato;
    std::filesystem::remove(temporaneo, ignorato);
    return false;
}

bool copia_file_intero(const std::filesystem::path& da, const std::filesystem::path& a,
                       Accesso accesso) {
    const auto contenuto = leggi_file_intero(da);
    return contenuto && scrivi_file_intero(a, *contenuto, accesso);
}

} // namespace meravo
