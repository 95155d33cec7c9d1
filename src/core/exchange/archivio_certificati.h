#pragma once

#include "exchange/mappa_ordinata.h"
#include "services/orologio.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

// The patient's archived certificates for this run: handed in by the calling program, grown by
// the certificate sent now, shrunk by cancellations, written back whole into the exchange file.
class ArchivioCertificati {
public:
    // A "certificato" value of the input file: kept under its text before the first "§" unless
    // that key is already taken (the first line wins). A value without "§" is ignored.
    void aggiungi_da_input(std::string_view valore);

    // Archives the record composed from fields 1..29 under the key of `adesso`; when a record
    // passed in by the caller already holds that second, the next free second is used, so the
    // certificate just sent is never left out. Returns the key used.
    std::string archivia_certificato(const DataOra& adesso,
                                     const std::vector<std::optional<std::string>>& campi);

    bool rimuovi(std::string_view chiave) { return mappa_.rimuovi(chiave); }
    std::optional<std::string> leggi(std::string_view chiave) const { return mappa_.leggi(chiave); }
    std::vector<std::string> chiavi() const;
    std::size_t size() const { return mappa_.size(); }

    // The return file: every record on its own line in archive order, or the single line
    // "vuoto" when there is none. Lines end with CR LF.
    std::string testo_file_scambio() const;

private:
    MappaOrdinata mappa_;
};

// yyyymmddhhmmss of a local date and time.
std::string chiave_archivio(const DataOra& momento);

} // namespace meravo
