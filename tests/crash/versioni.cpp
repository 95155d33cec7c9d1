#include "versioni.h"

#include "tables/file_interi.h"

#include <cstdio>

namespace meravo::prova::crash {

namespace {

// Few wide rows: the time of a save then goes into writing bytes rather than into composing
// rows, and more kills fall inside the write.
constexpr int righe_tabella[] = {600, 640};
constexpr int larghezza_descrizione = 500;
constexpr int pazienti = 1000;
constexpr std::int32_t numero_ciclo = 501; // between two of the list's even numbers

std::string a_larghezza(std::string testo, std::size_t larghezza) {
    testo.resize(larghezza, ' ');
    return testo;
}

const std::vector<DescrizioneColonna> colonne_tabella = {{3, 0, "codice"},
                                                         {8, larghezza_descrizione, "descrizione"}};

std::string righe_tabella_di(int versione) {
    std::string testo;
    char codice[16];
    for (int i = 1; i <= righe_tabella[versione]; ++i) {
        std::snprintf(codice, sizeof codice, "+%010d", i);
        testo += "000";
        testo += codice;
        testo +=
            a_larghezza(std::string(versione == 0 ? "VOCE " : "VOCE RIVISTA ") + std::to_string(i) +
                            " " + std::string(static_cast<std::size_t>(i % 400), 'x'),
                        larghezza_descrizione);
        testo += "\r\n";
    }
    return testo;
}

// Patients' records numbered 2, 4, 6, … in the layout of colonne(), each ended by CR LF.
std::string righe_pazienti(int quante) {
    std::string testo;
    char numero[16];
    char nascita[16];
    for (int i = 1; i <= quante; ++i) {
        std::snprintf(numero, sizeof numero, "+%010d", 2 * i);
        std::snprintf(nascita, sizeof nascita, "%04d%02d%02d", 1940 + i % 60, 1 + i % 12,
                      1 + i % 28);
        testo += "000";
        testo += numero;
        testo += a_larghezza("COGNOME " + std::to_string(i), 40);
        testo += a_larghezza("NOME " + std::to_string(i * 7), 30);
        testo += nascita;
        testo += "\r\n";
    }
    return testo;
}

} // namespace

ArchivioCertificati archivio(int versione) {
    ArchivioCertificati a;
    const int quanti = versione == 0 ? 1200 : 1300;
    for (int i = versione; i < quanti; ++i) {
        std::string record = std::to_string(20230101000000LL + i);
        record += "\xA7PROT" + std::to_string(100000 + i) + "\xA7ROSSI\xA7MARIO\xA7";
        record += std::string(250, static_cast<char>('a' + (i + versione) % 26));
        a.aggiungi_da_input(record);
    }
    return a;
}

const std::vector<DescrizioneColonna>& colonne() {
    static const std::vector<DescrizioneColonna> c = {
        {3, 0, "numero"}, {8, 40, "cognome"}, {8, 30, "nome"}, {7, 0, "nascita"}};
    return c;
}

bool carica_tabella(Cls_Critto& tabella, const std::filesystem::path& cartella, int versione) {
    // The sources are left for the next writer, which then spends its time on the saves.
    const auto sorgente = cartella / ("sorgente_" + std::to_string(versione) + ".txt");
    return (std::filesystem::exists(sorgente) ||
            scrivi_file_intero(sorgente, righe_tabella_di(versione))) &&
           tabella.descrizione(colonne_tabella) && tabella.carica(sorgente.string());
}

bool salva_tabella(Cls_Critto& tabella, const std::filesystem::path& file, int versione) {
    return tabella.salva(file.string(), true, versione == 1).ok();
}

bool prepara_elenco(Cls_Critto& elenco, const std::filesystem::path& cartella) {
    const auto chiaro = cartella / "chiaro.txt";
    const auto file = (cartella / nome_elenco).string();
    elenco.nome_computer = [] { return std::string("STUDIO1"); };
    elenco.nome_tabella = "generale_pazienti";
    OpzioniCarica cifrato;
    cifrato.lettura_crittato = true;
    return (std::filesystem::exists(chiaro) ||
            scrivi_file_intero(chiaro, righe_pazienti(pazienti))) &&
           elenco.scrittura(chiaro.string(), file) && elenco.descrizione(colonne()) &&
           elenco.carica(file, cifrato);
}

bool cambia_elenco(Cls_Critto& elenco, int passo) {
    switch (passo % 3) {
    case 0:
        return elenco.aggiungi_nuovo(
            {Valore{}, numero_ciclo, std::string("ALFA"), std::string("PRIMO"), Data{1970, 3, 4}},
            1);
    case 1:
        return elenco.aggiorna_esistente(numero_ciclo, {Valore{}, Valore{}, std::string("BETA")});
    default:
        return elenco.eliminazione_definitiva(elenco.identifica_elemento(Valore(numero_ciclo), 1),
                                              numero_ciclo);
    }
}

std::vector<Valore> paziente_estraneo() {
    return {Valore{}, std::int32_t{7777}, std::string("ESTRANEO"), std::string("ALTRO"),
            Data{1980, 1, 1}};
}

} // namespace meravo::prova::crash
