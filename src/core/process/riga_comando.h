#pragma once

#include <string>
#include <string_view>
#include <vector>

// A command line is one text, as Windows passes it to a program. On POSIX we split it into
// arguments by the same rules the Windows C runtime applies, so one command-line text means the
// same program and the same arguments on both platforms.
namespace meravo::riga_comando {

// Program name: quotes toggle quoting and are dropped, backslashes are literal. Arguments:
// separated by spaces and tabs outside quotes; 2n backslashes before a quote give n backslashes
// and the quote toggles quoting, 2n+1 give n backslashes and a literal quote; "" inside quotes is
// a literal quote; other backslashes and every other character (line breaks, single quotes) are
// literal.
std::vector<std::string> dividi(std::string_view riga);

// Quotes one argument so that `dividi` (and the Windows C runtime) reads it back unchanged.
std::string quota_argomento(std::string_view argomento);

// What follows the program name in a raw command line, as a program started with one
// argument that may hold blanks unquoted (a path) sees it.
std::string_view dopo_il_programma(std::string_view riga);

// The exchange file's path from what follows the program name: blanks around it go, and so do
// double quotes around the whole of it.
std::string percorso_argomento(std::string_view resto);

} // namespace meravo::riga_comando
