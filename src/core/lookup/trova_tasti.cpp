// Keys in the look-up's box: the queue that takes them and the meaning of each.

#include "lookup/trova.h"
#include "services/messaggi.h"
#include "services/segnale.h"

namespace meravo {

namespace {

bool tasto_di_coda(Tasto tasto) {
    switch (tasto) {
    case Tasto::destra:
    case Tasto::esc:
    case Tasto::fine:
    case Tasto::inizio:
    case Tasto::invio:
    case Tasto::giu:
    case Tasto::su:
    case Tasto::sinistra:
    case Tasto::spazio:
        return true;
    default:
        return false;
    }
}

// Printable Windows-1252 characters, space included, up to 0xFE.
bool carattere_ammesso(unsigned char c) {
    return c >= 0x20 && c <= 0xFE;
}

std::string senza_ultimo(const std::string& testo) {
    return testo.substr(0, testo.size() - 1);
}

} // namespace

void trova::tasto_giu_testo(Tasto tasto, int modificatori) {
    if (!tasto_di_coda(tasto)) {
        return; // printable keys arrive as characters
    }
    accoda({static_cast<unsigned char>(tasto), false, modificatori});
    annuncia_testo({});
}

void trova::carattere_testo(char carattere) {
    const auto c = static_cast<unsigned char>(carattere);
    if (!carattere_ammesso(c)) {
        return;
    }
    // A typed space is marked as such: only its key acts, the character is then dropped.
    accoda({c, true, 0});
    annuncia_testo(std::string(1, carattere));
}

void trova::accoda(VoceCoda voce) {
    coda_.push_back(voce);
    if (!in_elaborazione_) {
        elabora_tasti();
    }
}

void trova::elabora_tasti() {
    da_occupato([] {});
}

// Runs `azione` and then every queued key, in order, with the busy flag up: handlers that run
// meanwhile (from the event pump of a search) only add to the queue.
void trova::da_occupato(const std::function<void()>& azione) {
    if (in_elaborazione_) {
        azione();
        return;
    }
    in_elaborazione_ = true;
    azione();
    while (!coda_.empty()) {
        const VoceCoda voce = coda_.front();
        coda_.pop_front();
        if (voce.carattere ? applica_carattere(voce) : applica_tasto(voce)) {
            notifica(eventi_.candidato_cambiato);
        }
    }
    in_elaborazione_ = false;
}

// Each handler returns whether the candidate may have changed, so that the container hears of it.
bool trova::applica_tasto(const VoceCoda& voce) {
    switch (static_cast<Tasto>(voce.codice)) {
    case Tasto::spazio:
        return spazio(voce.modificatori);
    case Tasto::sinistra:
        return indietro();
    case Tasto::destra:
        return avanti();
    case Tasto::giu:
        return scorri(1);
    case Tasto::su:
        return scorri(-1);
    case Tasto::inizio:
        return ricomincia();
    case Tasto::fine:
        chiudi_in_testo(Text_);
        return true;
    case Tasto::esc:
        notifica(eventi_.uscita);
        return true;
    case Tasto::invio:
        return invio(voce.modificatori);
    default:
        return false;
    }
}

// A space never enters the typed text: it fixes what is typed as the first term, or with
// nothing typed switches to searching anywhere.
bool trova::spazio(int modificatori) {
    if (modificatori & modificatori::shift) {
        return false;
    }
    const auto scritto = digitato();
    switch (modo_) {
    case ModoRicerca::sinistra:
        if (scritto.empty()) {
            modo_ = ModoRicerca::ovunque;
            return true;
        }
        modo_ = ModoRicerca::sinistra_e_ovunque;
        fisso_.caption = scritto;
        metti_nel_testo(testo_.substr(scritto.size()), 0);
        disponi_etichette();
        return true;
    case ModoRicerca::ovunque:
        if (!fisso_.caption.empty()) {
            messaggi_.avvisa("linea non praticata", Icona::nessuna);
            segnale_.beep();
            return false;
        }
        if (scritto.empty()) {
            segnale_.beep();
            return false;
        }
        modo_ = ModoRicerca::ovunque_e_ovunque;
        primo_libero_.caption = libero_.caption;
        fisso_.caption = scritto;
        libero_.caption.clear();
        metti_nel_testo(testo_.substr(scritto.size()), 0);
        disponi_etichette();
        return true;
    case ModoRicerca::sinistra_e_ovunque:
    case ModoRicerca::ovunque_e_ovunque:
        return true;
    }
    return false;
}

// Left takes back the last typed character; with nothing typed it leaves the mode.
bool trova::indietro() {
    const auto scritto = digitato();
    if (!scritto.empty()) {
        mostra_ricerca(cerca_nel_modo(senza_ultimo(scritto)), senza_ultimo(scritto));
        return true;
    }
    switch (modo_) {
    case ModoRicerca::sinistra:
        segnale_.beep();
        return false;
    case ModoRicerca::ovunque:
        modo_ = ModoRicerca::sinistra;
        return false;
    case ModoRicerca::sinistra_e_ovunque:
    case ModoRicerca::ovunque_e_ovunque: {
        // Back to the one-term mode, searching the confirmed term again.
        modo_ =
            modo_ == ModoRicerca::sinistra_e_ovunque ? ModoRicerca::sinistra : ModoRicerca::ovunque;
        const std::string primo = fisso_.caption;
        mostra_ricerca(cerca_nel_modo(primo), primo);
        return true;
    }
    }
    return false;
}

// Right accepts the next character of the completion as if typed. It is applied next, before
// any key typed after Right, and a space so taken counts as text, not as a mode switch.
bool trova::avanti() {
    if (inizio_selezione_ >= testo_.size()) {
        segnale_.beep();
        return true;
    }
    const char c = testo_[inizio_selezione_];
    if (carattere_ammesso(static_cast<unsigned char>(c))) {
        coda_.push_front({static_cast<unsigned char>(c), true, c == ' ' ? 1 : 0});
        annuncia_testo(std::string(1, c));
    }
    return true;
}

bool trova::scorri(int passo) {
    const bool al_limite = passo > 0 ? posizione_ >= quanti_ : posizione_ <= 1;
    if (al_limite) {
        segnale_.beep();
        return false;
    }
    posizione_ += passo;
    visualizza_digitato(digitato());
    return true;
}

// Home: the whole column again, from its first row.
bool trova::ricomincia() {
    modo_ = ModoRicerca::sinistra;
    mostra_ricerca(cerca_sinistra({}), {});
    return true;
}

bool trova::invio(int modificatori) {
    if (quanti_ < 1) {
        segnale_.beep(); // nothing to confirm, nothing to list
        return false;
    }
    // The drug table always wants the list, where several drugs can be picked.
    const bool farmaci = ritorna_nome_oggetto() == "farmaci_tab";
    if (((modificatori & modificatori::ctrl) || quanti_ == 1) && !farmaci) {
        chiudi_in_testo(Text_);
        notifica(eventi_.selezione_confermata);
        return true;
    }
    apri_lista();
    return true;
}

// A character is added to the typed text (the second term in the two-term modes) only if the
// search still finds something; otherwise it is refused with a beep and nothing changes.
bool trova::applica_carattere(const VoceCoda& voce) {
    if (voce.codice == ' ' && voce.modificatori == 0) {
        return false; // a typed space was handled by its key
    }
    const auto nuovo = digitato() + static_cast<char>(voce.codice);
    auto trovati = cerca_nel_modo(nuovo);
    if (trovati.quanti() < 1) {
        segnale_.beep();
        return false;
    }
    mostra_ricerca(std::move(trovati), nuovo);
    return true;
}

} // namespace meravo
