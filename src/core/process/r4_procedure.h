#pragma once

#include <optional>
#include <string>

namespace meravo {

class Orologio;
class PompaEventi;

// Waits the given seconds (fractions allowed) while pending window events keep running, so the
// form repaints and takes clicks meanwhile. Ends after the requested time across midnight too.
void attendi(double secondi, Orologio& orologio, PompaEventi& pompa);

// Folds a multi-line text into one line for storage: every CR LF becomes "||", surrounding
// blanks go. A value that is not set becomes the empty text, in the caller's variable too.
std::string appiattisci_testo(std::optional<std::string>& valore);

// Unfolds a stored text: every "||" becomes CR LF. The caller's text is changed too.
std::string ripristina_a_capo(std::string& testo);

} // namespace meravo
