#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace meravo::prova {

// A scratch folder of its own for each test, removed at the end.
class CartellaProva {
public:
    CartellaProva();
    ~CartellaProva();
    CartellaProva(const CartellaProva&) = delete;
    CartellaProva& operator=(const CartellaProva&) = delete;

    std::string percorso(std::string_view nome) const;
    void scrivi(std::string_view nome, std::string_view contenuto) const;
    std::string leggi(std::string_view nome) const;
    bool esiste(std::string_view nome) const;

private:
    std::filesystem::path cartella_;
};

} // namespace meravo::prova
