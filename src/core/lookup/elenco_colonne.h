#pragma once

#include <string>
#include <vector>

namespace meravo {

// The multi-column drop-down list: column titles, rows of cells, the selected row and the sort
// order that a click on a column title flips.
class ElencoColonne {
public:
    // Removes rows and columns; the sort order stays as the user last chose it.
    void svuota();
    void aggiungi_colonna(std::string titolo);
    void aggiungi_riga(std::vector<std::string> celle);

    const std::vector<std::string>& intestazioni() const { return intestazioni_; }
    const std::vector<std::vector<std::string>>& righe() const { return righe_; }

    // Selected row in display order, or -1. The first row added is selected.
    int selezionata() const { return selezionata_; }
    void seleziona(int riga);
    // Cell `colonna` of the selected row, or the empty text.
    std::string cella_selezionata(std::size_t colonna) const;

    // Flips ascending/descending and sorts the rows by the text of column `colonna`, ignoring
    // case; the selection stays on the same row.
    void ordina(std::size_t colonna);
    bool discendente() const { return discendente_; }

    bool visibile() const { return visibile_; }
    void mostra() { visibile_ = true; }
    void nascondi() { visibile_ = false; }

private:
    std::vector<std::string> intestazioni_;
    std::vector<std::vector<std::string>> righe_;
    int selezionata_ = -1;
    bool discendente_ = false;
    bool visibile_ = false;
};

} // namespace meravo
