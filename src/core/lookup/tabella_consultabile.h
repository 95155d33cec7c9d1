#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

// What the look-up needs of the table it is bound to. Only `dati` is required; a table that
// has no name, no class name or no direct cell access keeps the defaults, which answer nothing.
class TabellaConsultabile {
public:
    virtual ~TabellaConsultabile() = default;

    // Every value of column `colonna`, one per row, at indexes 1..N (index 0 holds nothing);
    // nothing at all when the table has no such column. Prefix searches expect the values in
    // ascending byte order and, when case is ignored, stored in upper case.
    virtual std::optional<std::vector<std::string>> dati(int colonna,
                                                         std::string_view chiamante) const = 0;

    // One cell, for the multi-column list.
    virtual std::optional<std::string> dati_diretto(int colonna, int riga) const {
        static_cast<void>(colonna);
        static_cast<void>(riga);
        return std::nullopt;
    }

    // The object's name in its container: the diagnosis tables are told apart by it.
    virtual std::optional<std::string> Name() const { return std::nullopt; }

    virtual std::optional<std::string> NomeClasse() const { return std::nullopt; }
};

} // namespace meravo
