#pragma once

#include "tables/descrizione_colonna.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class Orologio;

// meravo-tabella, the table tool for support staff:
//   decifra CIFRATO PIANO            enciphered table -> its plain record lines (CR LF)
//   cifra PIANO CIFRATO              plain record lines -> enciphered table with fresh keys
//   mostra FILE LAYOUT [--cifrato]   one row per line, cells separated by tabs, in UTF-8
// `argomenti` excludes the program's name. Returns the exit code: 0, or 1 after one line on
// `errori` saying what was wrong.
int esegui_tabella(const std::vector<std::string>& argomenti, std::ostream& uscita,
                   std::ostream& errori, Orologio& orologio);

// "tipo:larghezza:nome,..." (e.g. "8:40:comune,2::eta"); nullopt with the reason in `errore`.
std::optional<std::vector<DescrizioneColonna>> leggi_layout(std::string_view testo,
                                                            std::string& errore);

} // namespace meravo
