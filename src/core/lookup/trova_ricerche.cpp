// The look-up's column, its four searches and the start-up search.

#include "lookup/confronto.h"
#include "lookup/trova.h"
#include "services/pompa_eventi.h"
#include "text/testo.h"

#include <numeric>

namespace meravo {

namespace {

// Below these window sizes the bisection gives way to a scan: the first row of a run is looked
// for in windows under 50 rows, its last row in windows under 10.
constexpr std::int32_t finestra_primo = 50;
constexpr std::int32_t finestra_ultimo = 10;

// Marks a search as running while it lets window events run, so that list input arriving in
// the meantime is not applied to lists about to be replaced.
class RicercaInCorso {
public:
    explicit RicercaInCorso(int& contatore) : contatore_(contatore) { ++contatore_; }
    ~RicercaInCorso() { --contatore_; }
    RicercaInCorso(const RicercaInCorso&) = delete;
    RicercaInCorso& operator=(const RicercaInCorso&) = delete;

private:
    int& contatore_;
};

// Collects the matches of a search: entries and their rows, index 0 holding nothing.
struct Raccolta {
    void aggiungi(const std::string& voce, std::int32_t riga) {
        voci.push_back(voce);
        righe.push_back(riga);
    }
    std::shared_ptr<const std::vector<std::string>> condivise() {
        return std::make_shared<const std::vector<std::string>>(std::move(voci));
    }

    std::vector<std::string> voci = std::vector<std::string>(1);
    std::vector<std::int32_t> righe = std::vector<std::int32_t>(1);
};

} // namespace

bool trova::inizializza(const TabellaConsultabile& oggettox, int riferimento,
                        std::string_view da_ricercare, std::optional<double> altezza,
                        std::string_view chiamante) {
    auto colonna = oggettox.dati(riferimento, chiamante);
    if (!colonna) {
        return false;
    }
    if (colonna->empty()) {
        colonna->emplace_back();
    }
    oggetto_ = &oggettox;
    nascondi_liste();
    testo_abilitato_ = true;
    valori_colonna_ = std::make_shared<const std::vector<std::string>>(std::move(*colonna));
    colonna_maiuscola_.reset();
    lista_trovati_ = valori_colonna_;
    avvia(da_ricercare, altezza);
    return true;
}

void trova::inizializza_senza_caricare(std::string_view da_ricercare,
                                       std::optional<double> altezza) {
    if (scelta_multipla_ && lista_.visibile()) {
        return;
    }
    if (lista_trovati_->size() != valori_colonna_->size()) {
        lista_trovati_ = valori_colonna_;
    }
    avvia(da_ricercare, altezza);
}

void trova::avvia(std::string_view da_ricercare, std::optional<double> altezza) {
    // Keys typed while the column is being searched wait in the queue until the start-up
    // candidate is shown, and are then applied to it.
    const std::string chiave(da_ricercare);
    da_occupato([&] {
        altezza_lista_ = altezza;
        pompa_.esegui_eventi_in_attesa();
        modo_ = ModoRicerca::sinistra;
        pompa_.esegui_eventi_in_attesa();
        posizione_ = 1;
        adotta(cerca_sinistra(chiave)); // with no text: every row, in column order
        if (quanti_ > 0) {
            visualizza(chiave, "");
        }
        annuncia_testo(testo_);
    });
}

trova::Intervallo trova::limiti(std::string_view chiave_x_dupli) {
    const RicercaInCorso in_corso(ricerche_in_corso_);
    const auto colonna = valori_colonna_;
    const auto& righe_colonna = *colonna;
    const std::int32_t n = static_cast<std::int32_t>(righe_colonna.size()) - 1;
    const std::string_view chiave = chiave_x_dupli;
    const std::size_t l = chiave.size();
    const bool m = InputMinMaiuscIndifferente();
    const auto riga = [&](std::int32_t r) -> const std::string& {
        return righe_colonna[static_cast<std::size_t>(r)];
    };
    // Bisection compares prefixes exactly as stored; the scans compare them in the search form
    // of the case rule. With the column in upper case, as prefix searches require, the two agree.
    const auto confronta_grezzo = [&](std::int32_t r) {
        return std::string_view(riga(r)).substr(0, l).compare(chiave);
    };
    const auto uguale = [&](std::int32_t r) { return confronto::inizia_con(riga(r), chiave, m); };
    const auto maggiore = [&](std::int32_t r) {
        return confronto::preparato(confronto::parte(riga(r), 1, l), m).compare(chiave) > 0;
    };

    if (l == 0) {
        return {1, n};
    }
    if (n <= 1) {
        // With a single row there is nothing to bisect: that row either begins with the key or not.
        return n == 1 && uguale(1) ? Intervallo{1, 1} : Intervallo{};
    }

    std::int32_t basso = 1;
    std::int32_t alto = n;
    std::int32_t primo = 0;
    while (alto != basso) {
        pompa_.esegui_eventi_in_attesa();
        if (alto - basso >= finestra_primo) {
            const std::int32_t medio = basso + (alto - basso) / 2;
            if (confronta_grezzo(medio) < 0) {
                basso = medio;
            } else {
                alto = medio;
            }
            continue;
        }
        for (std::int32_t r = basso; r <= alto; ++r) {
            if (uguale(r)) {
                primo = r;
                break;
            }
        }
        if (primo == 0) {
            return {};
        }
        basso = alto = primo;
    }

    basso = primo;
    alto = n;
    while (alto != basso && alto - basso >= finestra_ultimo) {
        pompa_.esegui_eventi_in_attesa();
        const std::int32_t medio = basso + (alto - basso) / 2;
        if (confronta_grezzo(medio) > 0) {
            alto = medio;
        } else {
            basso = medio;
        }
    }
    if (alto == basso) {
        return {primo, primo};
    }
    for (std::int32_t r = basso; r <= alto; ++r) {
        if (maggiore(r)) {
            return {primo, r - 1};
        }
    }
    return {primo, alto};
}

trova::Trovati trova::tutta_la_colonna() const {
    std::vector<std::int32_t> righe(valori_colonna_->size());
    std::iota(righe.begin(), righe.end(), 0);
    return {valori_colonna_, std::move(righe)};
}

std::shared_ptr<const std::vector<std::string>> trova::colonna_in_maiuscolo() {
    if (!colonna_maiuscola_) {
        std::vector<std::string> maiuscole;
        maiuscole.reserve(valori_colonna_->size());
        for (const auto& voce : *valori_colonna_) {
            maiuscole.push_back(testo::maiuscolo(voce));
        }
        colonna_maiuscola_ = std::make_shared<const std::vector<std::string>>(std::move(maiuscole));
    }
    return colonna_maiuscola_;
}

trova::Trovati trova::cerca_sinistra(std::string_view chiave) {
    if (chiave.empty()) {
        return tutta_la_colonna(); // every row begins with nothing
    }
    const RicercaInCorso in_corso(ricerche_in_corso_);
    const auto colonna = valori_colonna_;
    const auto [primo, ultimo] = limiti(confronto::preparato(chiave, InputMinMaiuscIndifferente()));
    Raccolta r;
    if (ultimo != 0) {
        for (std::int32_t i = primo; i <= ultimo; ++i) {
            pompa_.esegui_eventi_in_attesa();
            r.aggiungi((*colonna)[static_cast<std::size_t>(i)], i);
        }
    }
    return {r.condivise(), std::move(r.righe)};
}

// Scanning runs over an upper-case copy of the column, made once, when case is ignored.
trova::Trovati trova::cerca_ovunque(std::string_view chiave) {
    const RicercaInCorso in_corso(ricerche_in_corso_);
    const auto colonna = valori_colonna_;
    const bool m = InputMinMaiuscIndifferente();
    const auto confronti = m ? colonna_in_maiuscolo() : colonna;
    const auto k = confronto::preparato(chiave, m);
    Raccolta r;
    for (std::size_t i = 1; i < colonna->size(); ++i) {
        pompa_.esegui_eventi_in_attesa();
        if ((*confronti)[i].find(k) != std::string::npos) {
            r.aggiungi((*colonna)[i], static_cast<std::int32_t>(i));
        }
    }
    return {r.condivise(), std::move(r.righe)};
}

trova::Trovati trova::cerca_sinistra_e_ovunque(std::string_view chiave1, std::string_view chiave2) {
    const RicercaInCorso in_corso(ricerche_in_corso_);
    const auto prima = cerca_sinistra(chiave1);
    // The second term is compared with the entries as stored, like the bisection: the column
    // of a prefix search is kept in upper case.
    const auto k2 = confronto::preparato(chiave2, InputMinMaiuscIndifferente());
    Raccolta r;
    for (std::size_t k = 1; k < prima.puntatori.size(); ++k) {
        pompa_.esegui_eventi_in_attesa();
        const auto& voce = (*prima.lista)[k];
        if (confronto::posizione(voce, k2, chiave1.size() + 1, false) > 0) {
            r.aggiungi(voce, prima.puntatori[k]);
        }
    }
    return {r.condivise(), std::move(r.righe)};
}

trova::Trovati trova::cerca_ovunque_e_ovunque(std::string_view chiave1, std::string_view chiave2) {
    const RicercaInCorso in_corso(ricerche_in_corso_);
    // Taken before the first search lets events run, so that both read the same column.
    const bool m = InputMinMaiuscIndifferente();
    const auto confronti = m ? colonna_in_maiuscolo() : valori_colonna_;
    const auto prima = cerca_ovunque(chiave1);
    const auto k1 = confronto::preparato(chiave1, m);
    const auto k2 = confronto::preparato(chiave2, m);
    Raccolta r;
    for (std::size_t k = 1; k < prima.puntatori.size(); ++k) {
        pompa_.esegui_eventi_in_attesa();
        const std::string_view testo = (*confronti)[static_cast<std::size_t>(prima.puntatori[k])];
        // Only the first occurrence of the first term anchors the second.
        const auto p = testo.find(k1);
        if (p != std::string_view::npos &&
            testo.find(k2, p + k1.size()) != std::string_view::npos) {
            r.aggiungi((*prima.lista)[k], prima.puntatori[k]);
        }
    }
    return {r.condivise(), std::move(r.righe)};
}

trova::Trovati trova::cerca_nel_modo(std::string_view digitato) {
    switch (modo_) {
    case ModoRicerca::sinistra:
        return cerca_sinistra(digitato);
    case ModoRicerca::ovunque:
        return cerca_ovunque(digitato);
    case ModoRicerca::sinistra_e_ovunque:
        return cerca_sinistra_e_ovunque(fisso_.caption, digitato);
    case ModoRicerca::ovunque_e_ovunque:
        return cerca_ovunque_e_ovunque(fisso_.caption, digitato);
    }
    return {};
}

void trova::adotta(Trovati trovati) {
    lista_trovati_ = std::move(trovati.lista);
    puntatori_ = std::move(trovati.puntatori);
    quanti_ = ritorna_quanti_trovati();
}

void trova::mostra_ricerca(Trovati trovati, std::string_view digitato) {
    adotta(std::move(trovati));
    posizione_ = 1;
    visualizza_digitato(digitato);
}

void trova::sinistra(std::string_view chiave_x_dupli) {
    adotta(cerca_sinistra(chiave_x_dupli));
}

void trova::ovunque(std::string_view chiave_x_dupli) {
    adotta(cerca_ovunque(chiave_x_dupli));
}

void trova::sinistraEovunque(std::string_view chiave1, std::string_view chiave2) {
    adotta(cerca_sinistra_e_ovunque(chiave1, chiave2));
}

void trova::ovunqueEovunque(std::string_view chiave1, std::string_view chiave2) {
    adotta(cerca_ovunque_e_ovunque(chiave1, chiave2));
}

void trova::ricerca_da_testo() {
    const std::string tutto = testo_;
    adotta(cerca_sinistra(tutto));
    posizione_ = 1;
    visualizza(tutto, "");
}

void trova::gestione() {
    da_occupato([this] { ricerca_da_testo(); });
}

} // namespace meravo
