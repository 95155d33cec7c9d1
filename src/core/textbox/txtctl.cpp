#include "textbox/txtctl.h"

#include "services/messaggi.h"
#include "textbox/data_digitata.h"

#include <algorithm>
#include <cstdlib>

namespace meravo {

namespace {

constexpr std::string_view titolo_date = "Ostrel 2";
constexpr std::string_view msg_formato_ggmmaaaa =
    "Verificare che la data sia stata digitata nel formato ggmmaaaa senza nessun separatore";
constexpr std::string_view msg_formato_data = "Verificare il formato della data";
constexpr std::string_view msg_solo_numeri = "Il campo data accetta solo numeri";
constexpr std::string_view msg_separatore = "Il separatore decimale \xE8 ";

constexpr int lunghezza_data_digitata = 8;
constexpr int lunghezza_data_scritta = 10;

bool cifra(int c) {
    return c >= '0' && c <= '9';
}

} // namespace

Txtctl::Txtctl(Messaggi& messaggi, char separatore_decimale)
    : messaggi_(messaggi), separatore_decimale_(separatore_decimale) {}

// --- properties ---------------------------------------------------------------------------

void Txtctl::Text(std::string_view valore) {
    cambia_testo(valore, static_cast<int>(valore.size()));
}

void Txtctl::Tipodati(int valore) {
    Tipodati_ = valore;
    if (valore == 1) {
        MaxLength_ = lunghezza_data_scritta;
    } else if (valore == 0 || valore == 2) {
        MaxLength_ = 0;
    }
}

int Txtctl::SelStart() const {
    return std::min(ancora_, cursore_);
}

int Txtctl::SelLength() const {
    return std::abs(cursore_ - ancora_);
}

std::string Txtctl::SelText() const {
    return testo_.substr(static_cast<std::size_t>(SelStart()),
                         static_cast<std::size_t>(SelLength()));
}

void Txtctl::SelText(std::string_view valore) {
    sostituisci_selezione(valore, true);
}

void Txtctl::SelStart(int valore) {
    const int lunghezza = static_cast<int>(testo_.size());
    ancora_ = cursore_ = std::clamp(valore, 0, lunghezza);
}

void Txtctl::SelLength(int valore) {
    const int lunghezza = static_cast<int>(testo_.size());
    ancora_ = SelStart();
    cursore_ = std::clamp(ancora_ + std::max(valore, 0), ancora_, lunghezza);
}

void Txtctl::seleziona(int ancora, int cursore) {
    const int lunghezza = static_cast<int>(testo_.size());
    ancora_ = std::clamp(ancora, 0, lunghezza);
    cursore_ = std::clamp(cursore, 0, lunghezza);
}

// --- focus, clicks, key-up ------------------------------------------------------------------

void Txtctl::prende_fuoco() {
    ha_fuoco_ = true;
    separatore_data_ = '/';
    testo_ricordato_ = testo_;
    if (Tipodati_ == 1) {
        if (data_riconosciuta(testo_)) {
            MaxLength_ = lunghezza_data_scritta;
            const auto primo =
                std::find_if(testo_.begin(), testo_.end(), [](char c) { return !cifra(c); });
            separatore_data_ = *primo;
        } else {
            MaxLength_ = lunghezza_data_digitata;
        }
    }
    ancora_ = 0;
    cursore_ = static_cast<int>(testo_.size());
}

void Txtctl::perde_fuoco() {
    ha_fuoco_ = false;
    if (Tipodati_ == 1) {
        verifica_data();
    }
}

void Txtctl::clic() {
    // A written-out date is replaced as a whole: a click that left the caret inside it would
    // leave a box that refuses every key, so the click takes the whole date.
    if (Tipodati_ == 1 && static_cast<int>(testo_.size()) == lunghezza_data_scritta) {
        ancora_ = 0;
        cursore_ = lunghezza_data_scritta;
    }
    if (Click) {
        Click();
    }
}

void Txtctl::doppio_clic() {
    if (DblClick) {
        DblClick();
    }
}

void Txtctl::rilascia_tasto(int KeyCode, int Shift) {
    if (KeyUp) {
        KeyUp(KeyCode, Shift);
    }
}

// --- the date check -------------------------------------------------------------------------

void Txtctl::verifica_data() {
    if (testo_.empty()) {
        return;
    }
    if (const auto data = data_riconosciuta(testo_)) {
        // A date read from a shorter form (1/2/10, 1-2-2010) is written out in full: whoever
        // reads Text counts on gg/mm/aaaa and would take anything else for no date at all.
        if (*data != testo_) {
            MaxLength_ = lunghezza_data_scritta;
            cambia_testo(*data, lunghezza_data_scritta);
        }
        return;
    }
    const auto lunghezza = testo_.size();
    if (lunghezza < lunghezza_data_digitata) {
        data_da_correggere(msg_formato_ggmmaaaa);
        return;
    }
    if (lunghezza == lunghezza_data_digitata) {
        const auto candidata =
            testo_.substr(0, 2) + '/' + testo_.substr(2, 2) + '/' + testo_.substr(4, 4);
        if (data_riconosciuta(candidata) == candidata) {
            MaxLength_ = lunghezza_data_scritta;
            cambia_testo(candidata, lunghezza_data_scritta);
            return;
        }
        // Eight digits are the right form; with a year that does not begin with 0 only the day
        // or the month can be wrong, and the doctor is told so rather than to mind the format.
        if (testo_[4] != '0' && std::all_of(testo_.begin(), testo_.end(), cifra)) {
            data_da_correggere("La data " + candidata + " non esiste: verificare giorno e mese.");
            return;
        }
    }
    data_da_correggere(msg_formato_data);
}

void Txtctl::data_da_correggere(std::string_view messaggio) {
    respinta_ = true;
    messaggi_.avvisa(messaggio, Icona::esclamazione, titolo_date);
    if (!ha_fuoco_ && riprendi_fuoco) {
        riprendi_fuoco();
    }
}

void Txtctl::adatta_MaxLength_data() {
    MaxLength_ = data_riconosciuta(testo_) ? lunghezza_data_scritta : lunghezza_data_digitata;
}

void Txtctl::rimetti_testo_ricordato() {
    const int fine = static_cast<int>(testo_ricordato_.size());
    cambia_testo(testo_ricordato_, fine);
}

// --- key-press --------------------------------------------------------------------------------

int Txtctl::digita(int KeyAscii) {
    if (KeyPress) {
        KeyPress(KeyAscii);
    }
    if (KeyAscii == 0) {
        return 0;
    }
    switch (Tipodati_) {
    case 0:
        KeyAscii = controlla_testo_libero(KeyAscii);
        break;
    case 1:
        KeyAscii = controlla_data(KeyAscii);
        break;
    case 2:
        KeyAscii = controlla_numero(KeyAscii);
        break;
    default:
        break;
    }
    if (KeyAscii != 0) {
        applica_carattere(KeyAscii);
    }
    return KeyAscii;
}

int Txtctl::controlla_testo_libero(int KeyAscii) {
    if (KeyAscii == vbKeyReturn) {
        if (Conferma) {
            Conferma();
        }
        return 0;
    }
    if (KeyAscii == vbKeyEscape) {
        rimetti_testo_ricordato();
    }
    return KeyAscii;
}

int Txtctl::controlla_data(int KeyAscii) {
    if (cifra(KeyAscii)) {
        adatta_MaxLength_data();
        return KeyAscii;
    }
    switch (KeyAscii) {
    case vbKeyReturn:
        verifica_data();
        if (Conferma) {
            Conferma();
        }
        return KeyAscii;
    case vbKeyBack:
    case vbKeyTab:
        // A written-out date is replaced as a whole, never edited a character at a time.
        if (static_cast<int>(testo_.size()) == lunghezza_data_scritta &&
            SelLength() < lunghezza_data_scritta) {
            return 0;
        }
        return KeyAscii;
    case vbKeyEscape:
        rimetti_testo_ricordato();
        return KeyAscii;
    default:
        messaggi_.avvisa(msg_solo_numeri, Icona::esclamazione, titolo_date);
        return 0;
    }
}

int Txtctl::controlla_numero(int KeyAscii) {
    if (KeyAscii == separatore_decimale_) {
        return testo_.find(separatore_decimale_) == std::string::npos ? KeyAscii : 0;
    }
    if (cifra(KeyAscii) || KeyAscii == '+' || KeyAscii == '-' || KeyAscii == vbKeyBack ||
        KeyAscii == vbKeyTab) {
        return KeyAscii;
    }
    if (KeyAscii == '.' || KeyAscii == ',') {
        messaggi_.mostra(std::string(msg_separatore) + separatore_decimale_, titolo_predefinito,
                         Icona::nessuna, Pulsanti::ok);
        return 0;
    }
    if (KeyAscii == vbKeyEscape) {
        rimetti_testo_ricordato();
        return KeyAscii;
    }
    messaggi_.avvisa(msg_solo_numeri, Icona::esclamazione, titolo_date);
    return 0;
}

// --- key-down -------------------------------------------------------------------------------

int Txtctl::premi_tasto(int KeyCode, int Shift) {
    if (KeyDown) {
        KeyDown(KeyCode, Shift);
    }
    if (KeyCode == 0) {
        return 0;
    }
    if (Tipodati_ == 1 && KeyCode == vbKeyDelete &&
        static_cast<int>(testo_.size()) == lunghezza_data_scritta &&
        SelLength() < lunghezza_data_scritta) {
        return 0;
    }
    applica_tasto(KeyCode, Shift);
    return KeyCode;
}

// --- paste ----------------------------------------------------------------------------------

bool Txtctl::carattere_numerico(char c) const {
    return cifra(c) || c == '+' || c == '-' || c == separatore_decimale_;
}

void Txtctl::incolla(std::string_view testo) {
    if (proprieta_.Locked) {
        return;
    }
    if (Tipodati_ == 1 || Tipodati_ == 2) {
        const bool accettabile =
            Tipodati_ == 1
                ? std::all_of(testo.begin(), testo.end(), [](char c) { return cifra(c); })
                : std::all_of(testo.begin(), testo.end(),
                              [this](char c) { return carattere_numerico(c); });
        if (!accettabile) {
            messaggi_.avvisa(msg_solo_numeri, Icona::esclamazione, titolo_date);
            return;
        }
        if (Tipodati_ == 1) {
            adatta_MaxLength_data();
        } else {
            // One decimal separator at most, as when typing.
            auto risultato = testo_;
            risultato.replace(static_cast<std::size_t>(SelStart()),
                              static_cast<std::size_t>(SelLength()), testo);
            if (std::count(risultato.begin(), risultato.end(), separatore_decimale_) > 1) {
                return;
            }
        }
    }
    sostituisci_selezione(testo, true);
}

// --- editing as the platform's text box does it ---------------------------------------------

void Txtctl::applica_carattere(int KeyAscii) {
    if (proprieta_.Locked) {
        return;
    }
    if (KeyAscii == vbKeyBack) {
        if (SelLength() == 0 && cursore_ > 0) {
            ancora_ = cursore_ - 1;
        }
        sostituisci_selezione("", false);
        return;
    }
    // Enter, Escape, Tab and the Ctrl combinations put nothing into a single-line box.
    if (KeyAscii < ' ' || KeyAscii == 127) {
        return;
    }
    const char carattere = static_cast<char>(KeyAscii);
    sostituisci_selezione(std::string_view(&carattere, 1), true);
}

void Txtctl::applica_tasto(int KeyCode, int Shift) {
    const int lunghezza = static_cast<int>(testo_.size());
    const bool estendi = (Shift & vbShiftMask) != 0;
    int nuovo = cursore_;
    switch (KeyCode) {
    case vbKeyDelete:
        if (proprieta_.Locked) {
            return;
        }
        if (SelLength() == 0 && cursore_ < lunghezza) {
            ancora_ = cursore_ + 1;
        }
        sostituisci_selezione("", false);
        return;
    case vbKeyLeft:
        nuovo = !estendi && SelLength() > 0 ? SelStart() : std::max(cursore_ - 1, 0);
        break;
    case vbKeyRight:
        nuovo = !estendi && SelLength() > 0 ? SelStart() + SelLength()
                                            : std::min(cursore_ + 1, lunghezza);
        break;
    case vbKeyHome:
        nuovo = 0;
        break;
    case vbKeyEnd:
        nuovo = lunghezza;
        break;
    default:
        return;
    }
    cursore_ = nuovo;
    if (!estendi) {
        ancora_ = nuovo;
    }
}

void Txtctl::sostituisci_selezione(std::string_view nuovo, bool con_limite) {
    const auto inizio = static_cast<std::size_t>(SelStart());
    const auto selezionati = static_cast<std::size_t>(SelLength());
    if (con_limite && MaxLength_ > 0 && !nuovo.empty()) {
        const auto resta = testo_.size() - selezionati;
        const auto limite = static_cast<std::size_t>(MaxLength_);
        nuovo = nuovo.substr(0, limite > resta ? limite - resta : 0);
        if (nuovo.empty()) {
            return; // no room: the keystroke or the paste is lost, the text stays as it was
        }
    }
    auto risultato = testo_;
    risultato.replace(inizio, selezionati, nuovo);
    cambia_testo(risultato, static_cast<int>(inizio + nuovo.size()));
}

void Txtctl::cambia_testo(std::string_view nuovo, int cursore) {
    ancora_ = cursore_ = cursore;
    if (nuovo == testo_) {
        return;
    }
    testo_.assign(nuovo);
    respinta_ = false;
    testo_cambiato();
}

void Txtctl::testo_cambiato() {
    // The date is written out as soon as its eighth digit is in. Before the box has ever had
    // the focus there is no separator yet, and a text set by the container is left alone.
    const bool separatore_presente =
        separatore_data_ == '\0' || testo_.find(separatore_data_) != std::string::npos;
    if (Tipodati_ == 1 && testo_.size() == lunghezza_data_digitata && !separatore_presente) {
        verifica_data();
    }
    if (Change) {
        Change();
    }
}

} // namespace meravo
