// The look-up's column, its four searches and the start-up search.

#include "lookup/confronto.h"
#include "lookup/trova.h"
#include "services/pompa_eventi.h"

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

void aggiungi(std::vector<std::string>& lista, std::vector<std::int32_t>& puntatori,
              const std::string& voce, std::int32_t riga) {
    lista.push_back(voce);
    puntatori.push_back(riga);
}

} // namespace

std::int32_t trova::righe() const {
    return static_cast<std::int32_t>(valori_colonna_->size()) - 1;
}

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
    lista_trovati_ = *valori_colonna_;
    avvia(da_ricercare, altezza);
    return true;
}

void trova::inizializza_senza_caricare(std::string_view da_ricercare,
                                       std::optional<double> altezza) {
    if (scelta_multipla_ && lista_.visibile()) {
        return;
    }
    if (lista_trovati_.size() != valori_colonna_->size()) {
        lista_trovati_ = *valori_colonna_;
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
        if (chiave.empty()) {
            lista_trovati_ = *valori_colonna_;
            puntatori_.resize(lista_trovati_.size());
            for (std::size_t i = 0; i < puntatori_.size(); ++i) {
                puntatori_[i] = static_cast<std::int32_t>(i);
            }
        } else {
            adotta(cerca_sinistra(chiave));
        }
        quanti_ = ritorna_quanti_trovati();
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

trova::Trovati trova::cerca_sinistra(std::string_view chiave) {
    const RicercaInCorso in_corso(ricerche_in_corso_);
    const auto colonna = valori_colonna_;
    const auto [primo, ultimo] = limiti(confronto::preparato(chiave, InputMinMaiuscIndifferente()));
    Trovati t;
    if (ultimo != 0) {
        for (std::int32_t i = primo; i <= ultimo; ++i) {
            pompa_.esegui_eventi_in_attesa();
            aggiungi(t.lista, t.puntatori, (*colonna)[static_cast<std::size_t>(i)], i);
        }
    }
    return t;
}

trova::Trovati trova::cerca_ovunque(std::string_view chiave) {
    const RicercaInCorso in_corso(ricerche_in_corso_);
    const auto colonna = valori_colonna_;
    const bool m = InputMinMaiuscIndifferente();
    const auto k = confronto::preparato(chiave, m);
    Trovati t;
    for (std::size_t i = 1; i < colonna->size(); ++i) {
        pompa_.esegui_eventi_in_attesa();
        if (confronto::posizione((*colonna)[i], k, 1, m) > 0) {
            aggiungi(t.lista, t.puntatori, (*colonna)[i], static_cast<std::int32_t>(i));
        }
    }
    return t;
}

trova::Trovati trova::cerca_sinistra_e_ovunque(std::string_view chiave1, std::string_view chiave2) {
    const RicercaInCorso in_corso(ricerche_in_corso_);
    const auto prima = cerca_sinistra(chiave1);
    // The second term is compared with the entries as stored, like the bisection: the column
    // of a prefix search is kept in upper case.
    const auto k2 = confronto::preparato(chiave2, InputMinMaiuscIndifferente());
    Trovati t;
    for (std::size_t k = 1; k < prima.lista.size(); ++k) {
        pompa_.esegui_eventi_in_attesa();
        if (confronto::posizione(prima.lista[k], k2, chiave1.size() + 1, false) > 0) {
            aggiungi(t.lista, t.puntatori, prima.lista[k], prima.puntatori[k]);
        }
    }
    return t;
}

trova::Trovati trova::cerca_ovunque_e_ovunque(std::string_view chiave1, std::string_view chiave2) {
    const RicercaInCorso in_corso(ricerche_in_corso_);
    const auto prima = cerca_ovunque(chiave1);
    const bool m = InputMinMaiuscIndifferente();
    const auto k1 = confronto::preparato(chiave1, m);
    const auto k2 = confronto::preparato(chiave2, m);
    Trovati t;
    for (std::size_t k = 1; k < prima.lista.size(); ++k) {
        pompa_.esegui_eventi_in_attesa();
        const auto p = confronto::posizione(prima.lista[k], k1, 1, m);
        if (p != 0 && confronto::posizione(prima.lista[k], k2, p + k1.size(), m) > 0) {
            aggiungi(t.lista, t.puntatori, prima.lista[k], prima.puntatori[k]);
        }
    }
    return t;
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
