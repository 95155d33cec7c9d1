#include "report/impaginazione.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace meravo::impaginazione {

namespace {

using layout_report::Copia;
using layout_report::Elemento;
using layout_report::Stile;
using layout_report::Tipo;

// A word of a text, and how it joins the one before it.
struct Pezzo {
    std::string testo;
    bool a_capo = false;    // starts a paragraph of its own
    bool attaccato = false; // the rest of a word too long for a line: no blank before it
};
using Riga = std::vector<Pezzo>;

std::vector<Pezzo> pezzi(std::string_view testo) {
    std::vector<Pezzo> risultato;
    std::string parola;
    bool a_capo = true;
    auto chiudi = [&] {
        if (!parola.empty()) {
            risultato.push_back({parola, a_capo});
            parola.clear();
            a_capo = false;
        }
    };
    for (std::size_t i = 0; i < testo.size(); ++i) {
        const char c = testo[i];
        if (c == '\r' || c == '\n') {
            chiudi();
            if (a_capo) {
                risultato.push_back({"", true}); // an empty line stays one
            }
            a_capo = true;
            i += c == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n';
        } else if (c == ' ' || c == '\t') {
            chiudi();
        } else {
            parola += c;
        }
    }
    chiudi();
    return risultato;
}

std::string testo_di(const Riga& riga) {
    std::string testo;
    for (const auto& p : riga) {
        testo += (testo.empty() || p.attaccato ? "" : " ") + p.testo;
    }
    return testo;
}

struct Carattere {
    int corpo;
    bool grassetto;
};

// The words in lines no wider than `largo`; a word wider than a line alone is cut where it must.
std::vector<Riga> dividi(const std::vector<Pezzo>& parole, double largo, Carattere c,
                         const MisuraTesto& misura) {
    auto entra = [&](const std::string& t) {
        return misura.larghezza(t, c.corpo, c.grassetto) <= largo;
    };
    std::vector<Riga> righe;
    Riga riga;
    for (auto p : parole) {
        if (p.a_capo && !riga.empty()) {
            righe.push_back(std::exchange(riga, {}));
        }
        while (true) {
            riga.push_back(p);
            if (riga.size() == 1 && p.testo.size() <= 1) {
                break;
            }
            if (entra(testo_di(riga))) {
                break;
            }
            riga.pop_back();
            if (!riga.empty()) {
                righe.push_back(std::exchange(riga, {}));
                continue;
            }
            std::size_t da = 1, a = p.testo.size() - 1; // the longest start that fits
            while (da < a) {
                const auto meta = (da + a + 1) / 2;
                if (entra(p.testo.substr(0, meta))) {
                    da = meta;
                } else {
                    a = meta - 1;
                }
            }
            righe.push_back({{p.testo.substr(0, da), p.a_capo, p.attaccato}});
            p = {p.testo.substr(da), false, true};
        }
    }
    if (!riga.empty()) {
        righe.push_back(std::move(riga));
    }
    return righe;
}

std::vector<Pezzo> unisci(std::vector<Riga>::const_iterator da,
                          std::vector<Riga>::const_iterator a) {
    std::vector<Pezzo> parole;
    for (; da != a; ++da) {
        parole.insert(parole.end(), da->begin(), da->end());
    }
    return parole;
}

struct Disposizione {
    int corpo;
    std::vector<std::string> righe;
    std::vector<Pezzo> resto; // what the box cannot hold
};

Disposizione disponi(const Elemento& e, std::string_view testo, const MisuraTesto& misura) {
    const auto parole = pezzi(testo);
    const double largo = e.larghezza - 2 * layout_report::margine_interno;
    const int normale = layout_report::corpo(e);
    const int minimo = std::min(normale, layout_report::corpo_minimo);
    for (Carattere c{normale, layout_report::grassetto(e.stile)};; --c.corpo) {
        const auto righe = dividi(parole, largo, c, misura);
        // A one-line box shrinks its text as far as the minimum before it wraps it.
        const std::size_t capienza =
            e.piu_righe || c.corpo == minimo
                ? std::max(1, static_cast<int>(e.altezza / (c.corpo * layout_report::interlinea)))
                : 1;
        Disposizione d{c.corpo, {}, {}};
        if (righe.size() <= capienza) {
            std::transform(righe.begin(), righe.end(), std::back_inserter(d.righe), testo_di);
            return d;
        }
        if (c.corpo > minimo) {
            continue;
        }
        // The box is full: its last line says that the text goes on, and holds what fits
        // beside that; the rest goes on elsewhere.
        std::transform(righe.begin(), righe.begin() + static_cast<long>(capienza - 1),
                       std::back_inserter(d.righe), testo_di);
        const auto dopo = unisci(righe.begin() + static_cast<long>(capienza - 1), righe.end());
        const std::string marca = std::string(" ") + layout_report::segue;
        Riga ultima;
        while (ultima.size() < righe[capienza - 1].size()) {
            ultima.push_back(dopo[ultima.size()]);
            if (misura.larghezza(testo_di(ultima) + marca, c.corpo, c.grassetto) > largo) {
                ultima.pop_back();
                break;
            }
        }
        d.righe.push_back(ultima.empty() ? layout_report::segue : testo_di(ultima) + marca);
        d.resto.assign(dopo.begin() + static_cast<long>(ultima.size()), dopo.end());
        return d;
    }
}

// One line of text at `y` across the box of `e`.
Elemento linea_di_testo(const Elemento& e, double y, double passo, int corpo, std::string testo) {
    Elemento r{Tipo::etichetta,
               e.x,
               static_cast<int>(std::lround(y)),
               e.larghezza,
               static_cast<int>(std::lround(passo)),
               std::move(testo),
               e.stile,
               e.a_destra};
    r.corpo = corpo;
    r.centrato = e.centrato;
    return r;
}

struct Seguito {
    std::string etichetta;
    std::vector<Pezzo> resto;
};

// An element of a layout as it prints with `dati`; what a box cannot hold goes to `seguiti`.
void riempi(const Elemento& e, const DatiReport& dati, const MisuraTesto& misura, Pagina& pagina,
            std::vector<Seguito>& seguiti) {
    if (e.tipo == Tipo::segno) {
        pagina.push_back(e);
        pagina.back().testo = dati.testo(e.testo);
        return;
    }
    if (e.tipo != Tipo::etichetta && e.tipo != Tipo::campo) {
        pagina.push_back(e);
        return;
    }
    const auto& testo = e.tipo == Tipo::campo ? dati.testo(e.testo) : e.testo;
    if (testo.empty()) {
        return;
    }
    if (e.stile == Stile::avviso) {
        pagina.push_back({Tipo::riquadro, e.x, e.y, e.larghezza, e.altezza, ""});
    }
    const auto d = disponi(e, testo, misura);
    const double passo = d.corpo * layout_report::interlinea;
    // A one-line box keeps its lines in its middle, a box of many starts them at its top.
    const double y =
        e.piu_righe ? e.y : e.y + (e.altezza - passo * static_cast<double>(d.righe.size())) / 2;
    for (std::size_t i = 0; i < d.righe.size(); ++i) {
        pagina.push_back(
            linea_di_testo(e, y + passo * static_cast<double>(i), passo, d.corpo, d.righe[i]));
    }
    if (!d.resto.empty()) {
        seguiti.push_back({e.etichetta, d.resto});
    }
}

// The continuation sheets of one copy: each starts with whose certificate it is, then every
// text that did not fit, under the label of its box, as many sheets as it takes.
void aggiungi_seguiti(Copia quale, const std::vector<Seguito>& seguiti, const DatiReport& dati,
                      const MisuraTesto& misura, std::vector<Pagina>& pagine) {
    double y = layout_report::altezza_pagina;
    auto spazio = [&](double alto) {
        if (y + alto > layout_report::altezza_pagina) {
            pagine.emplace_back();
            std::vector<Seguito> gia_altrove; // the identity's own overflow is listed already
            for (const auto& e : layout_report::testata_seguito(quale)) {
                riempi(e, dati, misura, pagine.back(), gia_altrove);
            }
            y = layout_report::altezza_testata_seguito;
        }
    };
    const Elemento pagina_intera{Tipo::campo, 0, 0, layout_report::larghezza_copia, 0, ""};
    const Carattere c{layout_report::corpo(pagina_intera), false};
    const double passo = c.corpo * layout_report::interlinea;
    for (const auto& s : seguiti) {
        spazio(2 * passo + 50);
        Elemento titolo{Tipo::etichetta,
                        0,
                        0,
                        layout_report::larghezza_copia,
                        45,
                        s.etichetta + " " + layout_report::seguito,
                        Stile::sezione};
        pagine.back().push_back(
            linea_di_testo(titolo, y, 45, layout_report::corpo(titolo), titolo.testo));
        y += 50;
        const auto righe =
            dividi(s.resto, layout_report::larghezza_copia - 2 * layout_report::margine_interno, c,
                   misura);
        for (const auto& r : righe) {
            spazio(passo);
            pagine.back().push_back(linea_di_testo(pagina_intera, y, passo, c.corpo, testo_di(r)));
            y += passo;
        }
        y += 20;
    }
}

} // namespace

std::vector<Pagina> impagina(const std::vector<Copia>& copie, const DatiReport& dati,
                             const MisuraTesto& misura) {
    std::vector<Pagina> pagine(1);
    std::vector<std::vector<Seguito>> seguiti(copie.size());
    for (const auto& e : layout_report::pagina(copie)) {
        const auto quale = std::min<std::size_t>(
            static_cast<std::size_t>(e.y / layout_report::altezza_copia), copie.size() - 1);
        riempi(e, dati, misura, pagine.front(), seguiti[quale]);
    }
    for (std::size_t i = 0; i < copie.size(); ++i) {
        if (!seguiti[i].empty()) {
            aggiungi_seguiti(copie[i], seguiti[i], dati, misura, pagine);
        }
    }
    return pagine;
}

} // namespace meravo::impaginazione
