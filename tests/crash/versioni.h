#pragma once

#include "doppi/doppi.h"
#include "exchange/archivio_certificati.h"
#include "tables/cls_critto.h"
#include "tables/descrizione_colonna.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The whole versions each kind of file goes through while the writer is killed. The writer and
// the test build them with the same module code, so the test knows every version the file may
// hold, byte for byte.
namespace meravo::prova::crash {

inline const std::string nome_scambio = "paziente.txt";
inline const std::string nome_tabella = "tabella.tda";
inline const std::string nome_elenco = "elenco_pazienti.tcl";
inline const std::string nome_blocco = "modElenco.blk";
inline const std::string nome_copia_piana = "tara_config.tmp";

// The services the writer and the test build their objects on.
struct Servizi {
    OrologioFinto orologio;
    PompaEventiContata pompa;
    MessaggiRegistrati messaggi;
    SegnaleContato segnale;
};

// Two archives of a few hundred KB that differ in length and from their first record on.
ArchivioCertificati archivio(int versione);

// The layout of the patients' list: number, surname, name, birth date.
const std::vector<DescrizioneColonna>& colonne();

// Loads version 0 or 1 of the table (some hundred KB) from a plain source kept in `cartella`.
bool carica_tabella(Cls_Critto& tabella, const std::filesystem::path& cartella, int versione);
// Saves it as its version is kept: version 0 plain, version 1 enciphered.
bool salva_tabella(Cls_Critto& tabella, const std::filesystem::path& file, int versione);

// Writes the enciphered patients' list (a thousand patients) into `cartella` and loads it as
// the patients' table.
bool prepara_elenco(Cls_Critto& elenco, const std::filesystem::path& cartella);
// One change of the cycle the list goes round: add a patient, change his surname, remove him.
bool cambia_elenco(Cls_Critto& elenco, int passo);
// A patient the cycle never touches.
std::vector<Valore> paziente_estraneo();

} // namespace meravo::prova::crash
