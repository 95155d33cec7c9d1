// What the look-up shows: the candidate in the box, the captions before it, the mode
// indicator's colours.

#include "lookup/confronto.h"
#include "lookup/trova.h"

#include <algorithm>

namespace meravo {

std::string trova::digitato() const {
    return testo_.substr(0, std::min(inizio_selezione_, testo_.size()));
}

// The box shows `testo` with the cursor after `cursore` characters and the rest selected, so
// the completion reads as selected text; the mouse can only ever put the cursor back there.
void trova::metti_nel_testo(std::string testo, std::size_t cursore) {
    testo_ = std::move(testo);
    inizio_selezione_ = std::min(cursore, testo_.size());
    lunghezza_selezione_ = testo_.size() - inizio_selezione_;
    posizione_cursore_ = inizio_selezione_;
}

void trova::disponi_etichette() {
    for (auto* e : {&primo_libero_, &fisso_, &libero_}) {
        e->visibile = !e->caption.empty();
    }
}

void trova::svuota_etichette() {
    for (auto* e : {&primo_libero_, &fisso_, &libero_}) {
        e->caption.clear();
        e->visibile = false;
    }
}

void trova::visualizza(std::string_view trova_1, std::string_view trova_2) {
    const auto candidati = static_cast<std::int32_t>(lista_trovati_->size()) - 1;
    if (posizione_ < 1 || posizione_ > candidati) {
        // No candidate to show (nothing matched): the box keeps its text, the captions go.
        svuota_etichette();
        return;
    }
    const std::string e = (*lista_trovati_)[static_cast<std::size_t>(posizione_)];
    const bool uno = quanti_ == 1;
    sfondo_legenda_ = uno ? proprieta_.BackColorUno : proprieta_.BackColorMolti;
    testo_legenda_ = uno ? proprieta_.ForeColorUno : proprieta_.ForeColorMolti;
    svuota_etichette();

    const bool m = InputMinMaiuscIndifferente();
    const auto t1 = confronto::preparato(trova_1, m);
    const auto t2 = confronto::preparato(trova_2, m);
    // A term that is not where the search put it cannot occur with the lists the searches
    // build; should it happen, the entry is shown from where the term was expected.
    switch (modo_) {
    case ModoRicerca::sinistra:
        metti_nel_testo(e, t1.size());
        break;
    case ModoRicerca::ovunque: {
        const auto p = std::max<std::size_t>(confronto::posizione(e, t1, 1, m), 1);
        libero_.caption = confronto::parte(e, 1, p - 1);
        metti_nel_testo(std::string(confronto::parte(e, p)), t1.size());
        break;
    }
    case ModoRicerca::sinistra_e_ovunque: {
        fisso_.caption = std::string(trova_1);
        const auto da = t1.size() + 1;
        const auto q = std::max(confronto::posizione(e, t2, da, m), std::min(da, e.size() + 1));
        libero_.caption = confronto::parte(e, da, q - std::min(q, da));
        metti_nel_testo(std::string(confronto::parte(e, q)), t2.size());
        break;
    }
    case ModoRicerca::ovunque_e_ovunque: {
        const auto p = std::max<std::size_t>(confronto::posizione(e, t1, 1, m), 1);
        primo_libero_.caption = confronto::parte(e, 1, p - 1);
        fisso_.caption = std::string(trova_1);
        const auto q = confronto::posizione(e, t2, p + fisso_.caption.size(), m);
        if (q > 0) {
            const auto da = p + t1.size();
            libero_.caption = confronto::parte(e, da, q - std::min(q, da));
            metti_nel_testo(std::string(confronto::parte(e, q)), t2.size());
        }
        break;
    }
    }
    Text(e);
    posizione_cursore_ = inizio_selezione_;
    disponi_etichette();
}

// One-term modes show the typed text as the term; two-term modes show it after `fisso`.
void trova::visualizza_digitato(std::string_view digitato) {
    if (a_due_termini(modo_)) {
        const std::string primo = fisso_.caption;
        visualizza(primo, digitato);
    } else {
        visualizza(digitato, "");
    }
}

// The candidate is taken whole into the box and the search starts again from it in prefix
// mode: the way every confirmation leaves the control.
void trova::chiudi_in_testo(std::string testo) {
    svuota_etichette();
    modo_ = ModoRicerca::sinistra;
    metti_nel_testo(std::move(testo), 0);
    ricerca_da_testo();
}

void trova::mouse_su_testo() {
    inizio_selezione_ = std::min(posizione_cursore_, testo_.size());
    lunghezza_selezione_ = testo_.size() - inizio_selezione_;
}

bool trova::ridimensionato() {
    if (chiusura_lista_) {
        chiusura_lista_ = false;
        return false;
    }
    modo_ = ModoRicerca::sinistra;
    for (auto* e : {&primo_libero_, &fisso_, &libero_}) {
        e->visibile = false;
    }
    return true;
}

} // namespace meravo
