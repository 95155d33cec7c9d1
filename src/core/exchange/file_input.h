#pragma once

#include <string>
#include <string_view>

namespace meravo {

class ArchivioCertificati;

// What the calling program hands over in the exchange file, before the form shows it.
struct DatiInput {
    std::string direttorio_tabelle;
    std::string nome_medico;
    std::string cod_reg_medico;
    std::string asl_medico;
    std::string cognome;
    std::string nome;
    std::string txt_cf;
    std::string dt_nascita;
    std::string comune_nascita;
    std::string provincia_nascita;
    std::string sesso;
    std::string residenza_via;
    std::string residenza_cap;
    std::string residenza_comune;
    std::string residenza_provincia;
    std::string utente;
    std::string password;
    std::string cf_medico; // the doctor's PIN code
    bool usa_siss = false;
};

// Reads the exchange file's lines "000key=value" (ended by CR LF, LF or CR). A line counts when
// its first three characters read as the number 0; keys are case-insensitive, values kept as
// written; a later line overwrites an earlier one, except "certificato" lines, which go to the
// archive where the first of a key wins. False when the file is missing or unreadable, which
// leaves everything as it was.
bool leggi_file_input(const std::string& file_input, DatiInput& dati,
                      ArchivioCertificati& certificati);

// The same over the file's text (exposed for the fuzzer and the tests).
void interpreta_file_input(std::string_view testo, DatiInput& dati,
                           ArchivioCertificati& certificati);

} // namespace meravo
