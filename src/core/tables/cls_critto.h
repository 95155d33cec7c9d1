#pragma once

#include "services/esito.h"
#include "tables/colonna_dati.h"
#include "tables/descrizione_colonna.h"
#include "tables/nome_computer.h"
#include "tables/opzioni_carica.h"
#include "tables/valore.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class Messaggi;
class Orologio;
class PompaEventi;

// One table in memory: typed columns read from a fixed-width record file whose layout the caller
// declares first, optionally enciphered line by line. Columns and rows are numbered from 1.
//
// A record line is a 3-character prefix (character 1: status, "0" for a current record;
// character 3: "A" or "B" for the reduced set), then every column's field with no separator.
// Searches answer a row number, or −1 when nothing matches.
class Cls_Critto {
public:
    Cls_Critto(Orologio& orologio, PompaEventi& pompa, Messaggi& messaggi);

    // Records whose status is not "0" go to the tail of the table, out of the loaded rows.
    bool separa_cessati = false;
    // "generale_pazienti" marks the patients' table, which leaves a plain copy beside it.
    std::string nome_tabella;
    // Where the computer's name comes from (the environment, unless a test says otherwise).
    std::function<std::string()> nome_computer = nome_computer_da_ambiente;

    // --- Layout, load, save, access -------------------------------------------------------

    // Sets the layout, columns in file order, and discards any loaded rows. An unknown type code
    // or a text width out of 1..65535 refuses the layout: no layout is then set.
    Esito descrizione(std::vector<DescrizioneColonna> colonne);
    // Attribute 1 (type code), 2 (width) or 3 (name) of a column; nothing outside the layout.
    Valore testata(int colonna, int parametro) const;

    Esito carica(const std::string& file, const OpzioniCarica& opzioni = {});
    Esito salva(const std::string& file, bool sovrascrivi = false, bool scrittura_crittato = false);

    // Record slots of the last load, tail rows included.
    int righe() const;
    int colonne() const { return static_cast<int>(descrizione_.size()); }
    // The rows the searches and dati consider: 1 to righe_caricate.
    int righe_caricate() const { return righe_caricate_; }
    int righe_in_coda() const { return righe_in_coda_; }

    // A copy of the column, rows 0 to righe_caricate; nothing when no table is loaded.
    std::optional<ColonnaDati> dati(int colonna) const;
    // A copy of the secondary index: 1 = the values in ascending order, 2 = the row each came
    // from (32-bit integers, whatever the column's type).
    std::optional<ColonnaDati> dati_secondario(int colonna) const;
    Valore dati_diretto(int ind1, int ind2) const;
    Valore dati_diretto_secondario(int ind1, int ind2) const;
    Valore elemento_tab(int campo, int record) const { return dati_diretto(campo, record); }
    // Every column; element 0 is an empty placeholder.
    std::vector<ColonnaDati> tutti_dati() const;
    // Discards the rows; the layout stays.
    void reset();

    // --- Searches ---------------------------------------------------------------------------

    // Rows 1..righe_caricate; texts compared in upper case, the cell without its first `salto`
    // characters. Other columns compare by value.
    int identifica_elemento(const Valore& elemento, int colonna, int salto = 0) const;
    // Exact matches over every record slot from `da` on, tail rows included.
    int identifica_elemento_da(const Valore& elemento, int colonna, int da) const;
    // Exact match in secondary-index array `colonna` (1 or 2) from position `da`.
    int identifica_elemento_secondario_da(const Valore& elemento, int colonna, int da) const;
    // The cell's first Len(elemento) characters equal elemento, over every record slot.
    int identifica_elemento_lunghezza(std::string_view elemento, int colonna) const;
    int identifica_elemento_da_lunghezza(std::string_view elemento, int colonna, int da) const;
    // Exact match among the tail rows.
    int identifica_elemento_cessati(const Valore& elemento, int colonna) const;

    // Halving searches over a column kept in ascending order (rows 1..righe_caricate); a text
    // `elemento` is upper-cased first.
    int identifica_elemento_dicotomica(const Valore& elemento, int colonna) const;
    int identifica_elemento_dicotomica_primo(const Valore& elemento, int colonna) const;
    // Over the secondary index: the row the match came from, and its position in `secondindex`.
    int identifica_elemento_dicotomica_secondario(const Valore& elemento,
                                                  int* secondindex = nullptr) const;
    int identifica_elemento_dicotomica_secondario_primo(const Valore& elemento,
                                                        int* secondindex = nullptr) const;
    // Every record slot, cells stripped of surrounding spaces, no upper-casing.
    int ricerca_dicotomica(const Valore& chiave, int colonnna) const;
    // A position of `elemento` in an ascending list numbered from 1, or −1.
    static int identifica_autorizzati(const std::vector<std::int64_t>& tabella_lavoro,
                                      std::int64_t elemento);

    // The text cells that contain the upper case of `testo`, in row order, joined by CR LF.
    std::string estrai(std::string_view testo, int colonna) const;
    // The distinct values of a column in order of first appearance; element 0 is nothing.
    std::vector<Valore> ritorna_singoli(int colonna) const;
    // The same, each text cut before its first space.
    std::vector<Valore> ritorna_inizio_singoli(int colonna) const;

    // Overwrites the prefix of row `numero` from character `posizione_inserimento` on, never
    // past its three characters. False outside the table.
    bool marca_servizio(int numero, int posizione_inserimento, std::string_view valore);
    void inizializza_livelli(std::vector<int> rc_passaggio) { livelli_ = std::move(rc_passaggio); }
    const std::vector<int>& livelli() const { return livelli_; }
    // Codes are kept by levels, a code's first characters naming its branch: the position in
    // the secondary index (a text column) of the first entry (`scelta_prima`) or of the last
    // whose first livelli()[0] characters are those of `codice` (all of them when no levels are
    // set or the code is shorter), or −1. The code is upper-cased like every halving search's.
    int trova_foglia(std::string_view codice, bool scelta_prima = true) const;

    // --- Record maintenance of the patients' list --------------------------------------------

    // The prefix of a row; empty outside the table.
    std::string risposta_servizio(int elemento) const;
    // Sets one cell in memory. False outside the table or for a value the column cannot hold.
    bool modifica_tabella(int ind1, int ind2, const Valore& valore);
    // Enciphers a plain record file into a table file with fresh keys.
    bool scrittura(const std::string& file_da_crittare, const std::string& file_crittato);

    // The patients' list is the table last loaded; its first column holds the patient's number
    // (characters 4 to 14 of every record). Each change takes the writer lock, backs the list up,
    // rewrites it whole and reloads it; a list with a malformed record is left as it was.

    // Changes the columns of patient `cliente` for which `aggiornamento` (numbered from 1) holds
    // a value; nothing leaves a column as it is.
    bool aggiorna_esistente(std::int32_t cliente, const std::vector<Valore>& aggiornamento,
                            bool crittato = true);
    // Adds a current record (prefix "000") with the values of `vettore` (numbered from 1) before
    // the first record whose `colonna_ordinamento` is greater.
    bool aggiungi_nuovo(const std::vector<Valore>& vettore, int colonna_ordinamento,
                        bool scrittura_crittato = true);
    // Removes patient `paziente`, found at row `indice_paziente` of the loaded table.
    bool eliminazione_definitiva(int indice_paziente, std::int32_t paziente);
    // Patient `numerocli` takes `nomepaziente` and `codicereg` into the columns named
    // "chiavenome" and "codicereg" (false when the layout has no such columns). A list kept in
    // order of the name key stays in that order: the record moves to the place of its new key.
    bool aggiorna_chiavenome(const std::string& nomepaziente, const std::string& codicereg,
                             std::int32_t numerocli);
    // Sets the record's status (prefix character 1) to "1", ceased.
    bool marca_cessato(std::int32_t paziente);
    // Sets the record's suspension mark (prefix character 2): "1" suspended, "0" not.
    bool modifica_sospensione(std::int32_t paziente, bool sospeso);

    // Adds the line `recordAggiunta` to the plain table file `nomefile` after copying the file to
    // `nomefilebak`: at the end, or with `ordinamento` before the first record whose key is
    // greater, the key being characters `inizioRec` (from 1) to `inizioRec` + `lungrec` − 1 (to
    // the end of the record when `lungrec` is 0). A record of another length than the file's is
    // refused. The table in memory is not touched, and no writer lock is taken: the file may be
    // any table's.
    bool AggiungiRecord(const std::string& nomefile, const std::string& nomefilebak,
                        const std::string& recordAggiunta, bool ordinamento, int inizioRec = 1,
                        int lungrec = 0);

    // The reason the last load could not write the plain copy of the patients' list (a load
    // that read every row is true all the same); empty when it was written or not wanted.
    const std::string& copia_piana_mancata() const { return copia_piana_mancata_; }

private:
    struct Campo {
        TipoColonna tipo;
        std::size_t inizio;
        std::size_t larghezza;
    };
    using CambioElenco = std::function<bool(std::vector<std::string>&)>;
    // Fields to write over a record line: the column, and its field in its width.
    using CampiNuovi = std::vector<std::pair<std::size_t, std::string>>;

    Esito carica_righe(const std::string& file, const OpzioniCarica& opzioni);
    bool caricata() const { return !prefissi_.empty(); }
    bool colonna_valida(int colonna) const { return colonna >= 1 && colonna <= colonne(); }
    std::size_t lunghezza_record() const;
    void prepara_colonne(std::size_t n);
    // `mappa` deciphers the line's characters (null for a plain line); `spazio` is its blank.
    void decodifica(std::string_view riga, std::size_t r,
                    const std::array<unsigned char, 256>* mappa, char spazio);
    void svuota_riga(std::size_t r);
    void costruisci_riga(std::size_t r, std::string& riga) const;
    void costruisci_secondario(int colonna);

    bool modifica_elenco(std::string_view operazione, bool crittato, bool eliminazione,
                         const CambioElenco& cambia);
    std::string riga_nuova(const std::vector<Valore>& valori) const;
    void mostra_struttura_errata(bool eliminazione);
    // The record line of patient `paziente`, or the end after saying he is not in the list.
    std::vector<std::string>::iterator trova_paziente(std::vector<std::string>& righe,
                                                      std::int32_t paziente);
    // The columns of `aggiornamento` that hold a value, as fields; nothing when a value does not
    // fit its column or would change the patient's number.
    std::optional<CampiNuovi> campi_nuovi(std::int32_t cliente,
                                          const std::vector<Valore>& aggiornamento) const;
    void scrivi_campi(std::string& riga, const CampiNuovi& campi) const;
    int colonna_di_nome(std::string_view nome) const;
    bool segna_stato(std::int32_t paziente, std::string_view operazione, std::size_t posizione,
                     char segno);

    Orologio& orologio_;
    PompaEventi& pompa_;
    Messaggi& messaggi_;

    std::vector<DescrizioneColonna> descrizione_;
    std::vector<Campo> campi_;
    std::vector<ColonnaDati> colonne_;  // 1..colonne(), each 1..N
    std::vector<std::string> prefissi_; // 1..N; empty when nothing is loaded
    int righe_caricate_ = 0;
    int righe_in_coda_ = 0;
    std::optional<ColonnaDati> secondario_valori_;
    std::vector<std::int32_t> secondario_righe_;
    std::vector<int> livelli_;

    std::string file_caricato_;
    OpzioniCarica opzioni_caricate_;
    std::string computer_;
    std::string copia_piana_mancata_;
};

} // namespace meravo
