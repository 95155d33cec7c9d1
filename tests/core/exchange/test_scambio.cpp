#include "exchange/archivio_certificati.h"
#include "exchange/file_input.h"
#include "exchange/record_certificato.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

struct Lettura {
    DatiInput dati;
    ArchivioCertificati certificati;
    explicit Lettura(std::string_view testo) { interpreta_file_input(testo, dati, certificati); }
};

// Each case of the data file: a line and the street it gives.
TEST(FileInput, ChiaviPrefissiESpazi) {
    const auto casi = prova::casi_da_file(MERAVO_DATI_PROVA "/chiavi.txt");
    EXPECT_EQ(casi.size(), 10u);
    for (auto c : casi) {
        c.resize(2);
        EXPECT_EQ(Lettura(c[0]).dati.residenza_via, c[1]) << c[0];
    }
    // Regional mode (" S ") is the form's case; these are not it.
    for (const auto* no : {"000siss=s", "000siss=SI", "000siss=S\r\n000siss=N"}) {
        EXPECT_FALSE(Lettura(no).dati.usa_siss) << no;
    }
}

// Which key fills which field is the regional dataset's case, read from a whole exchange file;
// here the line ends of each platform, a key given twice and one not known.
TEST(FileInput, OgniFineRigaEUnaChiaveRipetuta) {
    const Lettura l(
        "000cod regione=030\n000asl=308\r000cognome=Bianchi\r\r\n000nome=Anna\r\n"
        "000comune=Milano\r\n000ignota=x\r\n000comune=Monza\r\n000certificato=1\xA7P\r");
    const auto& d = l.dati;
    EXPECT_EQ(d.cod_reg_medico + "|" + d.asl_medico + "|" + d.cognome + "|" + d.nome + "|" +
                  d.residenza_comune,
              "030|308|Bianchi|Anna|Monza");
    EXPECT_EQ(*l.certificati.leggi("1"), "1\xA7P");
}

TEST(FileInput, CertificatiDoppiERigheStrane) {
    std::string testo = "000certificato=20240105093000\xA7P1\xA7uno\r\n"
                        "000certificato=senza separatore\r\n"
                        "000certificato=20240105093000\xA7P2\247doppio\r\n"
                        "000certificato=\247chiave vuota\r\n";
    testo += "000cognome=" + std::string(100000, 'x') + "\r\n";
    testo += std::string("\0\xFF\x01=\n\n\r\r\n", 9);
    testo += "000nome=Ultima"; // no line end
    const Lettura l(testo);
    EXPECT_EQ(l.certificati.chiavi(), (std::vector<std::string>{"20240105093000", ""}));
    EXPECT_EQ(*l.certificati.leggi("20240105093000"), "20240105093000\xA7P1\xA7uno");
    EXPECT_EQ(l.dati.cognome.size(), 100000U);
    EXPECT_EQ(l.dati.nome, "Ultima");
}

namespace rc = record_certificato;

// A whole record and each field's text are the form's archived-record case (an expected exchange
// file); here the key's next free second, the order of the file, short and long records.
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
    for (const auto* r : {"3\247c\xE0", "1\247a", "2\247b"}) {
        a.aggiungi_da_input(r);
    }
    EXPECT_TRUE(a.rimuovi("1"));
    EXPECT_FALSE(a.rimuovi("1"));
    EXPECT_EQ(a.testo_file_scambio(), "3\247c\xE0\r\n2\247b\r\n");
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
    // A short key must not crash its display form.
    EXPECT_EQ(rc::elenco_da_chiave("2024"), "//2024 ::");
    EXPECT_EQ(rc::elenco_da_chiave(""), "// ::");
}

} // namespace
} // namespace meravo
