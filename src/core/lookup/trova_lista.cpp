// The look-up's drop-down list: single-column list box or multi-column view, the keys and the
// mouse on it, and how closing it confirms or abandons the choice.

#include "lookup/confronto.h"
#include "lookup/trova.h"

#include <charconv>

namespace meravo {

namespace {

// A date written dd/mm/yyyy rearranged as yyyymmdd, so that the text sorts in date order.
std::string data_ordinabile(std::string_view data) {
    const auto anno = data.size() >= 4 ? data.substr(data.size() - 4) : data;
    std::string risultato(anno);
    risultato += confronto::parte(data, 4, 2);
    risultato += confronto::parte(data, 1, 2);
    return risultato;
}

} // namespace

bool trova::lista_attiva() const {
    // While a search runs the lists are about to be replaced: input for the list then is stale.
    return lista_.visibile() && ricerche_in_corso_ == 0;
}

void trova::nascondi_liste() {
    lista_.nascondi();
    vista_.nascondi();
    // Shift can no longer be released on a hidden list: picking several entries ends here.
    scelta_multipla_ = false;
}

void trova::apri_lista() {
    ignora_click_ = true;
    chiusura_lista_ = true;
    if (modo_treeview_) {
        riempi_vista();
        focus_ = Focus::vista;
    } else {
        lista_.riempi(*lista_trovati_, quanti_);
        lista_.seleziona(posizione_ - 1);
        lista_.mostra();
        focus_ = Focus::lista;
    }
    testo_abilitato_ = false;
    ignora_click_ = false;
}

// One row per match: the cells the table gives for the configured columns, then the match's
// number ("puntatore") and a sortable form of the second cell, a date ("dataord").
void trova::riempi_vista() {
    vista_.svuota();
    trovati_vista_ = lista_trovati_;
    for (const auto& titolo : titoli_treeview_) {
        vista_.aggiungi_colonna(titolo);
    }
    vista_.aggiungi_colonna("puntatore");
    vista_.aggiungi_colonna("dataord");
    for (std::int32_t k = 1; k <= quanti_; ++k) {
        std::vector<std::string> celle;
        for (int colonna : colonne_treeview_) {
            celle.push_back(
                oggetto_ ? oggetto_->dati_diretto(colonna, puntatori_[static_cast<std::size_t>(k)])
                               .value_or(std::string{})
                         : std::string{});
        }
        const std::string seconda = celle.size() > 1 ? celle[1] : std::string{};
        celle.push_back(std::to_string(k));
        celle.push_back(data_ordinabile(seconda));
        vista_.aggiungi_riga(std::move(celle));
    }
    vista_.mostra();
}

void trova::setta_treeview(std::vector<int> colonne, std::vector<std::string> titoli) {
    colonne_treeview_ = std::move(colonne);
    titoli_treeview_ = std::move(titoli);
}

std::string trova::in_selezione_testo() const {
    return lista_.visibile() ? lista_.testo_selezionato() : std::string{};
}

void trova::reset_selezione_testo() {
    lista_.nascondi();
    scelta_multipla_ = false;
    testo_abilitato_ = true;
}

void trova::rimetti_focus() {
    focus_ = lista_.visibile() ? Focus::lista : Focus::testo;
}

void trova::chiudi_lista() {
    // As Escape on the list, shown or not: whoever closes it to start over finds the search back
    // on the whole column either way. Not while a search is replacing the lists.
    if (ricerche_in_corso_ > 0) {
        return;
    }
    abbandona_lista();
    annuncia_testo(lista_.testo_selezionato());
}

// Escape on the list: the choice is abandoned and the search starts again from the whole column.
void trova::abbandona_lista() {
    nascondi_liste();
    testo_abilitato_ = true;
    focus_ = Focus::testo;
    chiusura_lista_ = true;
    da_occupato([this] {
        modo_ = ModoRicerca::sinistra;
        mostra_ricerca(cerca_sinistra({}), {});
        notifica(eventi_.candidato_cambiato);
    });
}

// The list closes and `scelto` becomes the box's text and the new search. The events follow,
// before any key that was typed meanwhile.
void trova::conferma_da_lista(std::string scelto, bool passo_esterno, bool ctrl) {
    nascondi_liste();
    testo_abilitato_ = true;
    focus_ = Focus::testo;
    chiusura_lista_ = true;
    da_occupato([&] {
        chiudi_in_testo(std::move(scelto));
        if (!passo_esterno) {
            notifica(eventi_.selezione_confermata);
            return;
        }
        if (proprieta_.gestione_enter_esterna || ctrl) {
            notifica(eventi_.selezione_confermata);
        }
        notifica(eventi_.candidato_cambiato);
        notifica(eventi_.selezione_confermata);
    });
}

void trova::tasto_giu_lista(Tasto tasto, int modificatori) {
    if (!lista_attiva()) {
        return;
    }
    ignora_click_ = true;
    bool annuncia = true;
    switch (tasto) {
    case Tasto::maiuscole:
        // Held Shift repeats its key: only the first press saves the text to restore.
        if (!scelta_multipla_) {
            tag_testo_ = Text_;
            scelta_multipla_ = true;
        }
        annuncia = false;
        break;
    case Tasto::inizio:
        lista_.seleziona(0);
        notifica(eventi_.candidato_cambiato);
        break;
    case Tasto::fine:
        lista_.seleziona(static_cast<int>(lista_.voci().size()) - 1);
        notifica(eventi_.candidato_cambiato);
        break;
    case Tasto::giu:
    case Tasto::su:
        lista_.sposta(tasto == Tasto::giu ? 1 : -1);
        notifica(eventi_.candidato_cambiato);
        break;
    case Tasto::esc:
        abbandona_lista();
        break;
    case Tasto::invio:
        if (modificatori & modificatori::shift) {
            // Several entries can be confirmed in a row while Shift is held.
            Text(lista_.testo_selezionato());
            notifica(eventi_.candidato_cambiato);
            notifica(eventi_.selezione_confermata);
        } else {
            conferma_da_lista(lista_.testo_selezionato(), true,
                              (modificatori & modificatori::ctrl) != 0);
        }
        break;
    default:
        annuncia = false;
        break;
    }
    ignora_click_ = false;
    if (annuncia) {
        annuncia_testo(lista_.testo_selezionato());
    }
}

void trova::tasto_su_lista(Tasto tasto, int modificatori) {
    static_cast<void>(modificatori);
    // Only a Shift whose press was seen on the list has a text to give back.
    if (tasto != Tasto::maiuscole || !scelta_multipla_) {
        return;
    }
    Text(tag_testo_);
    scelta_multipla_ = false;
}

void trova::click_lista(int indice) {
    if (!lista_attiva()) {
        return;
    }
    if (ignora_click_) {
        ignora_click_ = false;
        return;
    }
    lista_.seleziona(indice);
    notifica(eventi_.candidato_cambiato);
    annuncia_testo(lista_.testo_selezionato());
}

void trova::doppio_click_lista(int indice) {
    if (!lista_attiva()) {
        return;
    }
    lista_.seleziona(indice);
    if (scelta_multipla_) {
        Text(lista_.testo_selezionato());
        notifica(eventi_.candidato_cambiato);
        notifica(eventi_.selezione_confermata);
        return;
    }
    conferma_da_lista(lista_.testo_selezionato(), false, false);
}

void trova::tasto_giu_controllo(Tasto tasto, int modificatori) {
    static_cast<void>(modificatori);
    if (!vista_.visibile() || ricerche_in_corso_ > 0) {
        return;
    }
    if (tasto == Tasto::invio) {
        scegli_riga_vista(vista_.selezionata());
    } else if (tasto == Tasto::esc) {
        nascondi_liste();
        testo_abilitato_ = true;
        focus_ = Focus::testo;
        chiusura_lista_ = true;
        notifica(eventi_.candidato_cambiato);
    }
}

void trova::seleziona_riga_vista(int riga) {
    vista_.seleziona(riga);
}

// Choosing a row reads its match number from the "puntatore" cell, wherever the configured
// columns put it, so the choice holds whatever the number of titles. The number is read against
// the matches the list shows; the search that follows the choice sets the position.
void trova::scegli_riga_vista(int riga) {
    if (!vista_.visibile() || ricerche_in_corso_ > 0) {
        return;
    }
    vista_.seleziona(riga);
    const auto cella = vista_.cella_selezionata(colonne_treeview_.size());
    const auto mostrati = static_cast<std::int32_t>(trovati_vista_->size()) - 1;
    std::int32_t k = 0;
    const auto [fine, errore] = std::from_chars(cella.data(), cella.data() + cella.size(), k);
    if (errore != std::errc{} || fine != cella.data() + cella.size() || k < 1 || k > mostrati) {
        return;
    }
    std::string scelto = (*trovati_vista_)[static_cast<std::size_t>(k)];
    nascondi_liste();
    testo_abilitato_ = true;
    focus_ = Focus::testo;
    da_occupato([&] {
        chiudi_in_testo(std::move(scelto));
        notifica(eventi_.selezione_confermata);
    });
}

// The second column holds dates as written; it sorts through its sortable copy, the last column.
void trova::click_intestazione_vista(int colonna) {
    const auto colonne = vista_.intestazioni().size();
    if (!vista_.visibile() || colonna < 0 || static_cast<std::size_t>(colonna) >= colonne) {
        return;
    }
    vista_.ordina(colonna == 1 ? colonne - 1 : static_cast<std::size_t>(colonna));
}

} // namespace meravo
