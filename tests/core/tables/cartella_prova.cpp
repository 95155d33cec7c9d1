#include "cartella_prova.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace meravo::prova {

CartellaProva::CartellaProva() {
    const auto* prova = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device casuale;
    cartella_ = std::filesystem::temp_directory_path() /
                ("meravo_" + std::string(prova ? prova->name() : "prova") + "_" +
                 std::to_string(casuale()));
    std::filesystem::create_directories(cartella_);
}

CartellaProva::~CartellaProva() {
    std::error_code ignorato;
    std::filesystem::remove_all(cartella_, ignorato);
}

std::string CartellaProva::percorso(std::string_view nome) const {
    return (cartella_ / nome).string();
}

void CartellaProva::scrivi(std::string_view nome, std::string_view contenuto) const {
    std::ofstream f(cartella_ / nome, std::ios::binary);
    f.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
}

std::string CartellaProva::leggi(std::string_view nome) const {
    std::ifstream f(cartella_ / nome, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool CartellaProva::esiste(std::string_view nome) const {
    return std::filesystem::exists(cartella_ / nome);
}

} // namespace meravo::prova
