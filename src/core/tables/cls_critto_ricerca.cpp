#include "tables/cls_critto.h"

#include "tables/ricerca_dimezzata.h"
#include "text/testo.h"

#include <array>
#include <set>
#include <type_traits>

namespace meravo {

namespace {

constexpr int soglia_dicotomica = 5;
constexpr int soglia_ricerca_dicotomica = 10;
constexpr int soglia_foglia = 50;

// The value sought, taken apart once so that a scan over a whole column compares cheaply.
// Kinds rank as in confronta(): nothing, numbers, dates, texts.
struct Chiave {
    explicit Chiave(const Valore& v) {
        std::visit(
            [this](const auto& x) {
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, std::string>) {
                    rango = 3;
                    testo = x;
                } else if constexpr (std::is_same_v<T, Data>) {
                    rango = 2;
                    data = x;
                } else if constexpr (std::is_arithmetic_v<T>) {
                    rango = 1;
                    numero = static_cast<double>(x);
                }
            },
            v);
    }
    int rango = 0;
    double numero = 0;
    Data data;
    std::string_view testo;
};

template <typename T> constexpr int rango_di() {
    if constexpr (std::is_same_v<T, std::string>) {
        return 3;
    } else if constexpr (std::is_same_v<T, Data>) {
        return 2;
    } else {
        return 1;
    }
}

int segno(int c) {
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Where a cell stands against the key: below 0, above 0, or 0 when equal.
template <typename T> int confronta_cella(const T& cella, const Chiave& k) {
    constexpr int rango = rango_di<T>();
    if (rango != k.rango) {
        return rango < k.rango ? -1 : 1;
    }
    if constexpr (std::is_same_v<T, std::string>) {
        return segno(std::string_view(cella).compare(k.testo));
    } else if constexpr (std::is_same_v<T, Data>) {
        const auto o = cella <=> k.data;
        return o < 0 ? -1 : (o > 0 ? 1 : 0);
    } else {
        const auto x = static_cast<double>(cella);
        if (x != x || k.numero != k.numero) {
            return (x != x) - (k.numero != k.numero);
        }
        return x < k.numero ? -1 : (x > k.numero ? 1 : 0);
    }
}

// The halving searches look texts up in upper case.
Valore in_maiuscolo(const Valore& v) {
    if (const auto* t = std::get_if<std::string>(&v)) {
        return testo::maiuscolo(*t);
    }
    return v;
}

// The upper case of every byte, looked up rather than computed: a linear search compares a
// whole column.
const std::array<unsigned char, 256>& tabella_maiuscole() {
    static const auto tabella = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            t[static_cast<std::size_t>(b)] = testo::maiuscola(static_cast<unsigned char>(b));
        }
        return t;
    }();
    return tabella;
}

bool uguale_maiuscolo(std::string_view cella, std::string_view cercato_maiuscolo,
                      const std::array<unsigned char, 256>& maiuscole) {
    if (cella.size() != cercato_maiuscolo.size()) {
        return false;
    }
    for (std::size_t i = 0; i < cella.size(); ++i) {
        if (maiuscole[static_cast<unsigned char>(cella[i])] !=
            static_cast<unsigned char>(cercato_maiuscolo[i])) {
            return false;
        }
    }
    return true;
}

template <typename Lista>
int primo_uguale(const Lista& v, std::size_t da, std::size_t a, const Chiave& k) {
    for (std::size_t r = std::max<std::size_t>(da, 1); r <= a && r < v.size(); ++r) {
        if (confronta_cella(v[r], k) == 0) {
            return static_cast<int>(r);
        }
    }
    return -1;
}

// Back from a match to the first of its run of equal entries.
template <typename Lista> int inizio_serie(const Lista& v, int p) {
    while (p > 1 && v[static_cast<std::size_t>(p - 1)] == v[static_cast<std::size_t>(p)]) {
        --p;
    }
    return p;
}

std::size_t da_indice(int da) {
    return da < 1 ? 1 : static_cast<std::size_t>(da);
}

} // namespace

int Cls_Critto::identifica_elemento(const Valore& elemento, int colonna, int salto) const {
    if (!caricata() || !colonna_valida(colonna)) {
        return -1;
    }
    const auto ultima = static_cast<std::size_t>(righe_caricate_);
    return std::visit(
        [&](const auto& v) -> int {
            using T = typename std::decay_t<decltype(v)>::value_type;
            if constexpr (std::is_same_v<T, std::string>) {
                const auto* testo = std::get_if<std::string>(&elemento);
                if (testo == nullptr) {
                    return -1;
                }
                const std::string cercato = testo::maiuscolo(*testo);
                const auto taglio = static_cast<std::size_t>(std::max(salto, 0));
                const auto& maiuscole = tabella_maiuscole();
                for (std::size_t r = 1; r <= ultima; ++r) {
                    const std::string_view cella(v[r]);
                    if (uguale_maiuscolo(taglio < cella.size() ? cella.substr(taglio) : "", cercato,
                                         maiuscole)) {
                        return static_cast<int>(r);
                    }
                }
                return -1;
            } else {
                return primo_uguale(v, 1, ultima, Chiave(elemento));
            }
        },
        colonne_[static_cast<std::size_t>(colonna)]);
}

int Cls_Critto::identifica_elemento_da(const Valore& elemento, int colonna, int da) const {
    if (!caricata() || !colonna_valida(colonna)) {
        return -1;
    }
    const Chiave k(elemento);
    return std::visit(
        [&](const auto& v) { return primo_uguale(v, da_indice(da), v.size() - 1, k); },
        colonne_[static_cast<std::size_t>(colonna)]);
}

int Cls_Critto::identifica_elemento_secondario_da(const Valore& elemento, int colonna,
                                                  int da) const {
    if (!secondario_valori_) {
        return -1;
    }
    const Chiave k(elemento);
    if (colonna == 2) {
        return primo_uguale(secondario_righe_, da_indice(da), secondario_righe_.size() - 1, k);
    }
    if (colonna != 1) {
        return -1;
    }
    return std::visit(
        [&](const auto& v) { return primo_uguale(v, da_indice(da), v.size() - 1, k); },
        *secondario_valori_);
}

int Cls_Critto::identifica_elemento_lunghezza(std::string_view elemento, int colonna) const {
    return identifica_elemento_da_lunghezza(elemento, colonna, 1);
}

int Cls_Critto::identifica_elemento_da_lunghezza(std::string_view elemento, int colonna,
                                                 int da) const {
    if (!caricata() || !colonna_valida(colonna)) {
        return -1;
    }
    const auto* v =
        std::get_if<std::vector<std::string>>(&colonne_[static_cast<std::size_t>(colonna)]);
    if (v == nullptr) {
        return -1;
    }
    for (std::size_t r = da_indice(da); r < v->size(); ++r) {
        if (std::string_view((*v)[r]).substr(0, elemento.size()) == elemento) {
            return static_cast<int>(r);
        }
    }
    return -1;
}

int Cls_Critto::identifica_elemento_cessati(const Valore& elemento, int colonna) const {
    if (!caricata() || !colonna_valida(colonna) || righe_in_coda_ == 0) {
        return -1;
    }
    const auto n = static_cast<std::size_t>(righe());
    const Chiave k(elemento);
    return std::visit(
        [&](const auto& v) {
            return primo_uguale(v, n - static_cast<std::size_t>(righe_in_coda_) + 1, n, k);
        },
        colonne_[static_cast<std::size_t>(colonna)]);
}

int Cls_Critto::identifica_elemento_dicotomica(const Valore& elemento, int colonna) const {
    if (!caricata() || !colonna_valida(colonna)) {
        return -1;
    }
    const Valore cercato = in_maiuscolo(elemento);
    const Chiave k(cercato);
    return std::visit(
        [&](const auto& v) {
            return ricerca_dimezzata(righe_caricate_, soglia_dicotomica, [&](int p) {
                return confronta_cella(v[static_cast<std::size_t>(p)], k);
            });
        },
        colonne_[static_cast<std::size_t>(colonna)]);
}

int Cls_Critto::identifica_elemento_dicotomica_primo(const Valore& elemento, int colonna) const {
    const int p = identifica_elemento_dicotomica(elemento, colonna);
    if (p == -1) {
        return -1;
    }
    return std::visit([p](const auto& v) { return inizio_serie(v, p); },
                      colonne_[static_cast<std::size_t>(colonna)]);
}

int Cls_Critto::identifica_elemento_dicotomica_secondario(const Valore& elemento,
                                                          int* secondindex) const {
    int posizione = -1;
    if (secondario_valori_) {
        const Valore cercato = in_maiuscolo(elemento);
        const Chiave k(cercato);
        posizione = std::visit(
            [&](const auto& v) {
                return ricerca_dimezzata(righe_caricate_, soglia_dicotomica, [&](int p) {
                    return confronta_cella(v[static_cast<std::size_t>(p)], k);
                });
            },
            *secondario_valori_);
    }
    if (secondindex != nullptr) {
        *secondindex = posizione;
    }
    return posizione == -1 ? -1 : secondario_righe_[static_cast<std::size_t>(posizione)];
}

int Cls_Critto::identifica_elemento_dicotomica_secondario_primo(const Valore& elemento,
                                                                int* secondindex) const {
    int posizione = -1;
    identifica_elemento_dicotomica_secondario(elemento, &posizione);
    if (posizione != -1) {
        posizione = std::visit([posizione](const auto& v) { return inizio_serie(v, posizione); },
                               *secondario_valori_);
    }
    if (secondindex != nullptr) {
        *secondindex = posizione;
    }
    return posizione == -1 ? -1 : secondario_righe_[static_cast<std::size_t>(posizione)];
}

int Cls_Critto::ricerca_dicotomica(const Valore& chiave, int colonnna) const {
    if (!caricata() || !colonna_valida(colonnna)) {
        return -1;
    }
    const Chiave k(chiave);
    return std::visit(
        [&](const auto& v) {
            using T = typename std::decay_t<decltype(v)>::value_type;
            return ricerca_dimezzata(righe(), soglia_ricerca_dicotomica, [&](int p) {
                const auto& cella = v[static_cast<std::size_t>(p)];
                if constexpr (std::is_same_v<T, std::string>) {
                    return confronta_cella(testo::rifilato(cella), k);
                } else {
                    return confronta_cella(cella, k);
                }
            });
        },
        colonne_[static_cast<std::size_t>(colonnna)]);
}

int Cls_Critto::identifica_autorizzati(const std::vector<std::int64_t>& tabella_lavoro,
                                       std::int64_t elemento) {
    const int ultimo = tabella_lavoro.empty() ? 0 : static_cast<int>(tabella_lavoro.size()) - 1;
    return ricerca_dimezzata(ultimo, soglia_dicotomica, [&](int p) {
        const auto valore = tabella_lavoro[static_cast<std::size_t>(p)];
        return valore < elemento ? -1 : (valore > elemento ? 1 : 0);
    });
}

std::string Cls_Critto::estrai(std::string_view testo, int colonna) const {
    std::string estratti;
    if (!caricata() || !colonna_valida(colonna)) {
        return estratti;
    }
    const auto* v =
        std::get_if<std::vector<std::string>>(&colonne_[static_cast<std::size_t>(colonna)]);
    if (v == nullptr) {
        return estratti;
    }
    const std::string cercato = testo::maiuscolo(testo);
    bool primo = true;
    for (std::size_t r = 1; r < v->size(); ++r) {
        if ((*v)[r].find(cercato) != std::string::npos) {
            if (!primo) {
                estratti += "\r\n";
            }
            estratti += (*v)[r];
            primo = false;
        }
    }
    return estratti;
}

std::vector<Valore> Cls_Critto::ritorna_singoli(int colonna) const {
    std::vector<Valore> singoli(1);
    if (!caricata() || !colonna_valida(colonna)) {
        return singoli;
    }
    std::set<Valore, MinoreValore> visti;
    const auto& dati = colonne_[static_cast<std::size_t>(colonna)];
    for (std::size_t r = 1; r < dimensione(dati); ++r) {
        Valore v = cella(dati, r);
        if (visti.insert(v).second) {
            singoli.push_back(std::move(v));
        }
    }
    return singoli;
}

std::vector<Valore> Cls_Critto::ritorna_inizio_singoli(int colonna) const {
    std::vector<Valore> singoli(1);
    if (!caricata() || !colonna_valida(colonna)) {
        return singoli;
    }
    std::set<Valore, MinoreValore> visti;
    const auto& dati = colonne_[static_cast<std::size_t>(colonna)];
    for (std::size_t r = 1; r < dimensione(dati); ++r) {
        Valore v = cella(dati, r);
        if (auto* t = std::get_if<std::string>(&v)) {
            t->erase(std::min(t->find(' '), t->size()));
        }
        if (visti.insert(v).second) {
            singoli.push_back(std::move(v));
        }
    }
    return singoli;
}

bool Cls_Critto::marca_servizio(int numero, int posizione_inserimento, std::string_view valore) {
    if (!caricata() || numero < 1 || numero > righe() || posizione_inserimento < 1 ||
        posizione_inserimento > 3) {
        return false;
    }
    auto& prefisso = prefissi_[static_cast<std::size_t>(numero)];
    prefisso.resize(3, ' ');
    // Like an assignment to Mid$: the prefix keeps its length.
    const auto inizio = static_cast<std::size_t>(posizione_inserimento - 1);
    for (std::size_t k = 0; k < valore.size() && inizio + k < prefisso.size(); ++k) {
        prefisso[inizio + k] = valore[k];
    }
    return true;
}

int Cls_Critto::trova_foglia(std::string_view codice, bool scelta_prima) const {
    const auto* voci =
        secondario_valori_ ? std::get_if<std::vector<std::string>>(&*secondario_valori_) : nullptr;
    if (voci == nullptr) {
        return -1;
    }
    const std::size_t livello = livelli_.empty() || livelli_[0] <= 0
                                    ? codice.size()
                                    : static_cast<std::size_t>(livelli_[0]);
    const std::string ramo = testo::maiuscolo(codice.substr(0, livello));
    const auto confronta_ramo = [&](int p) {
        return segno(std::string_view((*voci)[static_cast<std::size_t>(p)])
                         .substr(0, ramo.size())
                         .compare(ramo));
    };
    // The bounds close on the first entry of the branch, or on its last: an equal entry in the
    // middle moves the bound that keeps the wanted end inside the range.
    int lo = 1;
    int hi = righe_caricate_;
    while (hi - lo + 1 >= soglia_foglia) {
        const int mezzo = lo + (hi - lo) / 2;
        const int c = confronta_ramo(mezzo);
        if (c < 0 || (c == 0 && !scelta_prima)) {
            lo = mezzo;
        } else {
            hi = mezzo;
        }
    }
    for (int k = 0; k <= hi - lo; ++k) {
        const int p = scelta_prima ? lo + k : hi - k;
        if (confronta_ramo(p) == 0) {
            return p;
        }
    }
    return -1;
}

} // namespace meravo
