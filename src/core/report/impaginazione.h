#pragma once

#include "report/dati_report.h"
#include "report/layout_report.h"

#include <string_view>
#include <vector>

// The pages of a report filled with its data: every text placed line by line at the size it is
// printed in, so that the drawing only puts each line where it is told. A text too wide for its
// box is set smaller, down to the minimum size; then it wraps; what its box cannot hold even so
// follows on a continuation sheet, and the box says "(segue)". No word is ever left out.
namespace meravo::impaginazione {

// How wide a text is set, in the layout's tenths of a millimetre: the drawing side measures
// with the fonts it prints with.
class MisuraTesto {
public:
    virtual ~MisuraTesto() = default;
    // `testo` in Windows-1252, at size `corpo` (tenths of a millimetre), bold or not.
    virtual double larghezza(std::string_view testo, int corpo, bool grassetto) const = 0;
};

using Pagina = std::vector<layout_report::Elemento>;

// The copies of a report, one per half of the first page from the top, filled with `dati`:
// on the pages, each text is an `etichetta` holding one line with its size, each mark a `segno`
// holding its text. The first page, then the continuation sheets of each copy in turn (each
// copy's on sheets of its own: the employer must not get the worker's diagnosis with his own).
std::vector<Pagina> impagina(const std::vector<layout_report::Copia>& copie, const DatiReport& dati,
                             const MisuraTesto& misura);

} // namespace meravo::impaginazione
