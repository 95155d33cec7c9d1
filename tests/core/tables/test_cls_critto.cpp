#include "ambiente_tabelle.h"
#include "tables/campi_record.h"
#include "tables/shell_sort_any.h"

#include <gtest/gtest.h>

#include <cstdio>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace meravo {
namespace {

using prova::AmbienteTabelle;
using prova::PompaEventiContata;
using prova::righe_crlf;
using prova::vista;

// Every type of column, in a record of 3 + 6 + 11 + 21 + 21 + 8 + 10 = 80 characters.
const std::vector<DescrizioneColonna> tutti_i_tipi = {
    {2, 0, "i16"}, {3, 0, "i32"}, {4, 0, "sng"}, {5, 0, "dbl"}, {7, 0, "data"}, {8, 10, "testo"},
};

const std::string righe_tutti_i_tipi = righe_crlf({
    "0A1-00012+0000001234-0000000000012,500000-0000000000000,50000020240229CAF\xC8 BAR  ",
    "1B +32767-2147483648+0000000000000,000000+0000000123456,65432118991230          ",
});

// A decimal reads as the nearest double to the number written, a field of blanks as no text.
void verifica_valori(const Cls_Critto& t) {
    EXPECT_EQ(vista(t), "0A1|-12|1234|-12.5|-0.5|20240229|CAF\xC8 BAR\n"
                        "1B |32767|-2147483648|0|123456.654321|18991230|\n");
    for (int c = 1; c <= 6; ++c) {
        EXPECT_EQ(t.dati_diretto(c, 1).index(), static_cast<std::size_t>(c)); // the column's type
    }
}

TEST(ClsCritto, AndataERitornoInChiaroECifrato) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.carica(tutti_i_tipi, righe_tutti_i_tipi));
    verifica_valori(a.tabella);
    // Plain: the very same bytes come back.
    ASSERT_TRUE(a.tabella.salva(a.cartella.file("copia.tda")));
    EXPECT_EQ(a.cartella.leggi("copia.tda"), righe_tutti_i_tipi);
    // Enciphered: 30 key lines, then lines of the record length that hide the text. Written at
    // another time of day than the reader's, so the reader must take the keys from the file.
    a.orologio.avanza(61);
    ASSERT_TRUE(a.tabella.salva(a.cartella.file("c.tcl"), false, true));
    const std::string cifrato = a.cartella.leggi("c.tcl");
    EXPECT_EQ(cifrato.size(), 30 * 1002 + righe_tutti_i_tipi.size());
    EXPECT_EQ(cifrato.find("BAR"), std::string::npos);
    EXPECT_EQ(cifrato.find("\xC8"), 30 * 1002 + 73); // the accented byte stays itself
    AmbienteTabelle b;
    ASSERT_TRUE(b.carica(tutti_i_tipi, cifrato, {.lettura_crittato = true}));
    verifica_valori(b.tabella);
    // The last record without its line end still counts; a header cut short, or a key line too
    // short for its key, is reported, not deciphered.
    ASSERT_TRUE(
        b.carica(tutti_i_tipi, cifrato.substr(0, cifrato.size() - 2), {.lettura_crittato = true}));
    verifica_valori(b.tabella);
    EXPECT_EQ(
        b.carica(tutti_i_tipi, cifrato.substr(0, 5 * 1002), {.lettura_crittato = true}).messaggio(),
        "Input oltre la fine del file " + b.cartella.file("t.tda"));
    EXPECT_FALSE(
        b.carica(tutti_i_tipi, "abc\r\n" + cifrato.substr(1002), {.lettura_crittato = true}));
}

TEST(ClsCritto, SalvaTieneOgniCampoNellaSuaLarghezza) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.carica({{8, 4, "t"}, {7, 0, "d"}, {2, 0, "n"}, {5, 0, "x"}},
                         righe_crlf({"000ABCD20240101+00001+0000000000001,250000",
                                     "000EFGH20240101+00001+0000000000001,250000"})));
    // Cells emptied, a text too long and with a line break, a number beyond the field.
    for (int c = 1; c <= 4; ++c) {
        ASSERT_TRUE(a.tabella.modifica_tabella(c, 1, Valore{}));
    }
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
    ASSERT_TRUE(a.tabella.salva(a.cartella.file("s.tda")));
    EXPECT_FALSE(a.esiste("s.tda.999999999.nuovo"));
#ifndef _WIN32
    EXPECT_TRUE(a.esiste(vivo));
#endif
    EXPECT_EQ(a.cartella.leggi("s.tda"),
              righe_crlf({"000    18991230+00000+0000000000000,000000",
                          "000A  T20240101+32767-9999999999999,999999"}));
    EXPECT_EQ(a.tabella.salva(a.cartella.file("s.tda")).messaggio(), "file gi\xE0 presente");
    EXPECT_TRUE(a.tabella.salva(a.cartella.file("s.tda"), true));
}

TEST(ClsCritto, CampiRovinatiSiLegonoComeZeroSenzaErrore) {
    AmbienteTabelle a;
    // Fields of 6, 11, 21 and 8 characters after the prefix; the last line is cut short, so
    // the first is made long enough for the size to count two records.
    ASSERT_TRUE(a.carica(
        {{2, 0, "a"}, {3, 0, "b"}, {4, 0, "c"}, {7, 0, "d"}},
        righe_crlf({"000+99999+12x4567890-00000000000ab,5000002024ab01" + std::string(20, '#'),
                    "000 -0012  -00000012+0000000000003,25"})));
    // Held in range; read up to the x; decimals cut to "25" read as 25 millionths.
    EXPECT_EQ(vista(a.tabella), "000|32767|12|-0.5|18991230\n000|-12|-12|3.000025|18991230\n");
}

TEST(ClsCritto, QuanteRigheHaIlFile) {
    const std::string r1 = "000UNO  ";
    const std::string r2 = "000DUE  ";
    const struct {
        std::string contenuto;
        std::string tabella; // as loaded
        std::string esito = {};
    } casi[] = {
        {r1 + "\r\n" + r2 + "\r\n", "000|UNO\n000|DUE\n"},
        {r1 + "\r\n" + r2 + "\r\n000TR", "000|UNO\n000|DUE\n"}, // the last one incomplete
        {r1 + "\r\n" + r2, "000|UNO\n"},                        // the last one without line end
        {r1 + "\n" + r2 + "\n", "000|UNO\n000|DUE\n"},
        {r1 + "\r\n\r\n" + r2 + "\r\n000TRE  \r\n", "000|UNO\n000|DUE\n000|TRE\n"},
        {"000UNO       \r\n000DUE       \r\n", "000|UNO\n000|DUE\n|\n", "Input oltre la fine"},
        {"", ""},
    };
    for (const auto& c : casi) {
        AmbienteTabelle a;
        const auto esito = a.carica({{8, 5, "t"}}, c.contenuto); // record length 10
        EXPECT_EQ(vista(a.tabella), c.tabella) << c.contenuto;
        EXPECT_EQ(esito.messaggio(),
                  c.esito.empty() ? "" : c.esito + " del file " + a.cartella.file("t.tda"));
    }
}

// Rows left out of a load keep their slots, empty, at the end; the ceased go to the tail. One
// table loads the file by turns: of the same size, its arrays are reused, and the rows a load
// skips must not show the previous load's.
TEST(ClsCritto, RidottoCessatiEParziale) {
    const std::string file = righe_crlf({"00A+0000000001ANNA", "10 +0000000002BRUNO",
                                         "00B+0000000003CARLA", "00 +0000000004DARIO"});
    const struct {
        OpzioniCarica opzioni;
        bool separa_cessati;
        int caricate;
        std::string tabella;
    } casi[] = {
        {{}, false, 4, "00A|1|ANNA\n10 |2|BRUN\n00B|3|CARL\n00 |4|DARI\n"},
        {{.ridotto = true}, false, 2, "00A|1|ANNA\n00B|3|CARL\n|0|\n|0|\n"},
        {{}, true, 3, "00A|1|ANNA\n00B|3|CARL\n00 |4|DARI\n10 |2|BRUN\n"},
        {{.lettura_parziale = true, .tabella_autorizzati = {0, 2, 4}},
         false,
         2,
         "10 |2|BRUN\n00 |4|DARI\n|0|\n|0|\n"},
    };
    AmbienteTabelle a;
    for (const auto& c : casi) {
        a.tabella.separa_cessati = c.separa_cessati;
        ASSERT_TRUE(a.carica({{3, 0, "numero"}, {8, 4, "nome"}}, file, c.opzioni));
        EXPECT_EQ(vista(a.tabella), c.tabella);
        EXPECT_EQ(a.tabella.righe_caricate(), c.caricate) << c.tabella;
        EXPECT_EQ(a.tabella.righe_in_coda(), c.separa_cessati ? 1 : 0) << c.tabella;
    }
    // Saved, an empty slot still takes a whole record line.
    ASSERT_TRUE(a.tabella.salva(a.cartella.file("s.tda")));
    EXPECT_EQ(a.cartella.leggi("s.tda").size(), 4u * 20);
}

// The plain copy of the list is for the patients' general table alone, unless it is refused.
TEST(ClsCritto, CopiaInChiaroDellaTabellaPazienti) {
    AmbienteTabelle a;
    const std::string chiaro = righe_crlf({"000+0000000001ANNA", "000+0000000002BICE"});
    ASSERT_TRUE(a.carica({{3, 0, "numero"}, {8, 4, "nome"}}, chiaro));
    ASSERT_TRUE(a.tabella.salva(a.cartella.file("elenco_pazienti.tcl"), false, true));
    for (const auto& [nome, no_decritto, copia] : {std::tuple{"generale_pazienti", false, true},
                                                   {"generale_pazienti", true, false},
                                                   {"comuni", false, false}}) {
        std::filesystem::remove(a.cartella.file("tara_config.tmp"));
        a.tabella.nome_tabella = nome;
        ASSERT_TRUE(a.tabella.carica(a.cartella.file("elenco_pazienti.tcl"),
                                     {.lettura_crittato = true, .no_decritto = no_decritto}));
        EXPECT_EQ(a.cartella.leggi("tara_config.tmp"), copia ? chiaro : "") << nome;
    }
}

TEST(ClsCritto, ErroriDiCaricamentoEAccessiFuoriDallaTabella) {
    AmbienteTabelle a;
    const auto file = a.cartella.file("t.tda");
    EXPECT_EQ(a.tabella.carica(file).messaggio(), "descrizione_non_caricata");
    EXPECT_FALSE(a.tabella.descrizione({{8, 4, "a"}, {6, 0, "b"}}));
    EXPECT_EQ(a.tabella.carica(file).messaggio(), "descrizione_non_caricata");
    EXPECT_FALSE(a.tabella.descrizione({{8, 0, "a"}}));
    ASSERT_TRUE(a.tabella.descrizione({{8, 3, "sigla"}, {2, 0, "n"}}));
    EXPECT_EQ(a.tabella.carica(file).messaggio(), "File " + file + " mancante");
    a.cartella.scrivi("t.tda", righe_crlf({"000MI +00003", "000AL +00001"}));
    EXPECT_FALSE(a.tabella.carica(file, {.ordinamento_secondario = 3}));
    ASSERT_TRUE(a.tabella.carica(file));
    // Outside the table there is nothing, never a crash.
    for (const auto& [colonna, riga] : {std::pair{3, 1}, {1, 0}, {1, 3}, {0, 1}}) {
        EXPECT_EQ(a.tabella.dati_diretto(colonna, riga), Valore()) << colonna << " " << riga;
    }
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

const std::vector<DescrizioneColonna> nome_e_numero = {{8, 10, "nome"}, {2, 0, "numero"}};

// Records of a name of 10 characters and a number, each with status "0" unless `stati` says
// otherwise.
std::string righe(const std::vector<std::pair<std::string, int>>& record, std::string stati = "") {
    std::string testo;
    char riga[32];
    stati.resize(record.size(), '0');
    for (std::size_t i = 0; i < record.size(); ++i) {
        std::snprintf(riga, sizeof riga, "%c00%-10s%+06d\r\n", stati[i], record[i].first.c_str(),
                      record[i].second);
        testo += riga;
    }
    return testo;
}

TEST(RicercaTabella, RicercheLineari) {
    AmbienteTabelle a;
    a.tabella.separa_cessati = true;
    ASSERT_TRUE(a.carica(
        nome_e_numero,
        righe({{"AL ASTI", 1}, {"MI MILANO", 2}, {"TO TORINO", 3}, {"MILANO", 4}}, "0010")));
    // Rows: 1 AL ASTI, 2 MI MILANO, 3 MILANO; the ceased TO TORINO sits in the tail, row 4.
    ASSERT_EQ(a.tabella.righe_caricate(), 3);
    auto& t = a.tabella;
    const std::string milano = "MILANO";
    EXPECT_EQ(t.identifica_elemento(std::string("milano"), 1), 3);
    EXPECT_EQ(t.identifica_elemento(std::string("Milano"), 1, 3), 2);
    EXPECT_EQ(t.identifica_elemento(std::string("torino"), 1, 3), -1); // not in the tail
    EXPECT_EQ(t.identifica_elemento(std::string(""), 1, 40), 1);       // nothing left to compare
    EXPECT_EQ(t.identifica_elemento(4, 2), 3);
    EXPECT_EQ(t.identifica_elemento(milano, 3), -1); // a column outside the table
    // The exact searches are case-sensitive and reach the tail.
    EXPECT_EQ(t.identifica_elemento_da(std::string("TO TORINO"), 1, 1), 4);
    EXPECT_EQ(t.identifica_elemento_da(std::string("to torino"), 1, 1), -1);
    EXPECT_EQ(t.identifica_elemento_da(milano, 1, 4), -1);
    EXPECT_EQ(t.identifica_elemento_da(2.0, 2, -5), 2); // numbers by value, from row 1
    EXPECT_EQ(t.identifica_elemento_lunghezza("MI", 1), 2);
    EXPECT_EQ(t.identifica_elemento_da_lunghezza("MI", 1, 3), 3);
    EXPECT_EQ(t.identifica_elemento_lunghezza("TO", 1), 4);
    EXPECT_EQ(t.identifica_elemento_lunghezza("MILANO E", 1), -1);
    EXPECT_EQ(t.identifica_elemento_cessati(std::string("TO TORINO"), 1), 4);
    EXPECT_EQ(t.identifica_elemento_cessati(milano, 1), -1);
    EXPECT_EQ(t.estrai("milano", 1), "MI MILANO\r\nMILANO");
}

// The halving searches over every size from an empty table up: each stored value is found,
// values between them and outside them are not.
TEST(RicercaTabella, DicotomicaSuOgniDimensione) {
    for (int n = 0; n <= 40; ++n) {
        AmbienteTabelle a;
        std::vector<std::pair<std::string, int>> record;
        std::vector<std::int64_t> autorizzati{0};
        for (int i = 1; i <= n; ++i) {
            record.emplace_back("K" + std::to_string(100 + 2 * i), 2 * i);
            autorizzati.push_back(10 * i);
        }
        ASSERT_TRUE(a.carica(nome_e_numero, righe(record)));
        auto& t = a.tabella;
        for (int i = 1; i <= n; ++i) {
            const std::string numero = std::to_string(100 + 2 * i);
            ASSERT_EQ(t.identifica_elemento_dicotomica("K" + numero, 1), i) << n;
            ASSERT_EQ(t.identifica_elemento_dicotomica("k" + numero, 1), i) << n;
            ASSERT_EQ(t.identifica_elemento_dicotomica(std::int16_t(2 * i), 2), i) << n;
            ASSERT_EQ(t.ricerca_dicotomica("K" + numero, 1), i) << n;
            ASSERT_EQ(t.identifica_elemento_dicotomica(2 * i + 1, 2), -1) << n;
            ASSERT_EQ(Cls_Critto::identifica_autorizzati(autorizzati, 10 * i), i) << n;
            ASSERT_EQ(Cls_Critto::identifica_autorizzati(autorizzati, 10 * i + 5), -1) << n;
        }
        EXPECT_EQ(t.identifica_elemento_dicotomica(0, 2), -1) << n;
        EXPECT_EQ(t.identifica_elemento_dicotomica(2 * n + 2, 2), -1) << n;
        EXPECT_EQ(t.ricerca_dicotomica(std::string("k102"), 1), -1) << n; // no upper-casing
    }
    EXPECT_EQ(Cls_Critto::identifica_autorizzati({}, 0), -1);
}

TEST(RicercaTabella, PrimoDiUnaSerieEIndiceSecondario) {
    AmbienteTabelle a;
    ASSERT_TRUE(a.carica(nome_e_numero,
                         righe({{"A", 50}, {"B", 40}, {"B", 30}, {"B", 20}, {"D", 30}}),
                         {.ordinamento_secondario = 2}));
    auto& t = a.tabella;
    EXPECT_EQ(t.identifica_elemento_dicotomica_primo(std::string("b"), 1), 2);
    EXPECT_EQ(t.identifica_elemento_dicotomica_primo(std::string("C"), 1), -1);
    // Secondary index on the numbers: 20(4) 30(5) 30(3) 40(2) 50(1); the gap-4 pass moved the
    // last 30 ahead of the other.
    EXPECT_EQ(t.dati_diretto_secondario(2, 2), Valore(std::int32_t{5}));
    int posizione = 0;
    EXPECT_EQ(t.identifica_elemento_dicotomica_secondario(40, &posizione), 2);
    EXPECT_EQ(posizione, 4);
    EXPECT_EQ(t.identifica_elemento_dicotomica_secondario_primo(30, &posizione), 5);
    EXPECT_EQ(posizione, 2);
    EXPECT_EQ(t.identifica_elemento_dicotomica_secondario(35, &posizione), -1);
    EXPECT_EQ(posizione, -1);
    EXPECT_EQ(t.identifica_elemento_secondario_da(30, 1, 3), 3);
    EXPECT_EQ(t.identifica_elemento_secondario_da(5, 2, 1), 2);
    EXPECT_EQ(t.identifica_elemento_secondario_da(30, 1, 4), -1);
}

TEST(RicercaTabella, ValoriSingoliEPrefissi) {
    AmbienteTabelle a;
    ASSERT_TRUE(
        a.carica(nome_e_numero, righe({{"X", 1}, {"Y", 2}, {"X", 1}, {"AB CD", 3}, {"AB EF", 3}})));
    auto& t = a.tabella;
    using Valori = std::vector<Valore>;
    const std::string x = "X";
    const std::string y = "Y";
    EXPECT_EQ(t.ritorna_singoli(1), (Valori{{}, x, y, std::string("AB CD"), std::string("AB EF")}));
    EXPECT_EQ(t.ritorna_inizio_singoli(1), (Valori{{}, x, y, std::string("AB")}));
    EXPECT_EQ(t.ritorna_singoli(2),
              (Valori{{}, std::int16_t{1}, std::int16_t{2}, std::int16_t{3}}));
    EXPECT_TRUE(t.marca_servizio(2, 2, "ZZZZ"));
    EXPECT_EQ(t.risposta_servizio(2), "0ZZ"); // never longer than three characters
    EXPECT_FALSE(t.marca_servizio(6, 1, "1"));
    EXPECT_FALSE(t.marca_servizio(1, 4, "1"));
    ASSERT_TRUE(t.salva(a.cartella.file("s.tda")));
    EXPECT_EQ(a.cartella.leggi("s.tda").substr(21, 21), "0ZZY         +00002\r\n");
}

// The first and the last leaf of a branch, over sizes on both sides of the halving's threshold.
TEST(RicercaTabella, TrovaFogliaPrimaEUltimaDelRamo) {
    for (const int n : {0, 7, 49, 50, 133}) {
        AmbienteTabelle a;
        std::vector<std::pair<std::string, int>> record;
        for (int i = 0; i < n; ++i) {
            record.emplace_back(std::to_string(100 + i / 10) + "." + std::to_string(i % 10), i);
        }
        ASSERT_TRUE(a.carica(nome_e_numero, righe(record), {.ordinamento_secondario = 1}));
        a.tabella.inizializza_livelli({3});
        for (int i = 0; i < n; ++i) {
            const std::string ramo = std::to_string(100 + i / 10) + ".x";
            ASSERT_EQ(a.tabella.trova_foglia(ramo), i / 10 * 10 + 1) << n << " " << ramo;
            ASSERT_EQ(a.tabella.trova_foglia(ramo, false), std::min(i / 10 * 10 + 10, n)) << n;
        }
        EXPECT_EQ(a.tabella.trova_foglia("099"), -1) << n;
        EXPECT_EQ(a.tabella.trova_foglia("999", false), -1) << n;
        a.tabella.inizializza_livelli({}); // without levels the whole code is the branch
        EXPECT_EQ(a.tabella.trova_foglia("100.4"), n > 4 ? 5 : -1) << n;
    }
}

// Ascending keeps equal keys in their order, descending moves them past each other; a count
// beyond the lists is cut to the shortest; keys starting with every byte sort as the files' code
// page orders them (above 127 after ASCII), the companion lists following them.
TEST(ShellSortAny, OrdinaLeChiaviConLeListeCompagne) {
    PompaEventiContata pompa;
    for (const bool discendente : {false, true}) {
        std::vector<std::string> chiavi{"", "B", "A", "B", "A"};
        std::vector<int> righe{0, 1, 2, 3, 4};
        ShellSortAny(pompa, 4, discendente, chiavi, righe);
        EXPECT_EQ(righe, (discendente ? std::vector<int>{0, 3, 1, 4, 2}
                                      : std::vector<int>{0, 2, 4, 1, 3}));
    }
    std::vector<double> corte{0, 2.5, -1, 0.5};
    std::vector<int> compagni{0, 1, 2, 3};
    ShellSortAny(pompa, 99, false, corte, compagni);
    EXPECT_EQ(compagni, (std::vector<int>{0, 2, 3, 1}));
    std::vector<std::string> chiavi{""};
    std::vector<int> righe{0};
    for (int i = 1; i <= 5000; ++i) {
        chiavi.push_back(static_cast<char>((i * 7919) % 256) + std::to_string(i));
        righe.push_back(i);
    }
    const auto originali = chiavi;
    ShellSortAny(pompa, 5000, false, chiavi, righe);
    EXPECT_TRUE(std::is_sorted(chiavi.begin(), chiavi.end()));
    for (int i = 0; i <= 5000; ++i) {
        ASSERT_EQ(originali[righe[i]], chiavi[i]);
    }
    EXPECT_GT(pompa.chiamate, 0); // the window kept running
}

} // namespace
} // namespace meravo
