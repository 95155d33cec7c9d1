#include "exchange/archivio_certificati.h"
#include "exchange/record_certificato.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

namespace rc = record_certificato;

TEST(Archivio, IlRecordHaTrentaCampiConLeRegoleDeiCampi) {
    std::vector<std::optional<std::string>> campi(29);
    campi[0] = "PROT123";                         // protocollo
    campi[12] = "487.1";                          // cod_diagnosi
    campi[13] = "  Febbre\r\nTosse \xA7 secca  "; // diagnosi
    campi[16] = "BNCNNA80A41F205X";               // cf
    ArchivioCertificati a;
    const auto chiave = a.archivia_certificato({2024, 1, 5, 9, 30, 0}, campi);
    EXPECT_EQ(chiave, "20240105093000");
    const auto record = *a.leggi(chiave);
    EXPECT_EQ(std::count(record.begin(), record.end(), rc::separatore), 29);
    const auto letti = rc::campi(record);
    EXPECT_EQ(letti[0] + "|" + letti[1] + "|" + letti[13], chiave + "|PROT123|487.1");
    // Line breaks folded, a typed "§" no longer a separator, blanks trimmed.
    EXPECT_EQ(letti[14], "Febbre||Tosse   secca");
    EXPECT_EQ(letti[17] + "|" + letti[29], "BNCNNA80A41F205X|");
}

TEST(Archivio, UnaChiaveGiaPresenteUsaIlSecondoLiberoSuccessivo) {
    ArchivioCertificati a;
    a.aggiungi_da_input("20241231235959\247dal chiamante");
    a.aggiungi_da_input("20250101000000\247dal chiamante");
    EXPECT_EQ(a.archivia_certificato({2024, 12, 31, 23, 59, 59}, {}), "20250101000001");
    EXPECT_EQ(a.chiavi(),
              (std::vector<std::string>{"20241231235959", "20250101000000", "20250101000001"}));
    EXPECT_EQ(a.archivia_certificato({2024, 2, 28, 23, 59, 59}, {}), "20240228235959");
    EXPECT_EQ(a.archivia_certificato({2024, 2, 28, 23, 59, 59}, {}), "20240229000000");
}

TEST(Archivio, FileDiRitornoInOrdineDiArchivio) {
    ArchivioCertificati a;
    EXPECT_EQ(a.testo_file_scambio(), "vuoto\r\n");
    for (const auto* r : {"2\247b", "1\247a", "3\247c\xE0"}) {
        a.aggiungi_da_input(r);
    }
    EXPECT_TRUE(a.rimuovi("2"));
    EXPECT_FALSE(a.rimuovi("2"));
    EXPECT_EQ(a.testo_file_scambio(), "1\247a\r\n3\247c\xE0\r\n");
    a.rimuovi("1");
    a.rimuovi("3");
    EXPECT_EQ(a.testo_file_scambio(), "vuoto\r\n");
}

TEST(Archivio, CampiDiRecordCortiOLunghiEFormaDiElenco) {
    const auto corti = rc::campi("k\xA7p");
    EXPECT_EQ(corti[0] + "|" + corti[1] + "|" + corti[29], "k|p|");
    std::string lungo = "k";
    for (int i = 1; i <= 35; ++i) {
        lungo += rc::separatore + std::to_string(i);
    }
    EXPECT_EQ(rc::campi(lungo)[29], "29");
    EXPECT_EQ(rc::campi("")[0], "");

    EXPECT_EQ(rc::elenco_da_chiave("20240105093000"), "05/01/2024 09:30:00");
    EXPECT_EQ(rc::chiave_da_elenco("05/01/2024 09:30:00"), "20240105093000");
    EXPECT_EQ(rc::elenco_da_chiave("2024"), "//2024 ::");
    EXPECT_EQ(rc::elenco_da_chiave(""), "// ::");
    EXPECT_EQ(rc::chiave_da_elenco(""), "");
}

} // namespace
} // namespace meravo
