#include "process/riga_comando.h"

#include <gtest/gtest.h>

namespace meravo::riga_comando {
namespace {

using Argomenti = std::vector<std::string>;

TEST(RigaComando, DivisioneConLeRegoleDelRuntimeWindows) {
    const struct {
        std::string riga;
        Argomenti attesi;
    } casi[] = {
        {"", {}},
        {"   \t ", {}},
        {"curl -k -s", {"curl", "-k", "-s"}},
        {"  a\t\tb  ", {"a", "b"}},
        {R"("C:\Program Files\Sogei\curl.exe" -d x)",
         {R"(C:\Program Files\Sogei\curl.exe)", "-d", "x"}},
        // The program name keeps its backslashes even before a quote.
        {R"(C:\dir\"a b"\p.exe z)", {R"(C:\dir\a b\p.exe)", "z"}},
        {R"(p "a b" c)", {"p", "a b", "c"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p "")", {"p", ""}},
        {R"(p \\server\share)", {"p", R"(\\server\share)"}},
        {R"(p a\\\\"b c")", {"p", R"(a\\b c)"}},
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {R"(p "a\\" b)", {"p", "a\\", "b"}},
        {R"(p "say ""hi""")", {"p", R"(say "hi")"}},
        {R"(p 'single quoted' x)", {"p", "'single", "quoted'", "x"}},
        {"p \"<a b='1'>\r\n  <c/>\r\n</a>\" -k", {"p", "<a b='1'>\r\n  <c/>\r\n</a>", "-k"}},
        {"p a\nb", {"p", "a\nb"}},
        {R"(p "open)", {"p", "open"}},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(dividi(c.riga), c.attesi) << c.riga;
    }
}

TEST(RigaComando, UnArgomentoQuotatoSiRileggeIdentico) {
    const std::string argomenti[] = {
        "",
        "semplice",
        "con spazi",
        R"(C:\Program Files\Meravo\Sogei\)",
        R"(fine con barre\\)",
        R"(pass"word)",
        R"(\"già\" quotato)",
        "riga1\r\nriga2",
        "tab\tdentro",
        "'apici'",
        R"(<?xml version='1.0'?><a x="1">&amp;</a>)",
    };
    for (const auto& a : argomenti) {
        const auto riga = "programma " + quota_argomento(a) + " dopo";
        EXPECT_EQ(dividi(riga), (Argomenti{"programma", a, "dopo"})) << riga;
    }
    EXPECT_EQ(quota_argomento("semplice"), "semplice");
    EXPECT_EQ(quota_argomento(R"(C:\a b\)"), R"("C:\a b\\")");
}

TEST(RigaComando, PercorsoDelFileDiScambio) {
    const struct {
        std::string riga;
        std::string percorso;
    } casi[] = {
        {R"(meravo.exe C:\Dati\paziente 12.txt)", R"(C:\Dati\paziente 12.txt)"},
        {R"("C:\Program Files\Meravo\meravo.exe"   "C:\Dati\p 12.txt"  )", R"(C:\Dati\p 12.txt)"},
        {"meravo.exe", ""},
        {"meravo.exe    ", ""},
        {R"(meravo.exe "")", ""},
        {"meravo.exe \t/tmp/x.txt", "/tmp/x.txt"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(percorso_argomento(dopo_il_programma(c.riga)), c.percorso) << c.riga;
    }
}

} // namespace
} // namespace meravo::riga_comando
