#include "ambiente_tabelle.h"
#include "tables/campi_record.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace meravo {
namespace {

using prova::AmbienteTabelle;
using prova::righe_crlf;

// Every type of column, in a record of 3 + 6 + 11 + 21 + 21 + 8 + 10 = 80 characters.
const std::vector<DescrizioneColonna> tutti_i_tipi = {
    {2, 0, "i16"}, {3, 0, "i32"}, {4, 0, "sng"}, {5, 0, "dbl"}, {7, 0, "data"}, {8, 10, "testo"},
};

const std::vector<std::string> righe_tutti_i_tipi = {
    "0A1-00012+0000001234-0000000000012,500000-0000000000000,50000020240229CAF\xC8 BAR  ",
    "1B +32767-2147483648+0000000000000,000000+0000000123456,65432118991230          ",
};

void verifica_valori(const Cls_Critto& t) {
    ASSERT_EQ(t.righe(), 2);
    EXPECT_EQ(t.risposta_servizio(1), "0A1");
    EXPECT_EQ(t.risposta_servizio(2), "1B ");
    EXPECT_EQ(t.dati_diretto(1, 1), Valore(std::int16_t{-12}));
    EXPECT_EQ(t.dati_diretto(2, 1), Valore(std::int32_t{1234}));
    EXPECT_EQ(t.dati_diretto(3, 1), Valore(-12.5f));
    EXPECT_EQ(t.dati_diretto(4, 1), Valore(-0.5));
    EXPECT_EQ(t.dati_diretto(5, 1), Valore(Data{2024, 2, 29}));
    EXPECT_EQ(t.dati_diretto(6, 1), Valore(std::string("CAF\xC8 BAR")));
    EXPECT_EQ(t.dati_diretto(1, 2), Valore(std::int16_t{32767}));
    EXPECT_EQ(t.dati_diretto(2, 2), Valore(std::int32_t{-2147483647 - 1}));
    EXPECT_EQ(t.dati_diretto(3, 2), Valore(0.0f));
    EXPECT_NEAR(std::get<double>(t.dati_diretto(4, 2)), 123456.654321, 1e-9);
    EXPECT_EQ(t.dati_diretto(5, 2), Valore(Data::zero()));
    EXPECT_EQ(t.dati_diretto(6, 2), Valore(std::string())); // a field of blanks
}

TEST(ClsCritto, AndataERitornoInChiaroECifrato) {
    AmbienteTabelle a;
    const std::string originale = righe_crlf(righe_tutti_i_tipi);
    a.cartella.scrivi("t.tda", originale);
    ASSERT_TRUE(a.tabella.descrizione(tutti_i_tipi));
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda")));
    verifica_valori(a.tabella);

    // Plain: the very same bytes come back.
    ASSERT_TRUE(a.tabella.salva(a.cartella.percorso("copia.tda")));
    EXPECT_EQ(a.cartella.leggi("copia.tda"), originale);

    // Enciphered: 30 key lines, then lines of the record length that hide the text.
    ASSERT_TRUE(a.tabella.salva(a.cartella.percorso("c1.tcl"), false, true));
    const std::string cifrato = a.cartella.leggi("c1.tcl");
    EXPECT_EQ(cifrato.size(), 30 * 1002 + originale.size());
    EXPECT_EQ(cifrato.find("BAR"), std::string::npos);
    EXPECT_EQ(cifrato.find("\xC8"), 30 * 1002 + 73); // the accented byte stays itself

    AmbienteTabelle b;
    ASSERT_TRUE(b.tabella.descrizione(tutti_i_tipi));
    ASSERT_TRUE(b.tabella.carica(a.cartella.percorso("c1.tcl"), {.lettura_crittato = true}));
    verifica_valori(b.tabella);
    ASSERT_TRUE(b.tabella.salva(b.cartella.percorso("chiaro.tda")));
    EXPECT_EQ(b.cartella.leggi("chiaro.tda"), originale);

    // Written at another time of day: other keys, other bytes, same table.
    a.orologio.avanza(61);
    ASSERT_TRUE(a.tabella.salva(a.cartella.percorso("c2.tcl"), false, true));
    EXPECT_NE(a.cartella.leggi("c2.tcl"), cifrato);
    ASSERT_TRUE(b.tabella.carica(a.cartella.percorso("c2.tcl"), {.lettura_crittato = true}));
    verifica_valori(b.tabella);
}

TEST(ClsCritto, SalvaTieneOgniCampoNellaSuaLarghezza) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.tabella.descrizione({{8, 4, "t"}, {7, 0, "d"}, {2, 0, "n"}, {5, 0, "x"}}));
    a.cartella.scrivi("t.tda", righe_crlf({"000ABCD20240101+00001+0000000000001,250000",
                                           "000EFGH20240101+00001+0000000000001,250000"}));
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda")));
    // Cells emptied, a text too long and with a line break, a number beyond the field.
    ASSERT_TRUE(a.tabella.modifica_tabella(1, 1, Valore{}));
    ASSERT_TRUE(a.tabella.modifica_tabella(2, 1, Valore{}));
    ASSERT_TRUE(a.tabella.modifica_tabella(3, 1, Valore{}));
    ASSERT_TRUE(a.tabella.modifica_tabella(4, 1, Valore{}));
    ASSERT_TRUE(a.tabella.modifica_tabella(1, 2, std::string("A\r\nTROPPO LUNGO")));
    ASSERT_TRUE(a.tabella.modifica_tabella(3, 2, 40000));
    ASSERT_TRUE(a.tabella.modifica_tabella(4, 2, -1e20));
    // Values the column cannot hold, or cells outside the table, are refused.
    EXPECT_FALSE(a.tabella.modifica_tabella(2, 2, std::string("20240101")));
    EXPECT_FALSE(a.tabella.modifica_tabella(1, 2, 5));
    EXPECT_FALSE(a.tabella.modifica_tabella(1, 3, std::string("X")));

    // The work files of a killed write of the same file go with the next write; that of a
    // process still running stays.
    a.cartella.scrivi("s.tda.999999999.nuovo", "");
#ifndef _WIN32
    const std::string vivo = "s.tda." + std::to_string(getppid()) + ".nuovo";
    a.cartella.scrivi(vivo, "");
#endif
    ASSERT_TRUE(a.tabella.salva(a.cartella.percorso("s.tda")));
    EXPECT_FALSE(a.cartella.esiste("s.tda.999999999.nuovo"));
#ifndef _WIN32
    EXPECT_TRUE(a.cartella.esiste(vivo));
#endif
    EXPECT_EQ(a.cartella.leggi("s.tda"),
              righe_crlf({"000    18991230+00000+0000000000000,000000",
                          "000A  T20240101+32767-9999999999999,999999"}));

    EXPECT_EQ(a.tabella.salva(a.cartella.percorso("s.tda")).messaggio(), "file gi\xE0 presente");
    EXPECT_TRUE(a.tabella.salva(a.cartella.percorso("s.tda"), true));
}

TEST(ClsCritto, CampiRovinatiSiLegonoComeZeroSenzaErrore) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.tabella.descrizione({{2, 0, "a"}, {3, 0, "b"}, {4, 0, "c"}, {7, 0, "d"}}));
    // Fields of 6, 11, 21 and 8 characters after the prefix; the last line is cut short, so
    // the first is made long enough for the size to count two records.
    const std::string lunga =
        "000+99999+12x4567890-00000000000ab,5000002024ab01####################";
    const std::string corta = "000 -0012  -00000012+0000000000003,25";
    a.cartella.scrivi("t.tda", righe_crlf({lunga, corta}));
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda")));
    ASSERT_EQ(a.tabella.righe(), 2);
    EXPECT_EQ(a.tabella.dati_diretto(1, 1), Valore(std::int16_t{32767})); // held in range
    EXPECT_EQ(a.tabella.dati_diretto(2, 1), Valore(std::int32_t{12}));    // up to the x
    EXPECT_EQ(a.tabella.dati_diretto(3, 1), Valore(-0.5f));
    EXPECT_EQ(a.tabella.dati_diretto(4, 1), Valore(Data::zero()));
    EXPECT_EQ(a.tabella.dati_diretto(1, 2), Valore(std::int16_t{-12}));
    EXPECT_EQ(a.tabella.dati_diretto(2, 2), Valore(std::int32_t{-12}));
    // Decimals cut to "25" read as 25 millionths, as a lenient read of the digits there.
    EXPECT_FLOAT_EQ(std::get<float>(a.tabella.dati_diretto(3, 2)), 3.000025f);
    EXPECT_EQ(a.tabella.dati_diretto(4, 2), Valore(Data::zero()));
}

TEST(ClsCritto, QuanteRigheHaIlFile) {
    const std::vector<DescrizioneColonna> layout = {{8, 5, "t"}}; // record length 10
    const std::string r1 = "000UNO  ";
    const std::string r2 = "000DUE  ";
    struct Caso {
        std::string nome;
        std::string contenuto;
        int righe;
        std::string esito; // empty: true
    } casi[] = {
        {"intere", r1 + "\r\n" + r2 + "\r\n", 2, ""},
        {"ultima incompleta", r1 + "\r\n" + r2 + "\r\n000TR", 2, ""},
        {"ultima senza a capo", r1 + "\r\n" + r2, 1, ""},
        {"a capo LF", r1 + "\n" + r2 + "\n", 2, ""},
        {"riga vuota in mezzo", r1 + "\r\n\r\n" + r2 + "\r\n" + "000TRE  \r\n", 3, ""},
        {"righe troppo lunghe", "000UNO       \r\n000DUE       \r\n", 3, "Input oltre la fine"},
        {"vuoto", "", 0, ""},
    };
    for (const auto& c : casi) {
        AmbienteTabelle a;
        ASSERT_TRUE(a.tabella.descrizione(layout));
        a.cartella.scrivi("t.tda", c.contenuto);
        const auto esito = a.tabella.carica(a.cartella.percorso("t.tda"));
        EXPECT_EQ(a.tabella.righe(), c.righe) << c.nome;
        if (c.esito.empty()) {
            EXPECT_TRUE(esito) << c.nome << ": " << esito.messaggio();
            EXPECT_EQ(a.tabella.righe_caricate(), c.righe) << c.nome;
        } else {
            EXPECT_EQ(esito.messaggio(),
                      "Input oltre la fine del file " + a.cartella.percorso("t.tda"))
                << c.nome;
            EXPECT_EQ(a.tabella.dati_diretto(1, 2), Valore(std::string("DUE"))) << c.nome;
        }
    }
    AmbienteTabelle a;
    ASSERT_TRUE(a.tabella.descrizione(layout));
    a.cartella.scrivi("t.tda", righe_crlf({"000UNO  ", "000DUE  ", "000TRE  "}));
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda")));
    EXPECT_EQ(a.tabella.dati_diretto(1, 3), Valore(std::string("TRE")));
}

TEST(ClsCritto, CifratoConUltimoRecordSenzaACapo) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.tabella.descrizione({{8, 20, "t"}}));
    const std::string spazi(17, ' ');
    a.cartella.scrivi("t.tda", righe_crlf({"000UNO" + spazi, "000DUE" + spazi, "000TRE" + spazi}));
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda")));
    ASSERT_TRUE(a.tabella.salva(a.cartella.percorso("t.tcl"), false, true));
    std::string cifrato = a.cartella.leggi("t.tcl");
    cifrato.resize(cifrato.size() - 2);
    a.cartella.scrivi("t.tcl", cifrato);
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tcl"), {.lettura_crittato = true}));
    EXPECT_EQ(a.tabella.righe(), 3);
    EXPECT_EQ(a.tabella.dati_diretto(1, 3), Valore(std::string("TRE")));

    // A header cut short or a key line too short for its key is reported, not deciphered.
    a.cartella.scrivi("corto.tcl", cifrato.substr(0, 5 * 1002));
    EXPECT_EQ(
        a.tabella.carica(a.cartella.percorso("corto.tcl"), {.lettura_crittato = true}).messaggio(),
        "Input oltre la fine del file " + a.cartella.percorso("corto.tcl"));
    a.cartella.scrivi("rotto.tcl", std::string("abc\r\n") + cifrato.substr(1002));
    EXPECT_FALSE(a.tabella.carica(a.cartella.percorso("rotto.tcl"), {.lettura_crittato = true}));
}

TEST(ClsCritto, RidottoCessatiEParziale) {
    const std::vector<DescrizioneColonna> layout = {{3, 0, "numero"}, {8, 4, "nome"}};
    const std::string file = righe_crlf({
        "00A+0000000001ANNA",
        "10 +0000000002BRUNO",
        "00B+0000000003CARLA",
        "00 +0000000004DARIO",
    });
    struct Caso {
        std::string nome;
        bool separa_cessati;
        bool ridotto;
        bool parziale;
        std::vector<std::string> caricate;
        std::vector<std::string> coda;
    } casi[] = {
        {"tutte", false, false, false, {"ANNA", "BRUN", "CARL", "DARI"}, {}},
        {"ridotto", false, true, false, {"ANNA", "CARL"}, {}},
        {"cessati in coda", true, false, false, {"ANNA", "CARL", "DARI"}, {"BRUN"}},
        {"parziale: numeri 2 e 4", false, false, true, {"BRUN", "DARI"}, {}},
    };
    for (const auto& c : casi) {
        AmbienteTabelle a;
        a.tabella.separa_cessati = c.separa_cessati;
        ASSERT_TRUE(a.tabella.descrizione(layout));
        a.cartella.scrivi("t.tda", file);
        OpzioniCarica opzioni;
        opzioni.ridotto = c.ridotto;
        opzioni.lettura_parziale = c.parziale;
        opzioni.tabella_autorizzati = {0, 2, 4};
        ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda"), opzioni)) << c.nome;
        EXPECT_EQ(a.tabella.righe(), 4) << c.nome;
        EXPECT_EQ(a.tabella.righe_caricate(), static_cast<int>(c.caricate.size())) << c.nome;
        EXPECT_EQ(a.tabella.righe_in_coda(), static_cast<int>(c.coda.size())) << c.nome;
        const auto nomi = std::get<std::vector<std::string>>(*a.tabella.dati(2));
        EXPECT_EQ(std::vector<std::string>(nomi.begin() + 1, nomi.end()), c.caricate) << c.nome;
        for (std::size_t k = 0; k < c.coda.size(); ++k) {
            EXPECT_EQ(a.tabella.dati_diretto(2, 4 - static_cast<int>(k)), Valore(c.coda[k]));
        }
    }
}

TEST(ClsCritto, UnaRicaricaNonLasciaRigheDellaPrecedente) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.tabella.descrizione({{8, 4, "nome"}}));
    a.cartella.scrivi("t.tda", righe_crlf({"00AANNA", "00 BICE", "00 CARA"}));
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda")));
    EXPECT_EQ(a.tabella.identifica_elemento_da(std::string("CARA"), 1, 1), 3);
    // Same size, so the arrays are reused: the rows this load skipped must be empty.
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda"), {.ridotto = true}));
    EXPECT_EQ(a.tabella.righe(), 3);
    EXPECT_EQ(a.tabella.identifica_elemento_da(std::string("CARA"), 1, 1), -1);
    EXPECT_EQ(a.tabella.risposta_servizio(3), "");
    // Saved, an empty slot still takes a whole record line.
    ASSERT_TRUE(a.tabella.salva(a.cartella.percorso("s.tda")));
    EXPECT_EQ(a.cartella.leggi("s.tda"), righe_crlf({"00AANNA", "       ", "       "}));
}

TEST(ClsCritto, CopiaInChiaroDellaTabellaPazienti) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.tabella.descrizione({{3, 0, "numero"}, {8, 4, "nome"}}));
    const std::string chiaro = righe_crlf({"000+0000000001ANNA", "000+0000000002BICE"});
    a.cartella.scrivi("t.tda", chiaro);
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda")));
    ASSERT_TRUE(a.tabella.salva(a.cartella.percorso("elenco_pazienti.tcl"), false, true));

    struct Caso {
        std::string nome_tabella;
        bool no_decritto;
        bool copia;
    } casi[] = {{"generale_pazienti", false, true},
                {"generale_pazienti", true, false},
                {"comuni", false, false}};
    for (const auto& c : casi) {
        std::filesystem::remove(a.cartella.percorso("tara_config.tmp"));
        a.tabella.nome_tabella = c.nome_tabella;
        ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("elenco_pazienti.tcl"),
                                     {.lettura_crittato = true, .no_decritto = c.no_decritto}));
        ASSERT_EQ(a.cartella.esiste("tara_config.tmp"), c.copia) << c.nome_tabella;
        if (c.copia) {
            EXPECT_EQ(a.cartella.leggi("tara_config.tmp"), chiaro);
        }
    }
}

TEST(ClsCritto, IndiceSecondarioEAccessi) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.tabella.descrizione({{8, 3, "sigla"}, {2, 0, "n"}}));
    a.cartella.scrivi("t.tda", righe_crlf({"000MI +00003", "000AL +00001", "000TO +00002"}));
    ASSERT_TRUE(a.tabella.carica(a.cartella.percorso("t.tda"), {.ordinamento_secondario = 1}));
    EXPECT_EQ(std::get<std::vector<std::string>>(*a.tabella.dati_secondario(1)),
              (std::vector<std::string>{"", "AL", "MI", "TO"}));
    EXPECT_EQ(std::get<std::vector<std::int32_t>>(*a.tabella.dati_secondario(2)),
              (std::vector<std::int32_t>{0, 2, 1, 3}));
    EXPECT_EQ(a.tabella.dati_diretto_secondario(2, 3), Valore(std::int32_t{3}));

    EXPECT_EQ(a.tabella.testata(1, 1), Valore(std::int32_t{8}));
    EXPECT_EQ(a.tabella.testata(1, 2), Valore(std::int32_t{3}));
    EXPECT_EQ(a.tabella.testata(2, 3), Valore(std::string("n")));
    EXPECT_EQ(a.tabella.elemento_tab(2, 3), Valore(std::int16_t{2}));
    // Outside the table there is nothing, never a crash.
    EXPECT_EQ(a.tabella.dati_diretto(3, 1), Valore());
    EXPECT_EQ(a.tabella.dati_diretto(1, 0), Valore());
    EXPECT_EQ(a.tabella.dati_diretto(1, 4), Valore());
    EXPECT_EQ(a.tabella.tutti_dati().size(), 3u);

    a.tabella.reset();
    EXPECT_EQ(a.tabella.righe(), 0);
    EXPECT_FALSE(a.tabella.dati(1).has_value());
    EXPECT_EQ(a.tabella.colonne(), 2);
}

TEST(ClsCritto, ErroriDiCaricamento) {
    AmbienteTabelle a;
    const auto file = a.cartella.percorso("t.tda");
    EXPECT_EQ(a.tabella.carica(file).messaggio(), "descrizione_non_caricata");
    EXPECT_FALSE(a.tabella.descrizione({{8, 4, "a"}, {6, 0, "b"}}));
    EXPECT_EQ(a.tabella.carica(file).messaggio(), "descrizione_non_caricata");
    EXPECT_FALSE(a.tabella.descrizione({{8, 0, "a"}}));
    ASSERT_TRUE(a.tabella.descrizione({{8, 4, "a"}}));
    EXPECT_EQ(a.tabella.carica(file).messaggio(), "File " + file + " mancante");
    a.cartella.scrivi("t.tda", "000ABCD\r\n");
    EXPECT_FALSE(a.tabella.carica(file, {.ordinamento_secondario = 2}));
}

// The padding is stripped by words: every width and every length of text around the word size.
TEST(CampiRecord, TestoSenzaSpaziAiLatiPerOgniLunghezza) {
    for (const char spazio : {' ', '\x7F'}) {
        for (std::size_t larghezza = 0; larghezza <= 20; ++larghezza) {
            for (std::size_t iniziali = 0; iniziali <= 2 && iniziali <= larghezza; ++iniziali) {
                for (std::size_t lunghezza = 0; iniziali + lunghezza <= larghezza; ++lunghezza) {
                    std::string testo(lunghezza, 'a');
                    if (lunghezza > 2) {
                        testo[lunghezza / 2] = spazio; // a blank inside stays
                    }
                    std::string campo(iniziali, spazio);
                    campo += testo;
                    campo.resize(larghezza, spazio);
                    ASSERT_EQ(campi_record::leggi_testo(campo, spazio), testo)
                        << larghezza << " " << iniziali << " " << lunghezza;
                }
            }
        }
    }
}

} // namespace
} // namespace meravo
