#include "report/copie_certificato.h"

#include "exchange/record_certificato.h"
#include "process/r4_procedure.h"

namespace meravo::copie_certificato {

namespace {
constexpr std::string_view campo_diagnosi = "diagnosi";

// What the employer is not entitled to know: the diagnosis, by code or in words.
bool riservato_al_lavoratore(std::string_view nome) {
    return nome == campo_diagnosi || nome == "cod_diagnosi";
}
} // namespace

std::string testo_copia(std::string_view nome, std::string_view valore) {
    auto testo = record_certificato::campo_archivio(std::string(valore));
    if (nome == campo_diagnosi) {
        ripristina_a_capo(testo);
    }
    return testo;
}

std::vector<std::optional<std::string>> campi_record(const DatiReport& lavoratore) {
    std::vector<std::optional<std::string>> campi;
    for (std::size_t i = 1; i < record_certificato::numero_campi; ++i) {
        campi.emplace_back(lavoratore.testo(record_certificato::nomi_campi[i]));
    }
    return campi;
}

DatiReport storico_da_record(std::string_view record) {
    const auto campi = record_certificato::campi(record);
    DatiReport storico;
    for (std::size_t i = 1; i < record_certificato::numero_campi; ++i) {
        const auto nome = record_certificato::nomi_campi[i];
        std::string testo = campi[i];
        if (nome == campo_diagnosi) {
            ripristina_a_capo(testo);
        }
        const std::string datore = riservato_al_lavoratore(nome) ? std::string() : testo;
        storico.imposta(nome, std::move(testo));
        storico.imposta(std::string(nome) + std::string(suffisso_datore), datore);
    }
    return storico;
}

} // namespace meravo::copie_certificato
