#pragma once

#include "report/dati_report.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The texts of the printed copies and the archive record: the same field rule feeds both, so
// an archived certificate always reads back as the copy that was handed to the worker.
namespace meravo::copie_certificato {

// The suffix of every data field of the employer's copy in `storico`.
inline constexpr std::string_view suffisso_datore = "2";

// The data field, on each copy, of the notice that a copy comes from the test service, and the
// notice the archive browser prints when the module addresses that service.
inline constexpr std::string_view campo_avviso_prova = "avviso_prova";
inline constexpr std::string_view avviso_prova =
    "COPIA DI PROVA - servizio di test INPS: certificato senza valore";

// What the copy shows for a value typed on the form: the archive's field rule (trimmed, a "§"
// as a blank), with the line breaks of the diagnosis notes kept.
std::string testo_copia(std::string_view nome, std::string_view valore);

// Fields 1..29 of the archive record, read from the worker copy by name.
std::vector<std::optional<std::string>> campi_record(const DatiReport& lavoratore);

// Both copies of `storico` from an archived record: the worker's under the plain names, the
// employer's under the names ending in "2", without the diagnosis (code and words), which the
// employer is not entitled to. The diagnosis gets its line breaks back; fields a
// short record lacks are empty, fields beyond the 30th are ignored.
DatiReport storico_da_record(std::string_view record);

// The file a copy is offered as: "<cognome>_<nome>_<yyyymmdd of issue>_<protocollo>.pdf" of
// the worker on it, one patient's never overwriting another's. Characters no file system
// takes become "_", an empty part is left out, a part is kept short enough for any path.
std::string nome_file_pdf(const DatiReport& copia);

} // namespace meravo::copie_certificato
