#pragma once

#include <filesystem>
#include <string_view>

namespace meravo {

class Orologio;
class PompaEventi;

// The writer lock of a shared table folder: a file that exists while one program changes the
// table, holding the name of the change. It is taken with an exclusive create, so two programs
// can never both believe they hold it; it is released (deleted) when the object goes.
class BloccoScrittura {
public:
    static constexpr double attesa_massima = 5.0; // seconds

    BloccoScrittura() = default;
    BloccoScrittura(const BloccoScrittura&) = delete;
    BloccoScrittura& operator=(const BloccoScrittura&) = delete;
    ~BloccoScrittura();

    // Tries to create `percorso`; while another program holds it, lets the window events run
    // and tries again, giving up after attesa_massima seconds.
    bool prendi(const std::filesystem::path& percorso, std::string_view operazione,
                Orologio& orologio, PompaEventi& pompa);
    bool preso() const { return preso_; }
    void rilascia();

private:
    bool crea(std::string_view operazione);

    std::filesystem::path percorso_;
    bool preso_ = false;
};

} // namespace meravo
