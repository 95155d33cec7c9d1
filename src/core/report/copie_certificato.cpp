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

std::string nome_file_pdf(const DatiReport& copia) {
    auto data = copia.testo("dt_rilascio");
    if (data.size() == 10 && data[2] == '/' && data[5] == '/') {
        data = data.substr(6, 4) + data.substr(3, 2) + data.substr(0, 2);
    }
    std::string nome;
    for (const auto& parte :
         {copia.testo("cognome"), copia.testo("nome"), data, copia.testo("protocollo")}) {
        if (parte.empty()) {
            continue;
        }
        nome += nome.empty() ? "" : "_";
        for (const char c : parte.substr(0, 60)) {
            const bool vietato = static_cast<unsigned char>(c) < 0x20 ||
                                 std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
            nome += vietato ? '_' : c;
        }
    }
    return (nome.empty() ? "certificato" : nome) + ".pdf";
}

} // namespace meravo::copie_certificato
