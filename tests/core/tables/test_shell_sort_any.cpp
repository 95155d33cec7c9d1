#include "tables/shell_sort_any.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace meravo {
namespace {

using prova::PompaEventiContata;

TEST(ShellSortAny, LeListeCompagneSeguonoLeChiavi) {
    PompaEventiContata pompa;
    std::vector<int> chiavi{0, 3, 1, 2};
    std::vector<int> righe{0, 1, 2, 3};
    ShellSortAny(pompa, 3, false, chiavi, righe);
    EXPECT_EQ(chiavi, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(righe, (std::vector<int>{0, 2, 3, 1}));
}

TEST(ShellSortAny, ChiaviUgualiAscendenteEDiscendente) {
    PompaEventiContata pompa;
    // Ascending keeps equal keys in their order; descending moves them past each other.
    std::vector<std::string> chiavi{"", "B", "A", "B", "A"};
    std::vector<int> righe{0, 1, 2, 3, 4};
    ShellSortAny(pompa, 4, false, chiavi, righe);
    EXPECT_EQ(righe, (std::vector<int>{0, 2, 4, 1, 3}));

    chiavi = {"", "B", "A", "B", "A"};
    righe = {0, 1, 2, 3, 4};
    ShellSortAny(pompa, 4, true, chiavi, righe);
    EXPECT_EQ(chiavi, (std::vector<std::string>{"", "B", "B", "A", "A"}));
    EXPECT_EQ(righe, (std::vector<int>{0, 3, 1, 4, 2}));
}

TEST(ShellSortAny, ListeLungheETestiComeCodiciSenzaSegno) {
    PompaEventiContata pompa;
    const int n = 5000;
    std::vector<std::string> chiavi(n + 1);
    std::vector<int> righe(n + 1);
    for (int i = 1; i <= n; ++i) {
        // Bytes above 127 must sort after ASCII, as the files' code page orders them.
        chiavi[i].assign(1, static_cast<char>((i * 7919) % 256));
        chiavi[i] += std::to_string(i);
        righe[i] = i;
    }
    const auto originali = chiavi;
    ShellSortAny(pompa, n, false, chiavi, righe);
    for (int i = 2; i <= n; ++i) {
        ASSERT_LE(static_cast<unsigned char>(chiavi[i - 1][0]),
                  static_cast<unsigned char>(chiavi[i][0]));
        ASSERT_LE(chiavi[i - 1], chiavi[i]);
    }
    for (int i = 1; i <= n; ++i) {
        ASSERT_EQ(originali[righe[i]], chiavi[i]);
    }
    EXPECT_GT(pompa.chiamate, 0);
    EXPECT_EQ(chiavi[0], "");
}

TEST(ShellSortAny, UnConteggioOltreLaListaNonEsceDaiLimiti) {
    PompaEventiContata pompa;
    std::vector<double> chiavi{0, 2.5, -1, 0.5};
    std::vector<int> righe{0, 1, 2, 3};
    ShellSortAny(pompa, 99, false, chiavi, righe);
    EXPECT_EQ(chiavi, (std::vector<double>{0, -1, 0.5, 2.5}));
    std::vector<int> vuota;
    ShellSortAny(pompa, 5, false, vuota);
    EXPECT_TRUE(vuota.empty());
}

} // namespace
} // namespace meravo
