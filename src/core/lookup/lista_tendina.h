#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace meravo {

// The single-column drop-down list of the look-up: its items (numbered from 0, as the list box
// numbers them), the selected item and whether it shows.
class ListaTendina {
public:
    // Items = entries 1..quanti of a list numbered from 1; nothing selected.
    void riempi(const std::vector<std::string>& lista, std::int32_t quanti);

    const std::vector<std::string>& voci() const { return voci_; }
    int indice() const { return indice_; }
    // An index outside the items leaves the selection as it is.
    void seleziona(int indice);
    // Moves the selection by `passo` items; false (and no move) past either end.
    bool sposta(int passo);
    // The selected item's text, or the empty text when nothing is selected.
    std::string testo_selezionato() const;

    // The list box's own text: the selected item, or the last text given when none is.
    // Giving a text selects the first item equal to it.
    std::string Text() const;
    void Text(std::string testo);

    bool visibile() const { return visibile_; }
    void mostra() { visibile_ = true; }
    void nascondi() { visibile_ = false; }

private:
    std::vector<std::string> voci_;
    int indice_ = -1;
    std::string testo_ = "0";
    bool visibile_ = false;
};

} // namespace meravo
