#include "text/testo.h"

#include <gtest/gtest.h>

namespace meravo::testo {
namespace {

std::string tutti_i_byte() {
    std::string s;
    for (int b = 0; b < 256; ++b) {
        s.push_back(static_cast<char>(b));
    }
    return s;
}

TEST(Testo, OgniByteSopravviveAlPassaggioInUnicode) {
    const auto originale = tutti_i_byte();
    EXPECT_EQ(utf8_a_cp1252(cp1252_a_utf8(originale)), originale);
    EXPECT_EQ(utf16_a_cp1252(cp1252_a_utf16(originale)), originale);
}

TEST(Testo, CaratteriNotevoliInUtf8) {
    const struct {
        std::string cp1252;
        std::string utf8;
    } casi[] = {
        {"\x80", "\xE2\x82\xAC"},         // euro
        {"\x81", "\xC2\x81"},             // undefined: same-valued control
        {"\x9D", "\xC2\x9D"},             // undefined
        {"\x8A\x9A", "\xC5\xA0\xC5\xA1"}, // Š š
        {"\x9F", "\xC5\xB8"},             // Ÿ
        {"\xA7", "\xC2\xA7"},             // § (the archive separator)
        {"citt\xE0", "citt\xC3\xA0"},     // città
        {"\xB0", "\xC2\xB0"},             // °
    };
    for (const auto& c : casi) {
        EXPECT_EQ(cp1252_a_utf8(c.cp1252), c.utf8);
        EXPECT_EQ(utf8_a_cp1252(c.utf8), c.cp1252);
    }
}

TEST(Testo, CaratteriSenzaFormaWindows1252DiventanoPuntoInterrogativo) {
    EXPECT_EQ(utf8_a_cp1252("a\xE4\xB8\xAD"
                            "b"),
              "a?b");                                  // CJK
    EXPECT_EQ(utf8_a_cp1252("\xF0\x9F\x98\x80"), "?"); // emoji
    EXPECT_EQ(utf8_a_cp1252("\xC3"
                            "a"),
              "?a");                           // truncated
    EXPECT_EQ(utf8_a_cp1252("\xC0\xAF"), "?"); // overlong form
    EXPECT_EQ(utf8_a_cp1252("\xC2\x85"), "?"); // C1 control that 0x85 is not
    EXPECT_EQ(utf16_a_cp1252(u"x\U0001F600y"), "x?y");
    EXPECT_EQ(utf16_a_cp1252(std::u16string(1, char16_t(0xD800))), "?");
}

TEST(Testo, MaiuscoloSegueWindows1252) {
    EXPECT_EQ(maiuscolo("perch\xE9 citt\xE0 pi\xF9 \xE8 \xEC \xF2 \xE7 \xF1 \xE4\xF6\xFC"),
              "PERCH\xC9 CITT\xC0 PI\xD9 \xC8 \xCC \xD2 \xC7 \xD1 \xC4\xD6\xDC");
    EXPECT_EQ(maiuscolo("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");
    // Not letters, or letters without an upper-case form in the code page: unchanged.
    EXPECT_EQ(maiuscolo("\xF7\xDF\xB5 1-2 \xA7"), "\xF7\xDF\xB5 1-2 \xA7");
    for (int b = 0; b < 256; ++b) {
        const auto m = maiuscola(static_cast<unsigned char>(b));
        EXPECT_EQ(maiuscola(m), m) << "byte " << b; // upper case is stable
        // Lower case undoes upper case on every letter that has both forms.
        if (m != b) {
            EXPECT_EQ(minuscola(m), b) << "byte " << b;
        }
    }
    EXPECT_EQ(minuscolo("RicevutaOK \xC0\xC8\xD9\x8A\x9F \xD7\xDF"),
              "ricevutaok \xE0\xE8\xF9\x9A\xFF \xD7\xDF");
}

TEST(Testo, RifilaSoloGliSpazi) {
    EXPECT_EQ(rifila("  a b  "), "a b");
    EXPECT_EQ(rifila("   "), "");
    EXPECT_EQ(rifila(""), "");
    EXPECT_EQ(rifila("\ta\r\n"), "\ta\r\n");
    EXPECT_EQ(rifilato(" \x80 "), "\x80");
}

} // namespace
} // namespace meravo::testo
