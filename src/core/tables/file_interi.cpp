#include "tables/file_interi.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>
#ifdef _WIN32
#include <random>
#endif

#ifdef _WIN32
#include <aclapi.h>
#include <cerrno>
#include <process.h>
#include <sddl.h>
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

FileAperto apri_lettura(const std::filesystem::path& percorso) {
#ifdef _WIN32
    return FileAperto(_wfopen(percorso.c_str(), L"rb"));
#else
    return FileAperto(std::fopen(percorso.c_str(), "rb"));
#endif
}

// The rights a new file gets before its first byte: the user's alone, the folder's defaults, or
// those of the file it replaces.
struct DirittiNuovo {
    enum class Tipo { privato, predefinito, copiati } tipo;
    const DirittiFile* copiati = nullptr;
};

#ifdef _WIN32

// The security identifiers this process's files belong to: its user, and the owner the system
// gives the objects it creates (the administrators' group for an elevated administrator).
struct SidUtente {
    std::vector<char> utente, proprietario;
};

const SidUtente& sid_utente() {
    static const SidUtente sid = [] {
        SidUtente s;
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            return s;
        }
        for (auto [classe, dati] :
             {std::pair{TokenUser, &s.utente}, std::pair{TokenOwner, &s.proprietario}}) {
            DWORD lunghezza = 0;
            GetTokenInformation(token, classe, nullptr, 0, &lunghezza);
            dati->resize(lunghezza);
            if (lunghezza == 0 ||
                !GetTokenInformation(token, classe, dati->data(), lunghezza, &lunghezza)) {
                dati->clear();
            }
        }
        CloseHandle(token);
        return s;
    }();
    return sid;
}

PSID sid_di(const std::vector<char>& dati, bool utente) {
    if (dati.empty()) {
        return nullptr;
    }
    return utente ? reinterpret_cast<const TOKEN_USER*>(dati.data())->User.Sid
                  : reinterpret_cast<const TOKEN_OWNER*>(dati.data())->Owner;
}

struct LiberaLocale {
    void operator()(void* p) const { LocalFree(p); }
};
using DescrittoreLocale = std::unique_ptr<void, LiberaLocale>;

// Full access for the user running the module and for nobody else, inherited from no folder;
// `ereditato`: passed down in turn to what is created inside (a folder's).
DescrittoreLocale descrittore_privato(bool ereditato = false) {
    wchar_t* sid = nullptr;
    const PSID utente = sid_di(sid_utente().utente, true);
    if (utente == nullptr || !ConvertSidToStringSidW(utente, &sid)) {
        return nullptr;
    }
    const std::wstring sddl =
        std::wstring(L"D:P(A;") + (ereditato ? L"OICI" : L"") + L";FA;;;" + sid + L")";
    LocalFree(sid);
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &descrittore, nullptr)) {
        return nullptr;
    }
    return DescrittoreLocale(descrittore);
}

bool applica(HANDLE h, const DirittiFile& diritti) {
    auto* sd = const_cast<unsigned char*>(diritti.descrittore.data());
    BOOL presente = FALSE;
    BOOL predefinito = FALSE;
    PACL acl = nullptr;
    SECURITY_DESCRIPTOR_CONTROL controllo = 0;
    DWORD revisione = 0;
    if (diritti.descrittore.empty() ||
        !GetSecurityDescriptorDacl(sd, &presente, &acl, &predefinito) ||
        !GetSecurityDescriptorControl(sd, &controllo, &revisione)) {
        return false;
    }
    const SECURITY_INFORMATION cosa =
        DACL_SECURITY_INFORMATION |
        ((controllo & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                              : UNPROTECTED_DACL_SECURITY_INFORMATION);
    const DWORD esito = SetSecurityInfo(h, SE_FILE_OBJECT, cosa, nullptr, nullptr,
                                        presente ? acl : nullptr, nullptr);
    SetLastError(esito);
    return esito == ERROR_SUCCESS;
}

// The system's error as the C library would have set it, for the caller's message.
void imposta_errno() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    case ERROR_WRITE_PROTECT:
        errno = EROFS;
        break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        errno = EEXIST;
        break;
    default:
        errno = EIO;
    }
}

bool e_un_collegamento(const std::filesystem::path& percorso) {
    const DWORD attributi = GetFileAttributesW(percorso.c_str());
    return attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool rimuovi_nome(const std::filesystem::path& percorso) {
    return DeleteFileW(percorso.c_str()) != 0;
}

// A file being written, created new; closed (and, unless kept, removed) at the end.
class FileNuovo {
public:
    FileNuovo(const std::filesystem::path& percorso, const DirittiNuovo& diritti)
        : percorso_(percorso) {
        DescrittoreLocale privato;
        SECURITY_ATTRIBUTES sicurezza{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
        if (diritti.tipo == DirittiNuovo::Tipo::privato) {
            privato = descrittore_privato();
            if (!privato) {
                return;
            }
            sicurezza.lpSecurityDescriptor = privato.get();
        }
        // A reparse point at the name is not followed: the creation fails on it like on a file.
        h_ = CreateFileW(percorso.c_str(), GENERIC_WRITE | WRITE_DAC | READ_CONTROL, 0, &sicurezza,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h_ == INVALID_HANDLE_VALUE) {
            imposta_errno();
        } else if (diritti.tipo == DirittiNuovo::Tipo::copiati && !applica(h_, *diritti.copiati)) {
            imposta_errno();
            chiudi();
        }
    }
    ~FileNuovo() { chiudi(); }
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;

    bool aperto() const { return h_ != INVALID_HANDLE_VALUE; }
    bool scrivi(std::string_view testo) {
        while (!testo.empty()) {
            DWORD n = 0;
            const auto quanti = static_cast<DWORD>(std::min<std::size_t>(testo.size(), 1 << 20));
            if (!WriteFile(h_, testo.data(), quanti, &n, nullptr) || n == 0) {
                imposta_errno();
                return false;
            }
            testo.remove_prefix(n);
        }
        return true;
    }
    bool su_disco() { return FlushFileBuffers(h_) != 0; }
    // Closes the file; it stays only when `tieni` and the close succeeded.
    bool chiudi(bool tieni = false) {
        if (h_ == INVALID_HANDLE_VALUE) {
            return false;
        }
        const bool chiuso = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        if (!tieni || !chiuso) {
            rimuovi_nome(percorso_);
        }
        return chiuso;
    }

private:
    std::filesystem::path percorso_;
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

#else

bool e_un_collegamento(const std::filesystem::path& percorso) {
    struct stat s {};
    return ::lstat(percorso.c_str(), &s) == 0 && S_ISLNK(s.st_mode);
}

bool rimuovi_nome(const std::filesystem::path& percorso) {
    return ::unlink(percorso.c_str()) == 0;
}

class FileNuovo {
public:
    FileNuovo(const std::filesystem::path& percorso, const DirittiNuovo& diritti)
        : percorso_(percorso) {
        using Tipo = DirittiNuovo::Tipo;
        const unsigned modo = diritti.tipo == Tipo::privato ? 0600U
                              : diritti.tipo == Tipo::copiati ? diritti.copiati->modo & 0777U
                                                              : 0666U;
        // Never through a link, never into a file that was already there.
        fd_ = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo);
        if (fd_ < 0 || diritti.tipo == Tipo::predefinito) {
            return;
        }
        if (diritti.tipo == Tipo::copiati) {
            // The owner and group only where the system lets this user give them.
            [[maybe_unused]] const int dato =
                ::fchown(fd_, diritti.copiati->proprietario, diritti.copiati->gruppo);
        }
        // The creation mask may have taken bits away; a mode that cannot be set stops the write.
        if (::fchmod(fd_, modo) != 0) {
            chiudi();
        }
    }
    ~FileNuovo() { chiudi(); }
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;

    bool aperto() const { return fd_ >= 0; }
    bool scrivi(std::string_view testo) {
        while (!testo.empty()) {
            const auto n = ::write(fd_, testo.data(), testo.size());
            if (n <= 0) {
                return false;
            }
            testo.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    bool su_disco() { return ::fsync(fd_) == 0; }
    bool chiudi(bool tieni = false) {
        if (fd_ < 0) {
            return false;
        }
        const bool chiuso = ::close(fd_) == 0;
        fd_ = -1;
        if (!tieni || !chiuso) {
            rimuovi_nome(percorso_);
        }
        return chiuso;
    }

private:
    std::filesystem::path percorso_;
    int fd_ = -1;
};

#endif

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

bool scrivi_con(const std::filesystem::path& percorso, std::string_view contenuto,
                const DirittiNuovo& diritti) {
    const auto temporaneo = percorso_temporaneo(percorso);
    // The name is this process's: whatever stands there is a left-over of a process that had
    // the same id, or was put there to be written through.
    rimuovi_nome(temporaneo);
    FileNuovo f(temporaneo, diritti);
    if (!f.aperto()) {
        return false;
    }
    const bool scritto = f.scrivi(contenuto) && f.su_disco() && f.chiudi(true);
    if (scritto && sostituisci(temporaneo, percorso)) {
        rimuovi_temporanei_orfani(percorso);
        return true;
    }
    rimuovi_nome(temporaneo);
    return false;
}

} // namespace

long id_processo() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

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
    const FileAperto f = apri_lettura(percorso);
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
    const FileAperto f = apri_lettura(percorso);
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

std::optional<DirittiFile> diritti_file(const std::filesystem::path& percorso) {
    DirittiFile d;
#ifdef _WIN32
    DWORD lunghezza = 0;
    GetFileSecurityW(percorso.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &lunghezza);
    d.descrittore.resize(lunghezza);
    if (lunghezza == 0 || !GetFileSecurityW(percorso.c_str(), DACL_SECURITY_INFORMATION,
                                            d.descrittore.data(), lunghezza, &lunghezza)) {
        return std::nullopt;
    }
#else
    struct stat s {};
    if (::stat(percorso.c_str(), &s) != 0 || !S_ISREG(s.st_mode)) {
        return std::nullopt;
    }
    d.modo = s.st_mode & 0777U;
    d.proprietario = s.st_uid;
    d.gruppo = s.st_gid;
#endif
    return d;
}

bool scrivi_file_intero(const std::filesystem::path& percorso, std::string_view contenuto,
                        Accesso accesso) {
    using Tipo = DirittiNuovo::Tipo;
    if (accesso == Accesso::solo_utente) {
        // A copy is never written where a link stands: whoever put it there wants the data.
        return !e_un_collegamento(percorso) && scrivi_con(percorso, contenuto, {Tipo::privato});
    }
    const auto precedenti = diritti_file(percorso);
    return precedenti ? scrivi_con(percorso, contenuto, {Tipo::copiati, &*precedenti})
                      : scrivi_con(percorso, contenuto, {Tipo::predefinito});
}

bool scrivi_file_intero(const std::filesystem::path& percorso, std::string_view contenuto,
                        const DirittiFile& diritti) {
    return scrivi_con(percorso, contenuto, {DirittiNuovo::Tipo::copiati, &diritti});
}

bool copia_file_intero(const std::filesystem::path& da, const std::filesystem::path& a,
                       Accesso accesso) {
    const auto contenuto = leggi_file_intero(da);
    return contenuto && scrivi_file_intero(a, *contenuto, accesso);
}

bool crea_file_nuovo_privato(const std::filesystem::path& percorso, std::string_view contenuto,
                             bool su_disco) {
    FileNuovo f(percorso, {DirittiNuovo::Tipo::privato});
    return f.aperto() && f.scrivi(contenuto) && (!su_disco || f.su_disco()) && f.chiudi(true);
}

std::filesystem::path crea_cartella_privata(const std::filesystem::path& dentro,
                                            std::string_view prefisso) {
    if (dentro.empty()) {
        return {};
    }
#ifdef _WIN32
    const auto privato = descrittore_privato(true);
    if (!privato) {
        return {};
    }
    SECURITY_ATTRIBUTES sicurezza{sizeof(SECURITY_ATTRIBUTES), privato.get(), FALSE};
    std::random_device casuale;
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        // A name already taken, even by a link or a junction, is never entered: another is drawn.
        auto p = dentro / (std::string(prefisso) + std::to_string(casuale()));
        if (CreateDirectoryW(p.c_str(), &sicurezza)) {
            return p;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return {};
#else
    struct stat cartella {};
    if (::stat(dentro.c_str(), &cartella) != 0 ||
        ((cartella.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (cartella.st_mode & S_ISVTX) == 0)) {
        return {};
    }
    std::string modello = (dentro / (std::string(prefisso) + "XXXXXX")).string();
    return ::mkdtemp(modello.data()) != nullptr ? std::filesystem::path(modello)
                                                : std::filesystem::path();
#endif
}

bool dell_utente(const std::filesystem::path& percorso) {
#ifdef _WIN32
    const DWORD attributi = GetFileAttributesW(percorso.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES || (attributi & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return false;
    }
    PSID proprietario = nullptr;
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    if (GetNamedSecurityInfoW(const_cast<wchar_t*>(percorso.c_str()), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION, &proprietario, nullptr, nullptr, nullptr,
                              &descrittore) != ERROR_SUCCESS) {
        return false;
    }
    const auto& sid = sid_utente();
    const PSID utente = sid_di(sid.utente, true);
    const PSID creatore = sid_di(sid.proprietario, false);
    const bool suo =
        proprietario != nullptr && ((utente != nullptr && EqualSid(proprietario, utente)) ||
                                    (creatore != nullptr && EqualSid(proprietario, creatore)));
    LocalFree(descrittore);
    return suo;
#else
    struct stat s {};
    return ::lstat(percorso.c_str(), &s) == 0 && s.st_uid == ::geteuid() &&
           (S_ISREG(s.st_mode) || S_ISDIR(s.st_mode));
#endif
}

bool rimuovi_se_dell_utente(const std::filesystem::path& percorso) {
    std::error_code errore;
    const auto stato = std::filesystem::symlink_status(percorso, errore);
    if (errore || !std::filesystem::exists(stato)) {
        return !std::filesystem::exists(stato);
    }
    if (!dell_utente(percorso)) {
        return false;
    }
    if (!std::filesystem::is_directory(stato)) {
        return std::filesystem::remove(percorso, errore);
    }
    // Entry by entry rather than remove_all, so that a link or junction inside goes as a name
    // and nothing behind it is touched.
    bool tutto = true;
    for (std::filesystem::directory_iterator voce(percorso, errore), fine; !errore && voce != fine;
         voce.increment(errore)) {
        if (e_un_collegamento(voce->path())) {
            std::error_code ignorato;
            tutto = std::filesystem::remove(voce->path(), ignorato) && tutto;
        } else {
            tutto = rimuovi_se_dell_utente(voce->path()) && tutto;
        }
    }
    return std::filesystem::remove(percorso, errore) && tutto;
}

} // namespace meravo
