#pragma once

#include "services/esito.h"

#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class LettoreRighe;
class Orologio;
class r4_crypt;

// Whole enciphered table files: 30 key lines, then each data line enciphered with its number.
// Every line ends with CR LF.

// The enciphered file of these plain lines, with fresh keys drawn from the time of day.
std::string cifra_righe(const std::vector<std::string>& righe, Orologio& orologio);

// Keys `cifrario` from the 30 key lines at the reader's position. The message says what is wrong
// with the header of `nome_file`.
Esito leggi_chiavi(LettoreRighe& lettore, r4_crypt& cifrario, const std::string& nome_file);

// The plain data lines of an enciphered file.
Esito decifra_righe(std::string_view contenuto, Orologio& orologio, const std::string& nome_file,
                    std::vector<std::string>& righe);

// The plain lines of a plain file.
std::vector<std::string> righe_di(std::string_view contenuto);

// The lines joined, each ended by CR LF.
std::string unisci_righe(const std::vector<std::string>& righe);

} // namespace meravo
