#pragma once

#include <string>
#include <string_view>

namespace meravo::testo {

// A Windows-1252 text as XML character data or attribute value, in plain ASCII: & < > " ' as
// entities, every character above 127 and the carriage return as numeric references (so the
// text means the same whatever encoding the reader assumes, and a typed CR LF survives the
// reader's line-end normalisation), control characters that XML cannot carry as blanks. The
// result never holds a double quote, so it can travel inside a quoted command-line argument.
std::string escape_xml(std::string_view testo);

} // namespace meravo::testo
