#include "text/testo.h"

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
    const struct {
        std::string cp1252, utf8;
        bool andata = true; // false: only read back from UTF-8
    } casi[] = {
        {"\x80", "\xE2\x82\xAC"},                               // euro
        {"\x81\x9D", "\xC2\x81\xC2\x9D"},                       // undefined: same-valued controls
        {"\x8A\x9A\x9F", "\xC5\xA0\xC5\xA1\xC5\xB8"},           // Š š Ÿ
        {"citt\xE0 \xA7\xB0", "citt\xC3\xA0 \xC2\xA7\xC2\xB0"}, // à, the archive separator §, °
        // No form in the code page (CJK, emoji, a C1 control 0x85 is not), or broken UTF-8.
        {"a?z", "a\xE4\xB8\xADz", false},
        {"?", "\xF0\x9F\x98\x80", false},
        {"?", "\xC2\x85", false},
        {"?z", "\xC3z", false},
        {"?", "\xC0\xAF", false},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(utf8_a_cp1252(c.utf8), c.cp1252) << c.cp1252;
        EXPECT_TRUE(!c.andata || cp1252_a_utf8(c.cp1252) == c.utf8) << c.cp1252;
    }
    EXPECT_EQ(utf16_a_cp1252(u"x\U0001F600y"), "x?y");
    EXPECT_EQ(utf16_a_cp1252(std::u16string(1, char16_t(0xD800))), "?");
}

TEST(Testo, MaiuscoloEMinuscoloSeguonoWindows1252) {
    EXPECT_EQ(maiuscolo("perch\xE9 citt\xE0 pi\xF9 \xE8 \xEC \xF2 \xE7 \xF1 \xE4\xF6\xFC"),
              "PERCH\xC9 CITT\xC0 PI\xD9 \xC8 \xCC \xD2 \xC7 \xD1 \xC4\xD6\xDC");
    EXPECT_EQ(maiuscolo("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");
    // Not letters, or letters without an upper-case form in the code page: unchanged.
    EXPECT_EQ(maiuscolo("\xF7\xDF\xB5 1-2 \xA7"), "\xF7\xDF\xB5 1-2 \xA7");
    for (int b = 0; b < 256; ++b) {
        const auto m = maiuscola(static_cast<unsigned char>(b));
        EXPECT_EQ(maiuscola(m), m) << "byte " << b; // upper case is stable
        // Lower case undoes upper case on every letter that has both forms.
        EXPECT_TRUE(m == b || minuscola(m) == b) << "byte " << b;
    }
    EXPECT_EQ(minuscolo("RicevutaOK \xC0\xC8\xD9\x8A\x9F \xD7\xDF"),
              "ricevutaok \xE0\xE8\xF9\x9A\xFF \xD7\xDF");
}

TEST(Testo, RifilaSoloGliSpazi) {
    EXPECT_EQ(rifila("  a b  "), "a b");
    EXPECT_EQ(rifila("   "), "");
    EXPECT_EQ(rifila("\ta\r\n"), "\ta\r\n");
    EXPECT_EQ(rifilato(" \x80 "), "\x80");
}

} // namespace
} // namespace meravo::testo
