#include "report/layout_report.h"

#include "report/copie_certificato.h"

namespace meravo::layout_report {

namespace {

constexpr int riga = 45;       // height of one line of text
constexpr int riga_campo = 50; // a data field takes its whole row: two lines of the smallest type
constexpr int segno = 30;      // side of a mark square
// The band above a copy where a copy of the test service says so.
constexpr int fascia_avviso = 55;

struct Aggiunta {
    std::vector<Elemento>& elementi;
    int y0;
    std::string suffisso;
    std::string ultima_etichetta = {};

    void etichetta(int x, int y, int l, const char* testo, Stile stile = Stile::normale) {
        elementi.push_back({Tipo::etichetta, x, y0 + y, l, riga, testo, stile});
        ultima_etichetta = testo;
        if (ultima_etichetta.ends_with(':')) {
            ultima_etichetta.pop_back();
        }
    }
    void campo(int x, int y, int l, const char* nome, int h = riga_campo) {
        elementi.push_back({Tipo::campo, x, y0 + y, l, h, nome + suffisso});
        elementi.back().piu_righe = h > riga_campo;
        elementi.back().etichetta = ultima_etichetta;
    }
    void segno_con_etichetta(int x, int y, const char* nome, int l, const char* testo) {
        elementi.push_back(
            {Tipo::segno, x, y0 + y + (riga - segno) / 2, segno, segno, nome + suffisso});
        etichetta(x + segno + 10, y, l, testo);
    }
    void linea(int x, int y, int l, int h) {
        elementi.push_back({Tipo::linea, x, y0 + y, l, h, ""});
    }
    // Comune, CAP and Provincia of an address, on one row.
    void indirizzo(int y, const char* comune, const char* cap, const char* provincia) {
        etichetta(0, y, 150, "Comune");
        campo(150, y, 900, comune);
        etichetta(1070, y, 80, "CAP");
        campo(1150, y, 200, cap);
        etichetta(1370, y, 160, "Provincia");
        campo(1530, y, 370, provincia);
    }
};

} // namespace

int corpo(const Elemento& e) {
    if (e.corpo > 0) {
        return e.corpo;
    }
    switch (e.stile) {
    case Stile::titolo:
        return 40;
    case Stile::avviso:
        return 32;
    case Stile::sezione:
        return 26;
    case Stile::piccolo:
        return 22;
    case Stile::normale:
        break;
    }
    return e.tipo == Tipo::etichetta ? 25 : 28;
}

bool grassetto(Stile stile) {
    return stile == Stile::titolo || stile == Stile::sezione || stile == Stile::avviso;
}

const char* intestazione(Copia quale) {
    return quale == Copia::datore ? "Copia cartacea per il datore di lavoro"
                                  : "Copia cartacea per il lavoratore";
}

namespace {

// The band of the test service's notice, the title and which copy it is: the top of a copy and
// of each of its continuation sheets.
Aggiunta testata(std::vector<Elemento>& e, Copia quale, int y, const char* titolo) {
    const std::string suffisso =
        quale == Copia::datore ? std::string(copie_certificato::suffisso_datore) : "";
    e.push_back(
        {Tipo::campo, 0, y, larghezza_copia, riga_campo, "avviso_prova" + suffisso, Stile::avviso});
    e.back().centrato = true;
    Aggiunta a{e, y + fascia_avviso, suffisso};
    a.etichetta(0, 0, 1100, titolo, Stile::titolo);
    a.etichetta(1000, 0, 900, intestazione(quale), Stile::sezione);
    e.back().a_destra = true;
    return a;
}

} // namespace

std::vector<Elemento> copia(Copia quale, int y) {
    std::vector<Elemento> e;
    auto a = testata(e, quale, y, "Certificato di malattia telematico");
    e.push_back({Tipo::riquadro, 0, a.y0 + 70, larghezza_copia, 1140, ""});

    a.etichetta(0, 80, 220, "Protocollo (*)");
    a.campo(220, 80, 900, "protocollo", riga);
    a.etichetta(1300, 80, 250, "Data rilascio");
    a.campo(1550, 80, 350, "dt_rilascio", riga);
    a.etichetta(0, 125, 1000, "(*) Rettifica del certificato protocollo", Stile::piccolo);
    a.linea(0, 175, larghezza_copia, 0);

    a.etichetta(0, 185, 1900, "DATI DEL MEDICO", Stile::sezione);
    a.etichetta(0, 235, 280, "Cognome e nome");
    a.campo(280, 235, 900, "medico");
    a.etichetta(1200, 235, 150, "Cod.Reg.");
    a.campo(1350, 235, 180, "codreg");
    a.etichetta(1550, 235, 80, "ASL");
    a.campo(1630, 235, 270, "asl");
    a.linea(0, 290, larghezza_copia, 0);

    a.etichetta(0, 300, 940, "DATI PROGNOSI", Stile::sezione);
    a.etichetta(960, 300, 940, "DATI DIAGNOSI", Stile::sezione);
    a.linea(950, 290, 0, 330);
    a.etichetta(0, 350, 700, "Il lavoratore dichiara di essere ammalato dal");
    a.campo(700, 350, 245, "dt_dal");
    a.etichetta(960, 350, 280, "Cod. Nosologico");
    a.campo(1240, 350, 660, "cod_diagnosi");
    a.etichetta(0, 410, 700, "Viene assegnata prognosi clinica a tutto il");
    a.campo(700, 410, 245, "dt_al");
    a.etichetta(960, 410, 180, "Diagnosi:");
    // Eight lines of the smallest type: a note of several paragraphs stays on the copy.
    a.campo(1140, 410, 760, "diagnosi", 205);
    a.etichetta(0, 485, 200, "Trattasi di");
    a.segno_con_etichetta(210, 485, "inizio", 150, "Inizio");
    a.segno_con_etichetta(400, 485, "continuazione", 250, "Continuazione");
    a.segno_con_etichetta(700, 485, "ricaduta", 200, "Ricaduta");
    a.etichetta(0, 550, 200, "Visita");
    a.segno_con_etichetta(210, 550, "ambulatoriale", 250, "Ambulatoriale");
    a.segno_con_etichetta(520, 550, "domiciliare", 250, "Domiciliare");
    a.linea(0, 620, larghezza_copia, 0);

    a.etichetta(0, 630, 1900, "DATI DEL LAVORATORE", Stile::sezione);
    a.etichetta(0, 675, 1900, "ANAGRAFICI", Stile::sezione);
    a.etichetta(0, 720, 150, "Cognome");
    a.campo(150, 720, 600, "cognome");
    a.etichetta(770, 720, 100, "Nome");
    a.campo(870, 720, 500, "nome");
    a.etichetta(1390, 720, 80, "C.F.");
    a.campo(1470, 720, 430, "cf");
    a.etichetta(0, 770, 150, "Nato/a il");
    a.campo(150, 770, 220, "dt_nascita");
    a.etichetta(390, 770, 400, "a (Comune o Stato estero)");
    a.campo(790, 770, 700, "comune_nascita");
    a.etichetta(1510, 770, 160, "Provincia");
    a.campo(1670, 770, 230, "pr_nascita");
    a.linea(0, 825, larghezza_copia, 0);

    a.etichetta(0, 835, 1900, "RESIDENZA O DOMICILIO ABITUALE", Stile::sezione);
    a.etichetta(0, 885, 220, "In via/piazza");
    a.campo(220, 885, 1680, "via");
    a.indirizzo(935, "comune", "cap", "pr");
    a.linea(0, 990, larghezza_copia, 0);

    a.etichetta(0, 1000, 1900,
                "REPERIBILITA' DURANTE LA MALATTIA (dati da indicare solo se diversi da quelli di "
                "residenza riportati sopra)",
                Stile::sezione);
    a.etichetta(0, 1050, 950, "Nominativo indicato presso l'abitazione (se diverso dal proprio)");
    a.campo(950, 1050, 950, "nominativo");
    a.etichetta(0, 1100, 220, "In via/piazza");
    a.campo(220, 1100, 1680, "via_nominativo");
    a.indirizzo(1150, "comune_nominativo", "cap_nominativo", "pr_nominativo");

    a.etichetta(0, 1220, 1900, "Rilasciato ai sensi del DPCM 26 marzo 2008 e del Dlgs n.150/2009",
                Stile::piccolo);
    return e;
}

std::vector<Elemento> pagina(const std::vector<Copia>& copie) {
    std::vector<Elemento> elementi;
    for (std::size_t i = 0; i < copie.size(); ++i) {
        const int y = static_cast<int>(i) * altezza_copia;
        if (i > 0) {
            elementi.push_back(
                {Tipo::taglio, 0, y - 45, larghezza_copia, 30, "tagliare qui", Stile::piccolo});
        }
        auto altra = copia(copie[i], y);
        elementi.insert(elementi.end(), altra.begin(), altra.end());
    }
    return elementi;
}

std::vector<Elemento> testata_seguito(Copia quale) {
    std::vector<Elemento> e;
    auto a = testata(e, quale, 0, titolo_seguito);
    a.linea(0, 70, larghezza_copia, 0);
    a.etichetta(0, 80, 150, "Cognome");
    a.campo(150, 80, 600, "cognome");
    a.etichetta(770, 80, 100, "Nome");
    a.campo(870, 80, 1030, "nome");
    a.etichetta(0, 130, 220, "Protocollo");
    a.campo(220, 130, 900, "protocollo");
    a.etichetta(1300, 130, 250, "Data rilascio");
    a.campo(1550, 130, 350, "dt_rilascio");
    a.linea(0, 190, larghezza_copia, 0);
    return e;
}

} // namespace meravo::layout_report
