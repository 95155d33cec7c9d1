#pragma once

#include <QString>
#include <string>
#include <string_view>

// The crossing between the core's Windows-1252 texts and Qt's strings.
namespace meravo::testo {

QString a_qstring(std::string_view cp1252);
std::string da_qstring(const QString& testo);

} // namespace meravo::testo
