#pragma once

#include "doppi/doppi.h"
#include "lookup/ricorrenze.h"
#include "lookup/tabella_consultabile.h"
#include "lookup/trova.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace meravo::prova {

// A table with numbered columns (rows from 1), an optional name and class name.
class TabellaFinta final : public TabellaConsultabile {
public:
    std::optional<std::vector<std::string>> dati(int colonna, std::string_view) const override {
        const auto c = colonne.find(colonna);
        if (c == colonne.end()) {
            return std::nullopt;
        }
        auto lista = c->second;
        lista.insert(lista.begin(), std::string{});
        return lista;
    }
    std::optional<std::string> dati_diretto(int colonna, int riga) const override {
        return colonne.at(colonna).at(static_cast<std::size_t>(riga - 1));
    }
    std::optional<std::string> Name() const override { return nome; }
    std::optional<std::string> NomeClasse() const override { return classe; }

    std::map<int, std::vector<std::string>> colonne;
    std::optional<std::string> nome;
    std::optional<std::string> classe;
};

// Descriptions in ascending order, as prefix searches need them.
inline const std::vector<std::string> diagnosi = {
    "ASMA",      "BRONCHITE ACUTA", "BRONCHITE CRONICA",
    "CEFALEA",   "FARINGITE ACUTA", "GASTROENTERITE ACUTA",
    "INFLUENZA", "LOMBALGIA ACUTA", "TONSILLITE ACUTA"};

// What a mode's rule keeps of `lista`, as the matching rules state it on their own: the first
// term alone in the one-term modes, then the second after it.
inline std::vector<std::string> secondo_la_regola(ModoRicerca modo, bool maiuscole,
                                                  std::string_view t1, std::string_view t2,
                                                  const std::vector<std::string>& lista) {
    const ricorrenze r({maiuscole});
    switch (modo) {
    case ModoRicerca::sinistra:
        return r.sinistra(t1, lista);
    case ModoRicerca::ovunque:
        return r.ovunque(t1, lista);
    case ModoRicerca::sinistra_e_ovunque:
        return r.sinistraEovunque(t1, t2, lista);
    case ModoRicerca::ovunque_e_ovunque:
        return r.ovunqueEovunque(t1, t2, lista);
    }
    return {};
}

// A look-up bound to column 2 of a fake table, with every event it raises written down in
// order, and a pump that can deliver the user's next input while a search runs.
struct BancoTrova {
    explicit BancoTrova(std::vector<std::string> righe = diagnosi,
                        std::optional<std::string> nome = std::nullopt,
                        std::optional<std::string> classe = std::nullopt,
                        ProprietaTrova proprieta = {})
        : t(pompa, segnale, messaggi, std::move(proprieta)) {
        tabella.colonne[2] = std::move(righe);
        tabella.nome = std::move(nome);
        tabella.classe = std::move(classe);
        auto& e = t.eventi();
        e.selezione_confermata = [this] { eventi.push_back("conferma"); };
        e.candidato_cambiato = [this] { eventi.push_back("candidato"); };
        e.uscita = [this] { eventi.push_back("uscita"); };
        e.testo_digitato = [this](std::string& s) { eventi.push_back("digitato:" + s); };
        pompa.azione = [this] {
            if (!in_arrivo.empty()) {
                auto input = std::move(in_arrivo.front());
                in_arrivo.pop_front();
                occupato_all_arrivo.push_back(t.in_elaborazione());
                input();
            }
        };
        t.InputMinMaiuscIndifferente(true);
    }

    void avvia(std::string_view da_ricercare = {}) {
        t.inizializza(tabella, 2, da_ricercare);
        eventi.clear();
    }

    // Plays what the user does: a character is typed (a space comes as its key, then as a
    // character); an arrow, ⇱ (Home), ⇲ (End), ⏎ (Enter), ⎋ (Esc) and ⇪ (Shift) are keys, sent to
    // the list when it has the focus; ⌃ and ⇧ hold Ctrl and Shift for the next key; ◦N and •N
    // click and double-click item N of the list; @ is the mouse released on the box; ✕ is the
    // container closing the list; | forgets the events raised so far; {…} is a script that the
    // user plays while the next search runs, one such for each time it lets events run.
    void esegui(std::string_view script) {
        static const std::pair<std::string_view, Tasto> tasti[] = {
            {"←", Tasto::sinistra}, {"→", Tasto::destra}, {"↑", Tasto::su},
            {"↓", Tasto::giu},      {"⇱", Tasto::inizio}, {"⇲", Tasto::fine},
            {"⏎", Tasto::invio},    {"⎋", Tasto::esc},    {"⇪", Tasto::maiuscole}};
        int mod = modificatori::nessuno;
        for (std::size_t preso = 1; !script.empty(); script.remove_prefix(preso), preso = 1) {
            const auto k = std::find_if(std::begin(tasti), std::end(tasti),
                                        [&](const auto& v) { return script.starts_with(v.first); });
            const auto segno = [&](std::string_view s) {
                return script.starts_with(s) && (preso = s.size());
            };
            if (segno("⌃") || segno("⇧")) {
                mod |= script.starts_with("⌃") ? modificatori::ctrl : modificatori::shift;
            } else if (k != std::end(tasti)) {
                t.focus() == trova::Focus::lista ? t.tasto_giu_lista(k->second, mod)
                                                 : t.tasto_giu_testo(k->second, mod);
                mod = modificatori::nessuno;
                preso = k->first.size();
            } else if (segno("◦") || segno("•")) {
                const int voce = script[preso++] - '0';
                script.starts_with("◦") ? t.click_lista(voce) : t.doppio_click_lista(voce);
            } else if (segno("{")) {
                preso = script.find('}') + 1;
                in_arrivo.emplace_back(
                    [this, s = std::string(script.substr(1, preso - 2))] { esegui(s); });
            } else if (segno("✕")) {
                t.chiudi_lista();
            } else if (script.front() == '@') {
                t.mouse_su_testo();
            } else if (script.front() == '|') {
                eventi.clear();
            } else {
                if (script.front() == ' ') {
                    t.tasto_giu_testo(Tasto::spazio, modificatori::nessuno);
                }
                t.carattere_testo(script.front());
            }
        }
    }

    // Mode, visible captions in braces, the box with its selection in brackets, the candidate's
    // place among the matches and, when the list shows, its selected item's.
    std::string schermo() const {
        std::string s(t.descrittore_ricerche());
        s += ' ';
        for (const auto* e : {&t.primo_libero(), &t.fisso(), &t.libero()}) {
            if (e->visibile) {
                s += "{" + e->caption + "}";
            }
        }
        const auto& box = t.testo();
        s += box.substr(0, t.inizio_selezione()) + "[" +
             box.substr(t.inizio_selezione(), t.lunghezza_selezione()) + "]" +
             box.substr(t.inizio_selezione() + t.lunghezza_selezione());
        s += ' ' + std::to_string(t.posizione()) + '/' + std::to_string(t.quanti());
        if (t.lista_visibile()) {
            s += " lista " + std::to_string(t.lista().indice() + 1) + '/' +
                 std::to_string(t.lista().voci().size());
        }
        return s;
    }

    std::vector<std::string> leggi_eventi() { return std::exchange(eventi, {}); }

    PompaEventiContata pompa;
    SegnaleContato segnale;
    MessaggiRegistrati messaggi;
    TabellaFinta tabella;
    trova t;
    std::vector<std::string> eventi;
    std::deque<std::function<void()>> in_arrivo; // what the user does while a search runs
    std::vector<bool> occupato_all_arrivo;
};

} // namespace meravo::prova
