#pragma once

#include <string>
#include <vector>

// Where everything of a printed copy lies, in tenths of a millimetre of an A4 page's printable
// area (a copy is as wide as that area and fills its upper half). The window only draws these
// elements, so what a copy holds can be checked without one.
namespace meravo::layout_report {

inline constexpr int larghezza_copia = 1900;
inline constexpr int altezza_copia = 1380;
inline constexpr int altezza_pagina = 2 * altezza_copia;

// Sizes of type in the same tenths of a millimetre. No text is set smaller than the minimum,
// 2.1 mm (6 pt): a field that does not fit at it wraps, and what its box cannot hold follows
// on a continuation sheet.
inline constexpr int corpo_minimo = 21;
// Distance between two lines of text, as a multiple of the size of their type.
inline constexpr double interlinea = 1.15;
// Blank between the edges of a box and the text inside it.
inline constexpr int margine_interno = 6;

enum class Tipo {
    etichetta, // static text
    campo,     // data field: `testo` is its name
    segno,     // mark square of a data field holding "X" or nothing: `testo` is its name
    linea,     // from (x, y) to (x + larghezza, y + altezza)
    riquadro,  // frame
    taglio,    // dashed line across the middle of its band, where the sheet is cut: `testo` says so
};

enum class Stile { normale, titolo, sezione, piccolo, avviso };

struct Elemento {
    Tipo tipo;
    int x, y, larghezza, altezza;
    std::string testo;
    Stile stile = Stile::normale;
    bool a_destra = false;
    bool piu_righe = false;     // wraps and keeps line breaks (the diagnosis box)
    int corpo = 0;              // size of type; 0 for the style's own
    std::string etichetta = {}; // of a data field: the label that names it on the copy
    bool centrato = false;
};

// The size of type of an element and whether it is bold.
int corpo(const Elemento& e);
bool grassetto(Stile stile);

enum class Copia { lavoratore, datore };

// One copy with its top at `y`: the employer's copy differs in its heading and its data field
// names, which end in "2". Each data field carries the label printed before it.
std::vector<Elemento> copia(Copia quale, int y);

// The first page of a report: its copies from the top, one to each half page, with the line
// where the sheet is cut between two. The worker copy `lavoratore` is {lavoratore}; `storico`,
// the archived certificate, is {lavoratore, datore}.
std::vector<Elemento> pagina(const std::vector<Copia>& copie);

// The top of a continuation sheet of a copy: the copy's heading and whose certificate it is
// (surname, name, protocol, date of issue); what follows it starts at `altezza_testata_seguito`.
std::vector<Elemento> testata_seguito(Copia quale);
inline constexpr int altezza_testata_seguito = 265;

inline constexpr const char* titolo_seguito = "Seguito del certificato di malattia telematico";
// The end of a box whose text goes on, and the heading of where it goes on.
inline constexpr const char* segue = "(segue)";
inline constexpr const char* seguito = "(seguito)";
const char* intestazione(Copia quale);

} // namespace meravo::layout_report
