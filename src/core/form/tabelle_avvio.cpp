#include "form/frm_meravo.h"

#include "services/messaggi.h"
#include "text/testo.h"

namespace meravo {

namespace {

constexpr std::string_view titolo_ostrel = "Ostrel 2";
constexpr std::string_view non_continua = ". Impossibile continuare il caricamento.";
constexpr int colonna_descrizione = 2;
constexpr double altezza_lista_twip = 2300;

// Widths of the municipality table's columns.
struct RecordComune {
    static constexpr int comune = 40;
    static constexpr int provincia = 2;
    static constexpr int cap = 5;
    static constexpr int codistat = 6;
    static constexpr int sigla = 4;
};

} // namespace

void aggiungi_campo(std::vector<DescrizioneColonna>& layout, int larghezza, std::string nome) {
    layout.push_back({static_cast<int>(TipoColonna::testo), larghezza, std::move(nome)});
}

std::string codice_da_cella(std::string_view cella) {
    if (cella.empty()) {
        return {};
    }
    const auto codice = cella.substr(1);
    if (codice.size() <= 4) {
        return std::string(codice);
    }
    const auto categoria = codice.substr(3, 3);
    const auto dettaglio = codice.size() > 6 ? codice.substr(6) : std::string_view{};
    if (testo::rifila(dettaglio).empty()) {
        return std::string(categoria);
    }
    return std::string(categoria) + "." + std::string(dettaglio);
}

bool frm_Meravo::carica_tabelle() {
    tabella_comuni.nome_tabella = "comuni";
    const auto diagnosi = icdix.carica_icdix(direttorio_tabelle + "icdIX_completo.tda",
                                             direttorio_tabelle + "icdIX_secondario_completo.tda");
    if (!diagnosi) {
        servizi().messaggi.avvisa(diagnosi.messaggio() + std::string(non_continua), Icona::critico,
                                  titolo_ostrel);
        return false;
    }
    std::vector<DescrizioneColonna> layout;
    aggiungi_campo(layout, RecordComune::comune, "comune");
    aggiungi_campo(layout, RecordComune::provincia, "provincia");
    aggiungi_campo(layout, RecordComune::cap, "cap");
    aggiungi_campo(layout, RecordComune::codistat, "codistat");
    aggiungi_campo(layout, RecordComune::sigla, "sigla");
    tabella_comuni.descrizione(std::move(layout));
    const auto comuni = tabella_comuni.carica(direttorio_tabelle + "comuni.tda");
    if (!comuni) {
        servizi().messaggi.avvisa(comuni.messaggio() + std::string(non_continua), Icona::critico,
                                  titolo_ostrel);
        return false;
    }
    return true;
}

void frm_Meravo::prepara_ricerca_diagnosi() {
    trova1.inizializza(icdix, colonna_descrizione, "", altezza_lista_twip, "icdix");
    trova1.InputMinMaiuscIndifferente(true);
    trova1.Enabled(true);
}

void frm_Meravo::completa_provincia_nascita() {
    if (!testo::rifila(provincia_nascita.Text).empty() ||
        testo::rifila(comune_nascita.Text).empty()) {
        return;
    }
    const Valore comune(testo::maiuscolo(testo::rifila(comune_nascita.Text)));
    const int riga = tabella_comuni.identifica_elemento(comune, 1);
    if (riga > 0) {
        const auto cella = tabella_comuni.dati_diretto(2, riga);
        if (const auto* provincia = std::get_if<std::string>(&cella)) {
            provincia_nascita.Text = testo::rifilato(*provincia);
        }
    }
}

void frm_Meravo::selezione_confermata() {
    const int riga = icdix.identifica_elemento_dicotomica_icdix(trova1.Text());
    cod_icdix.Text = riga > 0 ? codice_da_cella(icdix.dati_diretto_icdix(1, riga)) : "";
}

} // namespace meravo
