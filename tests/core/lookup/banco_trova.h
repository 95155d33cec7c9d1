#pragma once

#include "doppi/doppi.h"
#include "lookup/tabella_consultabile.h"
#include "lookup/trova.h"

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

// A look-up bound to column 2 of a fake table, with every event it raises written down in
// order, and a pump that can deliver the user's next keys while a search runs.
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
                auto tasto = std::move(in_arrivo.front());
                in_arrivo.pop_front();
                occupato_all_arrivo.push_back(t.in_elaborazione());
                tasto();
            }
        };
        t.InputMinMaiuscIndifferente(true);
    }

    void avvia(std::string_view da_ricercare = {}) {
        t.inizializza(tabella, 2, da_ricercare);
        eventi.clear();
    }

    // As the platform delivers typing: a space comes as its key, then as a character.
    void digita(std::string_view testo) {
        for (char c : testo) {
            if (c == ' ') {
                t.tasto_giu_testo(Tasto::spazio, modificatori::nessuno);
            }
            t.carattere_testo(c);
        }
    }
    void premi(Tasto tasto, int mod = modificatori::nessuno) { t.tasto_giu_testo(tasto, mod); }
    void in_lista(Tasto tasto, int mod = modificatori::nessuno) { t.tasto_giu_lista(tasto, mod); }

    // Mode, visible captions in braces, then the box with its selection in brackets.
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
        return s;
    }

    std::vector<std::string> leggi_eventi() { return std::exchange(eventi, {}); }

    PompaEventiContata pompa;
    SegnaleContato segnale;
    MessaggiRegistrati messaggi;
    TabellaFinta tabella;
    trova t;
    std::vector<std::string> eventi;
    std::deque<std::function<void()>> in_arrivo; // keys the user types while a search runs
    std::vector<bool> occupato_all_arrivo;
};

} // namespace meravo::prova
