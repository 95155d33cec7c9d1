#pragma once

#include <filesystem>
#include <string_view>

namespace meravo {

class Orologio;
class PompaEventi;

// The writer lock of a shared table folder: a file that exists while one program changes the
// table, holding the name of the change, for the other programs of the practice that look for it.
//
// While the file exists its holder also keeps an operating-system lock on it (an exclusive lock
// on the file on POSIX, on one byte of it on Windows), which the system drops when the holder
// ends, however it ends. A file that nobody holds that way was left by a program
// that died, or belongs to a program of the suite that only creates and deletes the file and
// may still be at work behind it: it is taken over only once it is older than any real change
// of the list lasts, and until then it is waited for as a held one.
class BloccoScrittura {
public:
    static constexpr double attesa_massima = 5.0; // seconds
    // A change rewrites and re-enciphers the whole list, which takes seconds even for tens of
    // thousands of patients on a slow share; ten minutes is far beyond that, and still short
    // enough for a list left locked by a program that died to come back in a working morning.
    static constexpr double eta_abbandono = 600.0; // seconds since the file was last written

    enum class Presa {
        preso,
        occupato,    // another program held it for the whole wait
        non_creabile // the file could not be created for another reason (see errore())
    };

    BloccoScrittura() = default;
    BloccoScrittura(const BloccoScrittura&) = delete;
    BloccoScrittura& operator=(const BloccoScrittura&) = delete;
    ~BloccoScrittura();

    // Tries to take `percorso`; while another program holds it, lets the window events run and
    // tries again, for attesa_massima seconds.
    Presa prendi(const std::filesystem::path& percorso, std::string_view operazione,
                 Orologio& orologio, PompaEventi& pompa);
    bool preso() const;
    // The system's error number of the last failed creation.
    unsigned long errore() const { return errore_; }
    // Deletes the file, then lets the lock go.
    void rilascia();

private:
    // sparito: the file went away under the attempt; ripreso: a file nobody held was deleted.
    enum class Stato { preso, tenuto, abbandonato, sparito, ripreso, errore };
    // One attempt; a file found abandoned is taken over only when `riprendi` is set and it is
    // older than eta_abbandono.
    Stato tenta(std::string_view operazione, bool riprendi);

    std::filesystem::path percorso_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    unsigned long errore_ = 0;
};

} // namespace meravo
