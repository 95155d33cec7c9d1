#include "text/testo.h"

#include "doppi/doppi.h"

#include <functional>
#include <map>

#include <gtest/gtest.h>

namespace meravo::testo {
namespace {

TEST(Testo, ConversioneDaEVersoUnicode) {
    std::string tutti;
    for (int b = 0; b < 256; ++b) {
        tutti.push_back(static_cast<char>(b));
    }
    // Every byte comes back, the five the code page leaves undefined included.
    EXPECT_EQ(utf8_a_cp1252(cp1252_a_utf8(tutti)), tutti);
    EXPECT_EQ(utf16_a_cp1252(cp1252_a_utf16(tutti)), tutti);
    EXPECT_EQ(utf16_a_cp1252(u"x\U0001F600y"), "x?y");
    EXPECT_EQ(utf16_a_cp1252(std::u16string(1, char16_t(0xD800))), "?");
}

TEST(Testo, MaiuscoloEMinuscoloSeguonoWindows1252) {
    for (int b = 0; b < 256; ++b) {
        const auto m = maiuscola(static_cast<unsigned char>(b));
        EXPECT_EQ(maiuscola(m), m) << "byte " << b; // upper case is stable
        // Lower case undoes upper case on every letter that has both forms.
        EXPECT_TRUE(m == b || minuscola(m) == b) << "byte " << b;
    }
}

// Each case of the data file: a conversion, a text and what the conversion makes of it.
TEST(Testo, ConversioniDaFile) {
    using Regola = std::function<std::string(const std::string&)>;
    const std::map<std::string, Regola> regole = {{"cp1252_a_utf8", cp1252_a_utf8},
                                                  {"utf8_a_cp1252", utf8_a_cp1252},
                                                  {"maiuscolo", maiuscolo},
                                                  {"minuscolo", minuscolo},
                                                  {"rifilato", rifilato}};
    const auto casi = prova::casi_da_file(MERAVO_DATI_PROVA "/testi.txt");
    EXPECT_EQ(casi.size(), 20u);
    for (auto c : casi) {
        c.resize(3);
        EXPECT_EQ(regole.at(c[0])(c[1]), c[2]) << c[0] << ": " << c[1];
    }
    EXPECT_EQ(rifila(" \ta\r\n "), "\ta\r\n"); // only spaces are trimmed
}

} // namespace
} // namespace meravo::testo
