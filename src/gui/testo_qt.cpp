#include "testo_qt.h"

#include "text/testo.h"

namespace meravo::testo {

QString a_qstring(std::string_view cp1252) {
    const auto utf16 = cp1252_a_utf16(cp1252);
    return QString(reinterpret_cast<const QChar*>(utf16.data()),
                   static_cast<qsizetype>(utf16.size()));
}

std::string da_qstring(const QString& testo) {
    return utf16_a_cp1252(std::u16string_view(reinterpret_cast<const char16_t*>(testo.utf16()),
                                              static_cast<std::size_t>(testo.size())));
}

} // namespace meravo::testo
