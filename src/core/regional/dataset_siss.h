#pragma once

#include <string>
#include <string_view>

namespace meravo {

class Cls_Critto;
class MappaOrdinata;
class frm_Meravo;

// The doctor's name as the regional datasets carry it.
struct NomeMedico {
    std::string cognome;
    std::string nome;
};

// Surname before the first "*" (or, without one, the first space), first name after it.
NomeMedico dividi_nome_medico(std::string_view nome_medico);

// A dd/mm/yyyy box as yyyymmdd; empty unless the trimmed text is exactly 10 characters.
std::string data_dataset(std::string_view data);

// The ISTAT code of a municipality, at least six digits; empty when it is not in the table.
std::string codice_comune(const Cls_Critto& tabella_comuni, std::string_view comune);

// The code of the birth place: a municipality, or else a foreign state. A foreign state sets
// the form's province of birth to "EE", so the copy and the archive carry it too.
std::string codice_nascita(frm_Meravo& form);

// The dataset of a certificate sent to the regional network, built from the form.
std::string componi_dataset_invio(frm_Meravo& form);

// The dataset cancelling the certificate archived under `chiave` (empty values when the
// archive does not hold it).
std::string componi_dataset_annullamento(const frm_Meravo& form, std::string_view chiave);

} // namespace meravo
