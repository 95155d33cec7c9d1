#include "process/processo_figlio.h"

#include <string>
#include <vector>
#include <windows.h>

namespace meravo {

namespace {

class ProcessoWin32 final : public ProcessoFiglio {
public:
    ProcessoWin32(PROCESS_INFORMATION pi, HANDLE lettura) : pi_(pi), lettura_(lettura) {}
    ProcessoWin32(const ProcessoWin32&) = delete;
    ProcessoWin32& operator=(const ProcessoWin32&) = delete;
    ~ProcessoWin32() override { attendi_fine(); }

    std::optional<std::size_t> leggi(char* buffer, std::size_t capacita) override {
        DWORD letti = 0;
        if (lettura_ == nullptr ||
            !ReadFile(lettura_, buffer, static_cast<DWORD>(capacita), &letti, nullptr)) {
            return std::nullopt;
        }
        // 0 bytes from a read that succeeded is a child's write of nothing, not the end of its
        // output: the end is the read that fails once every write end is closed.
        return letti;
    }

    int attendi_fine() override {
        chiudi(lettura_);
        if (pi_.hProcess != nullptr) {
            WaitForSingleObject(pi_.hProcess, INFINITE);
            DWORD codice = 0;
            if (GetExitCodeProcess(pi_.hProcess, &codice)) {
                codice_ = static_cast<int>(codice);
            }
        }
        chiudi(pi_.hProcess);
        chiudi(pi_.hThread);
        return codice_;
    }

private:
    static void chiudi(HANDLE& h) {
        if (h != nullptr) {
            CloseHandle(h);
            h = nullptr;
        }
    }

    PROCESS_INFORMATION pi_;
    HANDLE lettura_;
    int codice_ = -1;
};

} // namespace

ProcessoFiglio::Avvio ProcessoFiglio::avvia(std::string_view riga_comando) {
    // Both ends inheritable and no security descriptor, as the console tools expect.
    SECURITY_ATTRIBUTES sicurezza{};
    sicurezza.nLength = sizeof(sicurezza);
    sicurezza.lpSecurityDescriptor = nullptr;
    sicurezza.bInheritHandle = TRUE;

    HANDLE lettura = nullptr;
    HANDLE scrittura = nullptr;
    if (!CreatePipe(&lettura, &scrittura, &sicurezza, 0)) {
        return ErrorePipe{GetLastError()};
    }

    STARTUPINFOA avvio{};
    avvio.cb = sizeof(avvio);
    avvio.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    avvio.wShowWindow = SW_HIDE;
    avvio.hStdOutput = scrittura;
    avvio.hStdError = scrittura;

    // CreateProcessA may write into the command line, so it gets a private copy.
    std::vector<char> riga(riga_comando.begin(), riga_comando.end());
    riga.push_back('\0');
    PROCESS_INFORMATION pi{};
    const BOOL partito = CreateProcessA(nullptr, riga.data(), &sicurezza, &sicurezza, TRUE,
                                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &avvio, &pi);
    CloseHandle(scrittura);
    if (partito != TRUE) {
        CloseHandle(lettura);
        return ErroreAvvio{};
    }
    return std::make_unique<ProcessoWin32>(pi, lettura);
}

} // namespace meravo
