#pragma once

#include <filesystem>

namespace meravo {

// Keeps a second module away from an exchange file this one has open: a file beside it
// ("<exchange file>.in_uso") that this module holds with an operating-system lock for as long
// as it runs. The system drops the lock when the module ends, however it ends, so a module
// that crashed never keeps the next one out; the file itself goes when the lock is let go.
class BloccoIstanza {
public:
    enum class Presa {
        preso,
        occupato,    // another module holds it
        non_creabile // the folder does not take the file: nothing to hold, nothing to fear
    };

    BloccoIstanza() = default;
    BloccoIstanza(const BloccoIstanza&) = delete;
    BloccoIstanza& operator=(const BloccoIstanza&) = delete;
    ~BloccoIstanza();

    Presa prendi(const std::filesystem::path& file_scambio);
    void rilascia();

private:
    std::filesystem::path percorso_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace meravo
