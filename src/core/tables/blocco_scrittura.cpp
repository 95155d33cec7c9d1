#include "tables/blocco_scrittura.h"

#include "services/orologio.h"
#include "services/pompa_eventi.h"

#include <chrono>
#include <ctime>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace meravo {

namespace {

constexpr double secondi_al_giorno = 86400.0;
constexpr std::chrono::milliseconds passo{50};

std::string riga_di(std::string_view operazione) {
    return std::string(operazione) + "\r\n";
}

} // namespace

BloccoScrittura::~BloccoScrittura() {
    rilascia();
}

#ifdef _WIN32

namespace {

// Every handle on the file shares everything, so that the programs that only look at the name of
// the change can read it and a holder can delete the file while it holds it. The lock is a byte
// far past the end of the file: it hides nothing of the text, and the system lets it go when the
// holder's handle closes, however its program ends.
HANDLE apri(const std::filesystem::path& percorso, DWORD accesso, DWORD modo) {
    return CreateFileW(percorso.c_str(), accesso,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, modo,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool blocca(HANDLE h) {
    OVERLAPPED posizione{};
    posizione.OffsetHigh = 0x40000000;
    return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &posizione) != 0;
}

bool vecchio(HANDLE h) {
    FILETIME scritto{};
    FILETIME adesso{};
    GetSystemTimeAsFileTime(&adesso);
    if (!GetFileTime(h, nullptr, nullptr, &scritto)) {
        return false;
    }
    const auto centinaia_ns = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    const auto da = centinaia_ns(scritto);
    const auto a = centinaia_ns(adesso);
    return a > da && static_cast<double>(a - da) / 1e7 > BloccoScrittura::eta_abbandono;
}

// A reader that has the file open without sharing its deletion makes the deletion fail for a
// moment; the attempts are few, a file left behind anyway is taken over by the next change.
bool elimina(const std::filesystem::path& percorso) {
    for (int tentativo = 0; tentativo < 20; ++tentativo) {
        if (DeleteFileW(percorso.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

} // namespace

bool BloccoScrittura::preso() const {
    return handle_ != nullptr;
}

BloccoScrittura::Stato BloccoScrittura::tenta(std::string_view operazione, bool riprendi) {
    HANDLE h = apri(percorso_, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    if (h != INVALID_HANDLE_VALUE) {
        // Another program took the new file over before we could lock it; it is theirs.
        if (!blocca(h)) {
            CloseHandle(h);
            return Stato::tenuto;
        }
        const std::string riga = riga_di(operazione);
        DWORD scritti = 0;
        WriteFile(h, riga.data(), static_cast<DWORD>(riga.size()), &scritti, nullptr);
        handle_ = h;
        return Stato::preso;
    }
    const DWORD e = GetLastError();
    if (e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) {
        // A file on its way out refuses a new one, and even a look at it, with "access
        // denied": it is still there.
        if (e == ERROR_ACCESS_DENIED &&
            (GetFileAttributesW(percorso_.c_str()) != INVALID_FILE_ATTRIBUTES ||
             GetLastError() == ERROR_ACCESS_DENIED)) {
            return Stato::tenuto;
        }
        errore_ = e;
        return Stato::errore;
    }
    h = apri(percorso_, GENERIC_READ, OPEN_EXISTING);
    if (h == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? Stato::sparito : Stato::tenuto;
    }
    Stato stato = Stato::tenuto;
    if (blocca(h)) {
        // Nobody holds it: its holder is gone. Deleted while locked, so that nobody else takes
        // the same left-over file; the next attempt creates it afresh.
        stato = Stato::abbandonato;
        if (riprendi && vecchio(h)) {
            // A reader that does not share the deletion holds it up only for a moment.
            stato = DeleteFileW(percorso_.c_str())              ? Stato::ripreso
                    : GetLastError() == ERROR_SHARING_VIOLATION ? Stato::tenuto
                                                                : Stato::errore;
            errore_ = GetLastError();
        }
    }
    CloseHandle(h);
    return stato;
}

void BloccoScrittura::rilascia() {
    if (handle_ == nullptr) {
        return;
    }
    HANDLE h = static_cast<HANDLE>(handle_);
    handle_ = nullptr;
    // Deleted before the lock goes, so that nobody finds the file unlocked in between.
    const bool eliminato = elimina(percorso_);
    CloseHandle(h);
    if (!eliminato) {
        elimina(percorso_);
    }
}

#else

namespace {

// The lock was taken on the file that `fd` opened; it counts only if that file is still the
// one under the name (a holder deletes the name before it lets the lock go).
bool stesso_file(int fd, const std::filesystem::path& percorso) {
    struct stat aperto {};
    struct stat nominato {};
    return ::fstat(fd, &aperto) == 0 && ::stat(percorso.c_str(), &nominato) == 0 &&
           aperto.st_dev == nominato.st_dev && aperto.st_ino == nominato.st_ino;
}

bool vecchio(int fd) {
    struct stat s {};
    return ::fstat(fd, &s) == 0 &&
           std::difftime(std::time(nullptr), s.st_mtime) > BloccoScrittura::eta_abbandono;
}

} // namespace

bool BloccoScrittura::preso() const {
    return fd_ >= 0;
}

BloccoScrittura::Stato BloccoScrittura::tenta(std::string_view operazione, bool riprendi) {
    // Close-on-exec: a child that inherited the descriptor would keep the lock after we end.
    int fd = ::open(percorso_.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
    if (fd >= 0) {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            // Another program took the new file over before we could lock it; it is theirs.
            // A folder without locks is used the old way, by the file alone.
            if (errno == EWOULDBLOCK) {
                ::close(fd);
                return Stato::tenuto;
            }
        } else if (!stesso_file(fd, percorso_)) {
            ::close(fd);
            return Stato::sparito;
        }
        const std::string riga = riga_di(operazione);
        // The name of the change is for whoever looks at the file; the lock does not need it.
        [[maybe_unused]] const auto scritti = ::write(fd, riga.data(), riga.size());
        fd_ = fd;
        return Stato::preso;
    }
    if (errno != EEXIST) {
        errore_ = static_cast<unsigned long>(errno);
        return Stato::errore;
    }
    fd = ::open(percorso_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? Stato::sparito : Stato::tenuto;
    }
    // Where locks cannot be taken at all, a file that is there stays a held lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return Stato::tenuto;
    }
    Stato stato = Stato::abbandonato;
    if (!stesso_file(fd, percorso_)) {
        stato = Stato::sparito;
    } else if (riprendi && vecchio(fd)) {
        // Deleted while locked, so that nobody else takes the same left-over file; the next
        // attempt creates it afresh.
        stato = ::unlink(percorso_.c_str()) == 0 ? Stato::ripreso : Stato::errore;
        errore_ = static_cast<unsigned long>(errno);
    }
    ::close(fd);
    return stato;
}

void BloccoScrittura::rilascia() {
    if (fd_ < 0) {
        return;
    }
    ::unlink(percorso_.c_str());
    ::close(fd_);
    fd_ = -1;
}

#endif

BloccoScrittura::Presa BloccoScrittura::prendi(const std::filesystem::path& percorso,
                                               std::string_view operazione, Orologio& orologio,
                                               PompaEventi& pompa) {
    rilascia();
    percorso_ = percorso;
    double precedente = orologio.secondi_da_mezzanotte();
    double trascorsi = 0;
    bool ripreso = false;
    for (;;) {
        // Once a file nobody holds is taken over, one more attempt creates it afresh.
        const bool scaduto = trascorsi >= attesa_massima;
        switch (tenta(operazione, !ripreso)) {
        case Stato::preso:
            return Presa::preso;
        case Stato::errore:
            return Presa::non_creabile;
        case Stato::ripreso:
            ripreso = true;
            continue;
        default:
            if (scaduto) {
                return Presa::occupato;
            }
            break;
        }
        const double adesso = orologio.secondi_da_mezzanotte();
        double delta = adesso - precedente;
        if (delta < 0) {
            delta += secondi_al_giorno; // past midnight
        }
        trascorsi += delta;
        precedente = adesso;
        pompa.esegui_eventi_in_attesa();
        orologio.pausa(passo);
    }
}

} // namespace meravo
