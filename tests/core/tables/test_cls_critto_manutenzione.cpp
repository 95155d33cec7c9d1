#include "ambiente_tabelle.h"

#include "tables/blocco_scrittura.h"
#include "tables/file_interi.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace meravo {
namespace {

using prova::AmbienteTabelle;
using prova::righe_crlf;
using ::testing::HasSubstr;

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

TEST(Manutenzione, AggiornaAggiungiElimina) {
    // With a blank line in the list, which the load and the changes pass over.
    Elenco e({elenco_iniziale[0], "", elenco_iniziale[1], elenco_iniziale[2]});
    const std::string prima = e.lista();
    // A load that failed leaves the list loaded before as the one the changes work on.
    EXPECT_FALSE(e.tabella.carica(e.cartella.file("assente.tcl"), {.lettura_crittato = true}));
    ASSERT_TRUE(e.tabella.aggiorna_esistente(2, {Valore{}, Valore{}, std::string("BIANCHINI")}));
    EXPECT_EQ(e.righe(), "000 ROSSI|000 BIANCHINI|000 VERDI");
    // Backups of the list as it was; the plain copy follows the list; no lock is left.
    EXPECT_EQ(e.cartella.leggi("elenco_pazienti.bak"), prima);
    EXPECT_EQ(e.cartella.leggi("elenco_pazienti.bak_20240105_093000_STUDIO1"), prima);
    EXPECT_EQ(e.cartella.leggi("tara_config.tmp"),
              righe_crlf({elenco_iniziale[0], "000+0000000002BIANCHINI 19751231A002",
                          elenco_iniziale[2]}));
    EXPECT_FALSE(e.esiste("tara_config.bak"));
    EXPECT_FALSE(e.esiste("modElenco.blk"));
#ifndef _WIN32
    // Patients' data: readable by the user alone; the list itself stays shared.
    namespace fs = std::filesystem;
    constexpr auto altri = fs::perms::group_all | fs::perms::others_all;
    for (const char* nome : {"elenco_pazienti.bak", "elenco_pazienti.bak_20240105_093000_STUDIO1",
                             "tara_config.tmp"}) {
        EXPECT_EQ(fs::status(e.cartella.file(nome)).permissions() & altri, fs::perms::none) << nome;
    }
#endif

    ASSERT_TRUE(e.tabella.aggiungi_nuovo({Valore{}, 3, std::string("CONTI"), Data{1990, 6, 1}}, 1));
    EXPECT_TRUE(e.tabella.separa_cessati);
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
    // A lock file that nobody holds (its program died) is taken over after the same wait.
    e.cartella.scrivi("modElenco.blk", "aggiorna_esistente\r\n");
    const double da = e.orologio.secondi;
    EXPECT_TRUE(e.tabella.aggiorna_esistente(1, rossini));
    EXPECT_GE(e.orologio.secondi - da, BloccoScrittura::attesa_massima);
    EXPECT_FALSE(e.esiste("modElenco.blk"));
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

// A record is added with a backup of the file as it was; a record or a file it cannot be sure of
// leaves the file as it is, without a backup, and says so.
TEST(Manutenzione, AggiungiRecordConCopiaDiSicurezza) {
    const struct {
        std::string record;
        bool ordinamento;
        int inizio, lunghezza;
        std::string dopo; // empty: refused
        std::string prima = righe_crlf({"000ANNA1", "000CARL2"});
    } casi[] = {
        {"000BICE3", false, 1, 0, righe_crlf({"000ANNA1", "000CARL2", "000BICE3"})},
        {"000BICE3", true, 4, 4, righe_crlf({"000ANNA1", "000BICE3", "000CARL2"})},
        {"000CARL0", true, 4, 0,
         righe_crlf({"000ANNA1", "000CARL0", "000CARL2"})}, // key to the end
        {"000BICE", false, 1, 0, ""},                       // too short
        {"000BICE3", true, 6, 4, ""},                       // a key beyond the record
        {"000BI\r\nE", false, 1, 0, ""},                    // a line break inside
        {"000BICE3", false, 1, 0, "", righe_crlf({"000ANNA1", "000CARLO2"})},
    };
    for (const auto& c : casi) {
        AmbienteTabelle a;
        a.cartella.scrivi("t.tda", c.prima);
        const bool aggiunto =
            a.tabella.AggiungiRecord(a.cartella.file("t.tda"), a.cartella.file("t.bak"), c.record,
                                     c.ordinamento, c.inizio, c.lunghezza);
        EXPECT_EQ(aggiunto, !c.dopo.empty()) << c.record;
        EXPECT_EQ(a.cartella.leggi("t.tda"), aggiunto ? c.dopo : c.prima) << c.record;
        EXPECT_EQ(a.cartella.leggi("t.bak"), aggiunto ? c.prima : "") << c.record;
        EXPECT_EQ(a.messaggi.mostrati.size(), aggiunto ? 0u : 1u) << c.record;
    }
}

} // namespace
} // namespace meravo
