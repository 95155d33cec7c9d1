#include "exchange/blocco_istanza.h"

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

BloccoIstanza::~BloccoIstanza() {
    rilascia();
}

#ifdef _WIN32

BloccoIstanza::Presa BloccoIstanza::prendi(const std::filesystem::path& file_scambio) {
    rilascia();
    percorso_ = file_scambio;
    percorso_ += ".in_uso";
    // Not shared with anybody, and deleted by the system when the handle closes: a second
    // module's open fails with a sharing violation for as long as this one runs.
    const HANDLE h =
        CreateFileW(percorso_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        return e == ERROR_SHARING_VIOLATION || e == ERROR_ACCESS_DENIED ? Presa::occupato
                                                                        : Presa::non_creabile;
    }
    handle_ = h;
    return Presa::preso;
}

void BloccoIstanza::rilascia() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

#else

BloccoIstanza::Presa BloccoIstanza::prendi(const std::filesystem::path& file_scambio) {
    rilascia();
    percorso_ = file_scambio;
    percorso_ += ".in_uso";
    // A module that ends deletes the name before it lets the lock go; one that opened the old
    // file meanwhile finds it gone from under the name and tries again on a new one.
    for (int tentativo = 0; tentativo < 10; ++tentativo) {
        const int fd = ::open(percorso_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            return Presa::non_creabile;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool tenuto = errno == EWOULDBLOCK;
            ::close(fd);
            return tenuto ? Presa::occupato : Presa::non_creabile;
        }
        struct stat aperto {};
        struct stat nominato {};
        if (::fstat(fd, &aperto) == 0 && ::stat(percorso_.c_str(), &nominato) == 0 &&
            aperto.st_dev == nominato.st_dev && aperto.st_ino == nominato.st_ino) {
            fd_ = fd;
            return Presa::preso;
        }
        ::close(fd);
    }
    return Presa::occupato;
}

void BloccoIstanza::rilascia() {
    if (fd_ >= 0) {
        ::unlink(percorso_.c_str());
        ::close(fd_);
        fd_ = -1;
    }
}

#endif

} // namespace meravo
