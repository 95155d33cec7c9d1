#pragma once

#include <string>
#include <vector>

// Where everything of a printed copy lies, in tenths of a millimetre of an A4 page's printable
// area (a copy is as wide as that area and fills its upper half). The window only draws these
// elements, so what a copy holds can be checked without one.
namespace meravo::layout_report {

inline constexpr int larghezza_copia = 1900;
inline constexpr int altezza_copia = 1380;

enum class Tipo {
    etichetta, // static text
    campo,     // data field: `testo` is its name
    segno,     // mark square of a data field holding "X" or nothing: `testo` is its name
    linea,     // from (x, y) to (x + larghezza, y + altezza)
    riquadro,  // frame
};

enum class Stile { normale, titolo, sezione, piccolo };

struct Elemento {
    Tipo tipo;
    int x, y, larghezza, altezza;
    std::string testo;
    Stile stile = Stile::normale;
    bool a_destra = false;
    bool piu_righe = false; // wraps and keeps line breaks (the diagnosis box)
};

enum class Copia { lavoratore, datore };

// One copy with its top at `y`: the employer's copy differs in its heading and its data field
// names, which end in "2".
std::vector<Elemento> copia(Copia quale, int y);

// The two reports: `lavoratore` (the worker's copy) and `storico` (worker's copy above,
// employer's copy below, on one page).
std::vector<Elemento> lavoratore();
std::vector<Elemento> storico();

} // namespace meravo::layout_report
