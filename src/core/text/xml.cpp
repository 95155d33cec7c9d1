#include "text/xml.h"

#include "text/testo.h"

namespace meravo::testo {

std::string escape_xml(std::string_view testo) {
    std::string out;
    out.reserve(testo.size() + testo.size() / 8);
    for (char c : testo) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\n':
        case '\t':
            out.push_back(c);
            break;
        default:
            if (b < 0x20 || b == 0x7F) {
                out.push_back(' ');
            } else if (b < 0x80) {
                out.push_back(c);
            } else {
                out +=
                    "&#" + std::to_string(static_cast<unsigned long>(carattere_unicode(b))) + ";";
            }
        }
    }
    return out;
}

} // namespace meravo::testo
