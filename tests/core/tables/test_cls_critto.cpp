#include "ambiente_tabelle.h"
#include "tables/blocco_scrittura.h"
#include "tables/campi_record.h"
#include "tables/file_interi.h"
#include "tables/shell_sort_any.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace meravo {
namespace {

using prova::AmbienteTabelle;
using prova::PompaEventiContata;
using prova::righe_crlf;
using prova::vista;
using ::testing::HasSubstr;

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

// Each case of the data file loads a file as a table of texts, or of numbers and a date.
TEST(ClsCritto, RigheECampiDelFileCaricato) {
    const std::map<std::string, std::vector<DescrizioneColonna>> colonne = {
        {"testo", {{8, 5, "t"}}}, {"numeri", {{2, 0, "a"}, {3, 0, "b"}, {4, 0, "c"}, {7, 0, "d"}}}};
    auto casi = prova::casi_da_file(MERAVO_DATI "/carica_file.txt");
    EXPECT_EQ(casi.size(), 8u);
    for (auto& c : casi) {
        c.resize(4);
        AmbienteTabelle a;
        const auto esito = a.carica(colonne.at(c[0]), c[1]);
        EXPECT_EQ(vista(a.tabella), c[2]) << c[1];
        EXPECT_EQ(esito.messaggio(),
                  c[3].empty() ? "" : c[3] + " del file " + a.cartella.file("t.tda"));
    }
}

// Rows left out of a load keep their slots, empty, at the end; the ceased go to the tail. One
// table loads the file by turns: of the same size, its arrays are reused, and the rows a load
// skips must not show the previous load's.
TEST(ClsCritto, RidottoCessatiEParziale) {
    const std::string file = righe_crlf({"00A+0000000001ANNA", "10 +0000000002BRUNO",
                                         "00B+0000000003CARLA", "00 +0000000004DARIO"});
    const std::map<std::string, OpzioniCarica> opzioni = {
        {"tutte", {}},
        {"ridotto", {.ridotto = true}},
        {"parziale", {.lettura_parziale = true, .tabella_autorizzati = {0, 2, 4}}}};
    const auto casi = prova::casi_da_file(MERAVO_DATI "/ridotto_cessati_parziale.txt");
    EXPECT_EQ(casi.size(), 4u);
    AmbienteTabelle a;
    for (const auto& c : casi) {
        a.tabella.separa_cessati = c.at(1) == "1";
        ASSERT_TRUE(a.carica({{3, 0, "numero"}, {8, 4, "nome"}}, file, opzioni.at(c[0])));
        EXPECT_EQ(vista(a.tabella), c.at(3));
        EXPECT_EQ(a.tabella.righe_caricate(), std::stoi(c[2])) << c[3];
        EXPECT_EQ(a.tabella.righe_in_coda(), a.tabella.separa_cessati ? 1 : 0) << c[3];
    }
    // Saved, an empty slot still takes a whole record line.
    ASSERT_TRUE(a.tabella.salva(a.cartella.file("s.tda")));
    EXPECT_EQ(a.cartella.leggi("s.tda").size(), 4u * 20);
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

const std::vector<DescrizioneColonna> pazienti = {
    {3, 0, "numero"}, {8, 10, "chiavenome"}, {7, 0, "nascita"}, {8, 4, "codicereg"}};

const std::vector<std::string> elenco_iniziale = {
    "000+0000000001ROSSI     19800101A001",
    "000+0000000002BIANCHI   19751231A002",
    "000+0000000004VERDI     20000229A004",
};

const std::vector<Valore> rossini = {Valore{}, Valore{}, std::string("ROSSINI")};

// The enciphered patients' list in a scratch folder, loaded as the patients' general table.
struct Elenco : AmbienteTabelle {
    explicit Elenco(const std::vector<std::string>& righe = elenco_iniziale) {
        cartella.scrivi("chiaro.txt", righe_crlf(righe));
        EXPECT_TRUE(tabella.scrittura(cartella.file("chiaro.txt"), file()));
        std::filesystem::remove(cartella.file("chiaro.txt"));
        tabella.nome_tabella = "generale_pazienti";
        EXPECT_TRUE(tabella.descrizione(pazienti));
        EXPECT_TRUE(tabella.carica(file(), {.lettura_crittato = true}));
    }
    std::string file() const { return cartella.file("elenco_pazienti.tcl"); }
    std::string lista() const { return cartella.leggi("elenco_pazienti.tcl"); }
    // Each row's status and surname.
    std::string righe() const {
        std::string r;
        for (int i = 1; i <= tabella.righe(); ++i) {
            r += (i > 1 ? "|" : "") + tabella.risposta_servizio(i) + " " +
                 std::get<std::string>(tabella.dati_diretto(2, i));
        }
        return r;
    }
};

// The plain copy of the list is for the patients' general table alone, unless it is refused.
TEST(Manutenzione, CopiaInChiaroDellaTabellaPazienti) {
    Elenco e;
    for (const auto& [nome, no_decritto, copia] : {std::tuple{"generale_pazienti", false, true},
                                                   {"generale_pazienti", true, false},
                                                   {"comuni", false, false}}) {
        std::filesystem::remove(e.cartella.file("tara_config.tmp"));
        e.tabella.nome_tabella = nome;
        ASSERT_TRUE(
            e.tabella.carica(e.file(), {.lettura_crittato = true, .no_decritto = no_decritto}));
        EXPECT_EQ(e.cartella.leggi("tara_config.tmp"), copia ? righe_crlf(elenco_iniziale) : "")
            << nome;
    }
}

TEST(Manutenzione, AggiornaAggiungiElimina) {
    // With a blank line in the list, which the load and the changes pass over.
    Elenco e({elenco_iniziale[0], "", elenco_iniziale[1], elenco_iniziale[2]});
    const std::string prima = e.lista();
    // A load that failed leaves the list loaded before as the one the changes work on.
    EXPECT_FALSE(e.tabella.carica(e.cartella.file("assente.tcl"), {.lettura_crittato = true}));
    ASSERT_TRUE(e.tabella.aggiorna_esistente(2, {Valore{}, Valore{}, std::string("BIANCHINI")}));
    EXPECT_EQ(e.righe(), "000 ROSSI|000 BIANCHINI|000 VERDI");
    // Backups of the list as it was; the plain copy follows the list.
    EXPECT_EQ(e.cartella.leggi("elenco_pazienti.bak"), prima);
    EXPECT_EQ(e.cartella.leggi("elenco_pazienti.bak_20240105_093000_STUDIO1"), prima);
    EXPECT_EQ(e.cartella.leggi("tara_config.tmp"),
              righe_crlf({elenco_iniziale[0], "000+0000000002BIANCHINI 19751231A002",
                          elenco_iniziale[2]}));
    EXPECT_FALSE(e.esiste("tara_config.bak"));
#ifndef _WIN32
    // Patients' data: readable by the user alone; the list itself stays shared.
    namespace fs = std::filesystem;
    constexpr auto altri = fs::perms::group_all | fs::perms::others_all;
    for (const char* nome : {"elenco_pazienti.bak", "elenco_pazienti.bak_20240105_093000_STUDIO1",
                             "tara_config.tmp"}) {
        EXPECT_EQ(fs::status(e.cartella.file(nome)).permissions() & altri, fs::perms::none) << nome;
    }
    // Nor is a copy written through a link at its name or at its work file's.
    e.cartella.scrivi("altrui.txt", "altrui");
    const fs::path altrui = e.cartella.file("altrui.txt"), copia = e.cartella.file("invio.txt");
    fs::create_symlink(altrui, copia);
    EXPECT_FALSE(scrivi_file_intero(copia, "dati", Accesso::solo_utente));
    EXPECT_FALSE(crea_file_nuovo_privato(copia, "dati"));
    fs::remove(copia);
    fs::create_symlink(altrui, percorso_temporaneo(copia));
    EXPECT_TRUE(scrivi_file_intero(copia, "dati", Accesso::solo_utente));
    EXPECT_EQ(e.cartella.leggi("altrui.txt"), "altrui");
#endif

    ASSERT_TRUE(e.tabella.aggiungi_nuovo({Valore{}, 3, std::string("CONTI"), Data{1990, 6, 1}}, 1));
    EXPECT_EQ(e.righe(), "000 ROSSI|000 BIANCHINI|000 CONTI|000 VERDI");
    ASSERT_TRUE(e.tabella.eliminazione_definitiva(1, 1));
    EXPECT_EQ(e.righe(), "000 BIANCHINI|000 CONTI|000 VERDI");
    // The list is now in order of the name key, so a new key moves its record.
    ASSERT_TRUE(e.tabella.aggiorna_chiavenome("ZANCHI", "Z003", 3));
    EXPECT_EQ(e.righe(), "000 BIANCHINI|000 VERDI|000 ZANCHI");
    EXPECT_EQ(e.tabella.dati_diretto(4, 3), Valore(std::string("Z003")));
    ASSERT_TRUE(e.tabella.modifica_sospensione(4, true));
    EXPECT_EQ(e.righe(), "000 BIANCHINI|010 VERDI|000 ZANCHI");
    ASSERT_TRUE(e.tabella.modifica_sospensione(4, false));
    const std::string penultima = e.lista();
    ASSERT_TRUE(e.tabella.marca_cessato(2)); // to the tail, as the table separates the ceased
    EXPECT_EQ(e.righe(), "000 VERDI|000 ZANCHI|100 BIANCHINI");
    // Every change came within the same second: one dated backup, of the list before the last.
    std::size_t datati = 0;
    for (const auto& voce : std::filesystem::directory_iterator(e.cartella.percorso())) {
        datati += voce.path().filename().string().rfind("elenco_pazienti.bak_", 0) == 0;
    }
    EXPECT_EQ(datati, 1u);
    EXPECT_EQ(e.cartella.leggi("elenco_pazienti.bak_20240105_093000_STUDIO1"), penultima);
    // A fresh reader of the list sees the same.
    AmbienteTabelle altro;
    altro.tabella.separa_cessati = true;
    ASSERT_TRUE(altro.carica(pazienti, e.lista(), {.lettura_crittato = true}));
    EXPECT_EQ(prova::vista(altro.tabella), prova::vista(e.tabella));
}

TEST(Manutenzione, RichiesteRifiutateEBloccoDiUnAltroProgramma) {
    Elenco e;
    const std::string prima = e.lista();
    // The lock as the other programs find it while each change holds it.
    std::vector<std::string> blocchi;
    e.messaggi.azione = [&] { blocchi.push_back(e.cartella.leggi("modElenco.blk")); };
    // Unknown patient, duplicate number, the patient's number rewritten, a value of the wrong
    // kind, a stale row index, unknown patients again.
    EXPECT_FALSE(e.tabella.aggiorna_esistente(3, {Valore{}, Valore{}, std::string("X")}));
    EXPECT_FALSE(e.tabella.aggiungi_nuovo({Valore{}, 2, std::string("DOPPIO")}, 1));
    EXPECT_FALSE(e.tabella.aggiorna_esistente(2, {Valore{}, 7}));
    EXPECT_FALSE(e.tabella.aggiorna_esistente(2, {Valore{}, Valore{}, 5}));
    EXPECT_FALSE(e.tabella.eliminazione_definitiva(1, 2));
    EXPECT_FALSE(e.tabella.aggiorna_chiavenome("X", "X", 3));
    EXPECT_FALSE(e.tabella.marca_cessato(3));
    EXPECT_FALSE(e.tabella.modifica_sospensione(3, true));
    EXPECT_EQ(e.lista(), prima);
    // Each change shows its message (the patient missing, or already there) under the lock.
    EXPECT_EQ(blocchi, (std::vector<std::string>{"aggiorna_esistente\r\n", "aggiorna_esistente\r\n",
                                                 "aggiorna_chiavenome\r\n", "marca_cessato\r\n",
                                                 "modifica_sospensione\r\n"}));
    EXPECT_FALSE(e.esiste("modElenco.blk"));

    // Another program's lock: the change waits, keeping the window running, gives up and leaves
    // the lock, which is that program's to remove.
    e.messaggi.azione = nullptr;
    e.messaggi.mostrati.clear();
    BloccoScrittura altro;
    ASSERT_EQ(
        altro.prendi(e.cartella.file("modElenco.blk"), "aggiorna_chiavenome", e.orologio, e.pompa),
        BloccoScrittura::Presa::preso);
    EXPECT_FALSE(e.tabella.aggiungi_nuovo({Valore{}, 9, std::string("X")}, 1));
    EXPECT_EQ(e.lista(), prima);
    EXPECT_FALSE(e.esiste("elenco_pazienti.bak"));
    EXPECT_EQ(e.cartella.leggi("modElenco.blk"), "aggiorna_chiavenome\r\n");
    EXPECT_GT(e.pompa.chiamate, 0);
    ASSERT_EQ(e.messaggi.mostrati.size(), 1u);
    EXPECT_EQ(e.messaggi.mostrati[0].icona, Icona::esclamazione);
    // A lock released while the change waits lets the change through.
    const double inizio = e.orologio.secondi;
    e.pompa.azione = [&] {
        if (e.orologio.secondi - inizio >= 4.0) {
            altro.rilascia();
        }
    };
    EXPECT_TRUE(e.tabella.aggiorna_chiavenome("ALBERTI", "A004", 4));
    // Not in order of the name key: the record keeps its place.
    EXPECT_EQ(e.righe(), "000 ROSSI|000 BIANCHI|000 ALBERTI");
    EXPECT_FALSE(e.esiste("modElenco.blk"));
    // A lock file that nobody holds may be a program of the suite that only creates and deletes
    // it, still at work: the change waits and gives up. Older than any change lasts, it was left
    // by a program that died, and it is taken over.
    e.cartella.scrivi("modElenco.blk", "aggiorna_esistente\r\n");
    for (const int minuti : {9, 11}) {
        std::filesystem::last_write_time(e.cartella.file("modElenco.blk"),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::minutes(minuti));
        EXPECT_EQ(e.tabella.aggiorna_esistente(1, rossini), minuti == 11);
        EXPECT_EQ(e.esiste("modElenco.blk"), minuti == 9);
    }
    // A lock that cannot be created at all is told at once, as such.
    Elenco sparito;
    std::filesystem::remove_all(sparito.cartella.percorso());
    EXPECT_FALSE(sparito.tabella.aggiorna_esistente(1, rossini));
    EXPECT_EQ(sparito.pompa.chiamate, 0);
    ASSERT_EQ(sparito.messaggi.mostrati.size(), 1u);
    EXPECT_THAT(sparito.messaggi.mostrati[0].testo, HasSubstr("modElenco.blk"));
}

TEST(Manutenzione, ScritturaFallitaLasciaLElencoComEra) {
    // A record of the wrong length: nothing is written.
    Elenco m({elenco_iniziale[0], "000+0000000002BIANCHI", elenco_iniziale[2]});
    const std::string prima_m = m.lista();
    EXPECT_FALSE(m.tabella.aggiorna_esistente(1, rossini));
    EXPECT_FALSE(m.tabella.eliminazione_definitiva(1, 1));
    EXPECT_EQ(m.lista(), prima_m);
    ASSERT_EQ(m.messaggi.mostrati.size(), 2u);
    EXPECT_THAT(m.messaggi.mostrati[0].testo, HasSubstr("aggiornare i dati del paziente"));
    EXPECT_THAT(m.messaggi.mostrati[1].testo, HasSubstr("continuare con l'eliminazione"));
    EXPECT_EQ(m.messaggi.mostrati[1].titolo, "Ostrel 2");
    EXPECT_EQ(m.messaggi.mostrati[1].icona, Icona::critico);
    // The new list cannot be written (its temporary name is taken by a folder): both the list
    // and its plain copy come back from their backups.
    Elenco e;
    const std::string prima = e.lista();
    const std::string copia = e.cartella.leggi("tara_config.tmp");
    std::filesystem::create_directory(percorso_temporaneo(e.file()));
    EXPECT_FALSE(e.tabella.eliminazione_definitiva(2, 2));
    EXPECT_EQ(e.lista(), prima);
    EXPECT_EQ(e.cartella.leggi("tara_config.tmp"), copia);
    EXPECT_FALSE(e.esiste("tara_config.bak"));
    EXPECT_FALSE(e.esiste("modElenco.blk"));
    ASSERT_EQ(e.messaggi.mostrati.size(), 2u);
    EXPECT_EQ(e.messaggi.mostrati[0].testo,
              "Errore nella crittatura dell'elenco pazienti! Impossibile eliminare il paziente.");
    EXPECT_EQ(e.messaggi.mostrati[0].titolo, "Ostrel2");
    EXPECT_THAT(e.messaggi.mostrati[1].testo,
                HasSubstr("Verr\xE0 ripristinata la versione precedente"));
    EXPECT_EQ(e.righe(), "000 ROSSI|000 BIANCHI|000 VERDI");
    // scrittura on its own reports a plain file it cannot read.
    EXPECT_FALSE(e.tabella.scrittura(e.cartella.file("assente.txt"), e.file()));
    EXPECT_EQ(e.lista(), prima);
    // Only the plain copy cannot be written: the list changes, and the copy is told apart.
    std::filesystem::remove(percorso_temporaneo(e.file()));
    std::filesystem::remove(e.cartella.file("tara_config.tmp"));
    std::filesystem::create_directory(percorso_temporaneo(e.cartella.file("tara_config.tmp")));
    e.messaggi.mostrati.clear();
    EXPECT_TRUE(e.tabella.aggiorna_esistente(4, {Valore{}, Valore{}, std::string("VERDONE")}));
    EXPECT_NE(e.tabella.copia_piana_mancata(), "");
    ASSERT_EQ(e.messaggi.mostrati.size(), 1u);
    EXPECT_EQ(e.messaggi.mostrati[0].icona, Icona::esclamazione);
}

// Each case of the data file adds a record to a file.
TEST(Manutenzione, AggiungiRecordConCopiaDiSicurezza) {
    auto casi = prova::casi_da_file(MERAVO_DATI "/aggiungi_record.txt");
    EXPECT_EQ(casi.size(), 7u);
    for (auto c : casi) {
        c.resize(6);
        const auto prima = righe_crlf(prova::parti(c[4], '|'));
        const auto dopo = c[5].empty() ? "" : righe_crlf(prova::parti(c[5], '|'));
        AmbienteTabelle a;
        a.cartella.scrivi("t.tda", prima);
        const bool aggiunto =
            a.tabella.AggiungiRecord(a.cartella.file("t.tda"), a.cartella.file("t.bak"), c[0],
                                     c[1] == "1", std::stoi(c[2]), std::stoi(c[3]));
        EXPECT_EQ(aggiunto, !dopo.empty()) << c[0];
        EXPECT_EQ(a.cartella.leggi("t.tda"), aggiunto ? dopo : prima) << c[0];
        EXPECT_EQ(a.cartella.leggi("t.bak"), aggiunto ? prima : "") << c[0];
        EXPECT_EQ(a.messaggi.mostrati.size(), aggiunto ? 0u : 1u) << c[0];
    }
}

} // namespace
} // namespace meravo
