#include "diagnosis/risistema.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

TEST(Risistema, CampiAdAmpiezzaFissa) {
    EXPECT_EQ(risistema_stringa("PARACETAMOL", 9), "PARACETAM");
    EXPECT_EQ(risistema_stringa("AB", 4), "AB  ");

    std::optional<std::int16_t> intero = -7;
    EXPECT_EQ(risistema_integer(intero), "-00007");
    std::optional<std::int16_t> vuoto;
    EXPECT_EQ(risistema_integer(vuoto), "+00000");
    EXPECT_EQ(vuoto, 0); // the caller's value becomes 0

    std::optional<std::int32_t> lungo = 1234;
    EXPECT_EQ(risistema_long(lungo), "+0000001234");
    std::optional<float> decimale = -12.5F;
    EXPECT_EQ(risistema_single(decimale), "-0000000000012,500000");
    std::optional<float> nullo;
    EXPECT_EQ(risistema_single(nullo), "+0000000000000,000000");

    EXPECT_EQ(risistema_data(std::nullopt), "18991230");
    EXPECT_EQ(risistema_data(Data::da_numeri(2024, 2, 29)), "20240229");
}

TEST(Risistema, SalvaFarmaciScriveRigheDiAmpiezzaFissa) {
    prova::CartellaTemporanea cartella;
    std::vector<RecordFarmaco> farmaci(2);
    farmaci[0].servizio = "00A";
    farmaci[0].minsan = "012345678";
    farmaci[0].descri = "TACHIPIRINA 500 MG COMPRESSE, CONFEZIONE DA 20";
    farmaci[0].prezzo = 350;
    farmaci[1].servizio = "000";
    farmaci[1].datafine = Data::da_numeri(2025, 12, 31);
    ASSERT_TRUE(salva_farmaci(farmaci, cartella.file("f.tda"), cartella.file("fr.tda")));
    EXPECT_EQ(farmaci[1].prezzo, 0);

    const auto tutti = cartella.leggi("f.tda");
    const auto ridotti = cartella.leggi("fr.tda");
    const std::size_t lunghezza = 3 + 9 + 30 + 7 + 11 + 11 + 3 + 6 + 1 + 2 + 1 + 1 + 8 + 4 + 2;
    ASSERT_EQ(tutti.size(), 2 * lunghezza);
    EXPECT_EQ(tutti.substr(0, lunghezza), ridotti);
    EXPECT_EQ(tutti.substr(12, 30), "TACHIPIRINA 500 MG COMPRESSE, ");
    EXPECT_EQ(tutti.substr(lunghezza + 3 + 9 + 30 + 7 + 22 + 14, 8), "20251231");
}

} // namespace
} // namespace meravo
