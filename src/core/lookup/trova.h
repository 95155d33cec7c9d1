#pragma once

#include "lookup/elenco_colonne.h"
#include "lookup/lista_tendina.h"
#include "lookup/modo_ricerca.h"
#include "lookup/proprieta_trova.h"
#include "lookup/tabella_consultabile.h"
#include "lookup/tasto.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class Messaggi;
class PompaEventi;
class Segnale;

// The search-as-you-type look-up, without its window. It loads one column of a table and
// narrows it as the user types: the box shows the typed part followed by the rest of one
// candidate, selected; three captions before the box show the confirmed first term and the
// parts of the candidate that lie before the typed text. Keys never edit the box: they are
// queued and applied one at a time, so that keys typed while a long search lets window events
// run are applied afterwards, in order, to the text they were typed against.
//
// Lists are numbered from 1 with index 0 holding nothing: `valori_colonna` (the column),
// `lista_trovati` (the current matches, in column order) and `puntatori` (for each match, its
// row in the column).
//
// The widget forwards input to the handlers below and repaints from the read-back state; it
// measures the captions and lays them out in the order primo_libero, fisso, libero, box.
class trova {
public:
    struct Eventi {
        std::function<void()> selezione_confermata;
        std::function<void()> candidato_cambiato;
        std::function<void()> uscita;
        // Raised only when the bound table is one of the diagnosis tables (named "icdix",
        // "icdix_bpco" or "icdix_procedure"), whose container follows every key.
        std::function<void(std::string& testo)> testo_digitato;
    };

    struct Etichetta {
        std::string caption;
        bool visibile = false;
    };

    // First and last row of a run of rows; 0 and 0 for none.
    struct Intervallo {
        std::int32_t inferiore = 0;
        std::int32_t superiore = 0;
        bool operator==(const Intervallo&) const = default;
    };

    enum class Focus { testo, lista, vista };

    // The properties are those the container saved (or their defaults).
    trova(PompaEventi& pompa, Segnale& segnale, Messaggi& messaggi, ProprietaTrova proprieta = {});

    Eventi& eventi() { return eventi_; }

    // --- Binding and searches ---

    // Binds to `oggettox` and loads column `riferimento`, then shows the first candidate that
    // begins with `da_ricercare`. `altezza` is the list height in twips (none: the control's own
    // height). False, with nothing changed, when the table has no such column. The table must
    // outlive the binding: the look-up asks it for names and cells later on.
    bool inizializza(const TabellaConsultabile& oggettox, int riferimento = 1,
                     std::string_view da_ricercare = {}, std::optional<double> altezza = {},
                     std::string_view chiamante = {});
    // The start-up search again over the column already loaded. Ignored while the user holds
    // Shift on the open list to pick several entries.
    void inizializza_senza_caricare(std::string_view da_ricercare = {},
                                    std::optional<double> altezza = {});

    // The four searches fill `lista_trovati`, `puntatori` and `quanti`; they do not display.
    void sinistra(std::string_view chiave_x_dupli);
    void ovunque(std::string_view chiave_x_dupli);
    void sinistraEovunque(std::string_view chiave1, std::string_view chiave2);
    void ovunqueEovunque(std::string_view chiave1, std::string_view chiave2);
    // The run of rows that begin with the key (compared as given), by bisection over the sorted
    // column down to windows of 50 rows for the first row and 10 rows for the last.
    Intervallo limiti(std::string_view chiave_x_dupli);

    // Shows candidate `posizione` for the given first and second term.
    void visualizza(std::string_view trova_1, std::string_view trova_2);
    // A prefix search on the box's whole text, shown from its first match.
    void ricerca_da_testo();
    // The modal start: a prefix search on the box's text, shown. Disabling the container's
    // other controls belongs to the container.
    void gestione();

    std::int32_t ritorna_quanti_trovati() const;
    std::vector<std::int32_t> risultato_puntatori() const { return puntatori_; }
    std::string ritorna_nome_oggetto() const;

    // --- Drop-down list, as the container may drive it ---

    bool in_selezione() const { return lista_.visibile(); }
    std::string in_selezione_testo() const;
    void reset_selezione_testo();
    void rimetti_focus();
    bool lista_visibile() const { return lista_.visibile(); }
    // Closes the list as Escape on it does: the search starts again from the whole column.
    void chiudi_lista();
    void lista_treeview(bool stato) { modo_treeview_ = stato; }
    // Column numbers asked of the table for each row of the multi-column list, and their titles.
    void setta_treeview(std::vector<int> colonne, std::vector<std::string> titoli);

    // --- Input, as the platform delivers it ---
    // List items and view rows are numbered from 0, as the widgets number them.

    void tasto_giu_testo(Tasto tasto, int modificatori);
    void carattere_testo(char carattere);
    void mouse_su_testo();
    void click_lista(int indice);
    void doppio_click_lista(int indice);
    void tasto_giu_lista(Tasto tasto, int modificatori);
    void tasto_su_lista(Tasto tasto, int modificatori);
    // Keys the control sees before its parts; they act only while the multi-column list shows.
    void tasto_giu_controllo(Tasto tasto, int modificatori);
    void seleziona_riga_vista(int riga);
    void scegli_riga_vista(int riga);
    void click_intestazione_vista(int colonna);
    // The control was resized. False when the resize came from opening or closing the list;
    // otherwise the mode goes back to "<", the captions are hidden, and the widget re-lays out.
    bool ridimensionato();

    // --- State the widget mirrors ---

    const std::string& testo() const { return testo_; }
    std::size_t inizio_selezione() const { return inizio_selezione_; }
    std::size_t lunghezza_selezione() const { return lunghezza_selezione_; }
    bool testo_abilitato() const { return testo_abilitato_; }
    Focus focus() const { return focus_; }
    ModoRicerca modo() const { return modo_; }
    std::string_view descrittore_ricerche() const { return simbolo(modo_); }
    const Etichetta& primo_libero() const { return primo_libero_; }
    const Etichetta& fisso() const { return fisso_; }
    const Etichetta& libero() const { return libero_; }
    std::uint32_t sfondo_legenda() const { return sfondo_legenda_; }
    std::uint32_t testo_legenda() const { return testo_legenda_; }
    const ListaTendina& lista() const { return lista_; }
    const ElencoColonne& vista() const { return vista_; }
    // True while a list shows: the control is then `altezza_lista` high, else one line.
    bool espanso() const { return lista_.visibile() || vista_.visibile(); }
    std::optional<double> altezza_lista() const { return altezza_lista_; }

    const std::vector<std::string>& valori_colonna() const { return *valori_colonna_; }
    const std::vector<std::string>& lista_trovati() const { return *lista_trovati_; }
    const std::vector<std::int32_t>& puntatori() const { return puntatori_; }
    std::int32_t quanti() const { return quanti_; }
    std::int32_t posizione() const { return posizione_; }
    std::size_t posizione_cursore() const { return posizione_cursore_; }
    bool in_elaborazione() const { return in_elaborazione_; }

    // --- Properties ---

    const std::string& Text() const { return Text_; }
    void Text(std::string valore);
    bool InputMinMaiuscIndifferente() const { return proprieta_.InputMinMaiuscIndifferente; }
    void InputMinMaiuscIndifferente(bool valore);
    bool Enabled() const { return proprieta_.Enabled; }
    void Enabled(bool valore);
    bool gestione_enter_esterna() const { return proprieta_.gestione_enter_esterna; }
    void gestione_enter_esterna(bool valore);
    std::string lista_testo() const { return lista_.Text(); }
    void lista_testo(std::string valore);
    // The values to save, read back from the parts they apply to.
    ProprietaTrova proprieta() const;
    bool proprieta_modificate() const { return proprieta_modificate_; }

private:
    struct VoceCoda {
        unsigned char codice; // key code, or the typed character
        bool carattere;       // a typed character rather than a key
        int modificatori;     // key: Shift/Ctrl/Alt; character: 1 for a space taken by Right
    };

    // A search result. The list is shared, so that "every row" costs no copy of the column.
    struct Trovati {
        std::shared_ptr<const std::vector<std::string>> lista;
        std::vector<std::int32_t> puntatori;
        std::int32_t quanti() const { return static_cast<std::int32_t>(puntatori.size()) - 1; }
    };

    // Searches (they build their result aside, so that nothing that runs in the event pump
    // can find the lists half written).
    Trovati cerca_sinistra(std::string_view chiave);
    Trovati cerca_ovunque(std::string_view chiave);
    Trovati cerca_sinistra_e_ovunque(std::string_view chiave1, std::string_view chiave2);
    Trovati cerca_ovunque_e_ovunque(std::string_view chiave1, std::string_view chiave2);
    Trovati cerca_nel_modo(std::string_view digitato);
    Trovati tutta_la_colonna() const;
    std::shared_ptr<const std::vector<std::string>> colonna_in_maiuscolo();
    void adotta(Trovati trovati);
    void mostra_ricerca(Trovati trovati, std::string_view digitato);
    void avvia(std::string_view da_ricercare, std::optional<double> altezza);

    // Display.
    void metti_nel_testo(std::string testo, std::size_t cursore);
    void disponi_etichette();
    void svuota_etichette();
    void chiudi_in_testo(std::string testo);
    std::string digitato() const;
    void visualizza_digitato(std::string_view digitato);

    // Keys in the box.
    void accoda(VoceCoda voce);
    void elabora_tasti();
    void da_occupato(const std::function<void()>& azione);
    bool applica_tasto(const VoceCoda& voce);
    bool applica_carattere(const VoceCoda& voce);
    bool spazio(int modificatori);
    bool indietro();
    bool avanti();
    bool scorri(int passo);
    bool ricomincia();
    bool invio(int modificatori);

    // List.
    void apri_lista();
    void riempi_vista();
    void nascondi_liste();
    void abbandona_lista();
    void conferma_da_lista(std::string scelto, bool passo_esterno, bool ctrl);
    bool lista_attiva() const;

    // Events.
    bool tabella_di_diagnosi() const;
    void annuncia_testo(std::string testo);
    static void notifica(const std::function<void()>& evento);

    PompaEventi& pompa_;
    Segnale& segnale_;
    Messaggi& messaggi_;
    Eventi eventi_;
    ProprietaTrova proprieta_;
    bool proprieta_modificate_ = false;

    const TabellaConsultabile* oggetto_ = nullptr;
    // Shared so that a search keeps reading the column it started on even if a re-binding
    // happens while it lets events run.
    std::shared_ptr<const std::vector<std::string>> valori_colonna_;
    // The column in upper case, made when a search that ignores case first needs it.
    std::shared_ptr<const std::vector<std::string>> colonna_maiuscola_;
    std::shared_ptr<const std::vector<std::string>> lista_trovati_;
    std::vector<std::int32_t> puntatori_ = std::vector<std::int32_t>(1);
    std::int32_t quanti_ = 0;
    std::int32_t posizione_ = 1;
    std::optional<double> altezza_lista_;
    std::size_t posizione_cursore_ = 0;
    std::string Text_;

    std::string testo_;
    std::size_t inizio_selezione_ = 0;
    std::size_t lunghezza_selezione_ = 0;
    bool testo_abilitato_ = true;
    std::string tag_testo_;
    Focus focus_ = Focus::testo;
    ModoRicerca modo_ = ModoRicerca::sinistra;
    Etichetta primo_libero_;
    Etichetta fisso_;
    Etichetta libero_;
    std::uint32_t sfondo_legenda_;
    std::uint32_t testo_legenda_;

    ListaTendina lista_;
    ElencoColonne vista_;
    // The matches the multi-column list was filled from: its rows' numbers point into these,
    // even when keys queued before it opened have narrowed the search since.
    std::shared_ptr<const std::vector<std::string>> trovati_vista_;
    bool modo_treeview_ = false;
    std::vector<int> colonne_treeview_;
    std::vector<std::string> titoli_treeview_;

    std::deque<VoceCoda> coda_;
    bool in_elaborazione_ = false;
    int ricerche_in_corso_ = 0;
    bool ignora_click_ = false;
    bool chiusura_lista_ = false;
    bool scelta_multipla_ = false;
};

} // namespace meravo
