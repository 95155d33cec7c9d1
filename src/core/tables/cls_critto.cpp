#include "tables/cls_critto.h"

#include "services/pompa_eventi.h"
#include "tables/campi_record.h"
#include "tables/file_cifrato.h"
#include "tables/file_interi.h"
#include "tables/lettore_righe.h"
#include "tables/r4_crypt.h"
#include "tables/shell_sort_any.h"
#include "text/testo.h"

#include <cstring>
#include <new>
#include <system_error>

namespace meravo {

namespace {

namespace fs = std::filesystem;
using namespace campi_record;

constexpr int larghezza_massima_testo = 65535;
constexpr std::size_t fine_riga_crlf = 2;
// An enciphered file whose last record lacks its line end still holds that record: a remainder
// longer than this after the whole records counts as one more.
constexpr std::size_t resto_ultimo_record = 10;
constexpr std::size_t righe_per_evento = 100;

// Into the text's own storage when it fits: a reload of the same table allocates nothing.
inline void assegna(std::string& destinazione, std::string_view testo) {
    if (testo.size() > destinazione.capacity()) {
        destinazione.assign(testo);
        return;
    }
    destinazione.resize(testo.size());
    if (!testo.empty()) {
        std::memcpy(destinazione.data(), testo.data(), testo.size());
    }
}

const std::string nome_tabella_pazienti = "generale_pazienti";
const std::string nome_copia_piana = "tara_config.tmp";

} // namespace

Cls_Critto::Cls_Critto(Orologio& orologio, PompaEventi& pompa, Messaggi& messaggi)
    : orologio_(orologio), pompa_(pompa), messaggi_(messaggi) {}

Esito Cls_Critto::descrizione(std::vector<DescrizioneColonna> colonne) {
    reset();
    descrizione_.clear();
    campi_.clear();
    for (std::size_t c = 0; c < colonne.size(); ++c) {
        const auto& colonna = colonne[c];
        const auto tipo = tipo_da_codice(colonna.tipo);
        const std::string quale =
            std::string("colonna ") + std::to_string(c + 1) + " (" + colonna.nome + ")";
        if (!tipo) {
            return Esito::fallito(std::string("Tipo ") + std::to_string(colonna.tipo) +
                                  " sconosciuto nella " + quale);
        }
        if (*tipo == TipoColonna::testo &&
            (colonna.larghezza < 1 || colonna.larghezza > larghezza_massima_testo)) {
            return Esito::fallito(std::string("Larghezza ") + std::to_string(colonna.larghezza) +
                                  " non valida nella " + quale);
        }
    }
    descrizione_ = std::move(colonne);
    campi_.push_back({TipoColonna::testo, 0, 0});
    std::size_t inizio = lunghezza_prefisso;
    for (const auto& colonna : descrizione_) {
        const auto larghezza = static_cast<std::size_t>(larghezza_campo(colonna));
        campi_.push_back({*tipo_da_codice(colonna.tipo), inizio, larghezza});
        inizio += larghezza;
    }
    return Esito::riuscito();
}

Valore Cls_Critto::testata(int colonna, int parametro) const {
    if (!colonna_valida(colonna)) {
        return {};
    }
    const auto& c = descrizione_[static_cast<std::size_t>(colonna - 1)];
    switch (parametro) {
    case 1:
        return std::int32_t{c.tipo};
    case 2:
        return std::int32_t{c.larghezza};
    case 3:
        return c.nome;
    default:
        return {};
    }
}

std::size_t Cls_Critto::lunghezza_record() const {
    const auto& ultimo = campi_.back();
    return ultimo.inizio + ultimo.larghezza + fine_riga_crlf;
}

void Cls_Critto::prepara_colonne(std::size_t n) {
    bool riusabili = prefissi_.size() == n + 1 && colonne_.size() == campi_.size();
    for (std::size_t c = 1; riusabili && c < campi_.size(); ++c) {
        riusabili = tipo_uguale(colonne_[c], campi_[c].tipo) && dimensione(colonne_[c]) == n + 1;
    }
    if (riusabili) {
        return;
    }
    prefissi_.assign(n + 1, std::string());
    colonne_.assign(1, ColonnaDati{});
    for (std::size_t c = 1; c < campi_.size(); ++c) {
        colonne_.push_back(colonna_vuota(campi_[c].tipo, n + 1));
    }
}

void Cls_Critto::decodifica(std::string_view riga, std::size_t r,
                            const std::array<unsigned char, 256>* mappa, char spazio) {
    // Enciphered lines are deciphered field by field, and only the characters that are kept:
    // a text's padding is recognised by its enciphered blank and never deciphered.
    char buffer[32];
    const auto in_chiaro = [&](std::string_view campo) {
        if (mappa == nullptr) {
            return campo;
        }
        campo = campo.substr(0, sizeof buffer);
        for (std::size_t i = 0; i < campo.size(); ++i) {
            buffer[i] = static_cast<char>((*mappa)[static_cast<unsigned char>(campo[i])]);
        }
        return std::string_view(buffer, campo.size());
    };
    assegna(prefissi_[r], in_chiaro(parte(riga, 0, lunghezza_prefisso)));
    for (std::size_t c = 1; c < campi_.size(); ++c) {
        const auto& campo = campi_[c];
        const auto testo = parte(riga, campo.inizio, campo.larghezza);
        auto& colonna = colonne_[c];
        switch (campo.tipo) {
        case TipoColonna::intero16:
            std::get<std::vector<std::int16_t>>(colonna)[r] = leggi_intero16(in_chiaro(testo));
            break;
        case TipoColonna::intero32:
            std::get<std::vector<std::int32_t>>(colonna)[r] = leggi_intero32(in_chiaro(testo));
            break;
        case TipoColonna::singola:
            std::get<std::vector<float>>(colonna)[r] =
                static_cast<float>(leggi_decimale(in_chiaro(testo)));
            break;
        case TipoColonna::doppia:
            std::get<std::vector<double>>(colonna)[r] = leggi_decimale(in_chiaro(testo));
            break;
        case TipoColonna::data:
            std::get<std::vector<Data>>(colonna)[r] = leggi_data(in_chiaro(testo));
            break;
        case TipoColonna::testo: {
            auto& destinazione = std::get<std::vector<std::string>>(colonna)[r];
            const auto tenuto = leggi_testo(testo, spazio);
            if (mappa == nullptr) {
                assegna(destinazione, tenuto);
            } else {
                destinazione.resize(tenuto.size());
                // Plain pointers: through the string's own accessors every character written
                // would make the compiler read its data pointer again.
                const unsigned char* tabella = mappa->data();
                const char* da = tenuto.data();
                char* a = destinazione.data();
                for (std::size_t i = 0; i < tenuto.size(); ++i) {
                    a[i] = static_cast<char>(tabella[static_cast<unsigned char>(da[i])]);
                }
            }
            break;
        }
        }
    }
}

void Cls_Critto::svuota_riga(std::size_t r) {
    prefissi_[r].clear();
    for (std::size_t c = 1; c < colonne_.size(); ++c) {
        azzera(colonne_[c], r);
    }
}

Esito Cls_Critto::carica(const std::string& file, const OpzioniCarica& opzioni) {
    // A file too large for the memory must end as a message, like any other bad file.
    try {
        return carica_righe(file, opzioni);
    } catch (const std::bad_alloc&) {
        reset();
        return Esito::fallito("Memoria insufficiente per caricare il file " + file);
    }
}

Esito Cls_Critto::carica_righe(const std::string& file, const OpzioniCarica& opzioni) {
    copia_piana_mancata_.clear();
    computer_ = nome_computer ? nome_computer() : std::string();
    if (descrizione_.empty()) {
        return Esito::fallito("descrizione_non_caricata");
    }
    if (opzioni.ordinamento_secondario < 0 || opzioni.ordinamento_secondario > colonne()) {
        return Esito::fallito(std::string("Colonna di ordinamento ") +
                              std::to_string(opzioni.ordinamento_secondario) + " inesistente");
    }
    const fs::path percorso = testo::percorso(file);
    std::error_code errore;
    if (!fs::exists(percorso, errore)) {
        return Esito::fallito("File " + file + " mancante");
    }
    auto contenuto = leggi_file_grezzo(percorso);
    if (!contenuto) {
        return Esito::fallito("Impossibile leggere il file " + file);
    }

    // Record slots are counted from the size, with the line end the file actually uses.
    LettoreRighe lettore(contenuto->vista());
    const std::size_t lunghezza = lunghezza_record() - fine_riga_crlf + lettore.fine_riga();
    std::optional<r4_crypt> cifrario;
    std::size_t n;
    if (opzioni.lettura_crittato) {
        cifrario.emplace(orologio_);
        if (auto esito = leggi_chiavi(lettore, *cifrario, file); !esito) {
            return esito;
        }
        const std::size_t resto = contenuto->dimensione - lettore.posizione();
        n = resto / lunghezza;
        if (resto - n * lunghezza > resto_ultimo_record) {
            ++n;
        }
    } else {
        n = contenuto->dimensione / lunghezza;
    }
    // From here the rows are replaced, so this is the file the record maintenance works on.
    file_caricato_ = file;
    opzioni_caricate_ = opzioni;
    prepara_colonne(n);

    const bool copia_piana =
        cifrario && nome_tabella == nome_tabella_pazienti && !opzioni.no_decritto;
    std::string copia;
    Esito esito = Esito::riuscito();
    std::size_t fronte = 0;
    righe_in_coda_ = 0;
    long numero_riga = 0;
    std::size_t lette = 0;
    for (std::size_t i = 1; i <= n;) {
        if (++lette % righe_per_evento == 0) {
            pompa_.esegui_eventi_in_attesa();
        }
        const auto letta = lettore.prossima();
        if (!letta) {
            esito = Esito::fallito("Input oltre la fine del file " + file);
            break;
        }
        const std::string_view riga = *letta;
        // The start of the line in clear, for the status, the reduced-set mark and the number.
        std::string_view testa = riga;
        char testa_chiara[14];
        const std::array<unsigned char, 256>* mappa = nullptr;
        char spazio = ' ';
        if (cifrario) {
            ++numero_riga;
            if (copia_piana) {
                // The plain copy wants the whole line: decipher it where it lies (the reader
                // has passed it and never comes back).
                auto* inizio = contenuto->dati.get() + (riga.data() - contenuto->dati.get());
                cifrario->decritta(inizio, riga.size(), numero_riga);
                copia.append(riga).append("\r\n");
            } else {
                mappa = &cifrario->mappa_decifra(numero_riga);
                spazio = static_cast<char>(cifrario->spazio_cifrato(numero_riga));
                const auto n_testa = std::min(riga.size(), sizeof testa_chiara);
                for (std::size_t k = 0; k < n_testa; ++k) {
                    testa_chiara[k] =
                        static_cast<char>((*mappa)[static_cast<unsigned char>(riga[k])]);
                }
                testa = std::string_view(testa_chiara, n_testa);
            }
        }
        // An empty line holds no record, so it takes no slot: counting it would leave the last
        // record of the file unread.
        if (riga.empty()) {
            continue;
        }
        ++i;
        if (opzioni.lettura_parziale) {
            const auto numero = static_cast<std::int64_t>(numero_lenient(parte(testa, 3, 11)));
            if (identifica_autorizzati(opzioni.tabella_autorizzati, numero) == -1) {
                continue;
            }
        } else if (opzioni.ridotto && (testa.size() < 3 || (testa[2] != 'A' && testa[2] != 'B'))) {
            continue;
        }
        std::size_t r;
        if (!separa_cessati || testa[0] == '0') {
            r = ++fronte;
        } else {
            ++righe_in_coda_;
            r = n - static_cast<std::size_t>(righe_in_coda_) + 1;
        }
        decodifica(riga, r, mappa, spazio);
    }
    // Slots this load left empty are cleared: a reused array must not show the previous
    // table's rows to the searches that range over every slot.
    for (std::size_t r = fronte + 1; r + static_cast<std::size_t>(righe_in_coda_) <= n; ++r) {
        svuota_riga(r);
    }
    righe_caricate_ = static_cast<int>(fronte);

    // The rows are loaded whatever becomes of the copy, which only the record maintenance and
    // the other programs of the practice read: its failure is told apart.
    if (copia_piana) {
        const auto percorso_copia = percorso.parent_path() / nome_copia_piana;
        if (!scrivi_file_intero(percorso_copia, copia, Accesso::solo_utente)) {
            copia_piana_mancata_ =
                "Impossibile scrivere il file " + testo::testo_percorso(percorso_copia);
        }
    }
    if (opzioni.ordinamento_secondario != 0) {
        costruisci_secondario(opzioni.ordinamento_secondario);
    } else {
        secondario_valori_.reset();
        secondario_righe_.clear();
    }
    return esito;
}

void Cls_Critto::costruisci_secondario(int colonna) {
    secondario_valori_ = taglia(colonne_[static_cast<std::size_t>(colonna)],
                                static_cast<std::size_t>(righe_caricate_));
    secondario_righe_.resize(static_cast<std::size_t>(righe_caricate_) + 1);
    for (std::size_t i = 0; i < secondario_righe_.size(); ++i) {
        secondario_righe_[i] = static_cast<std::int32_t>(i);
    }
    std::visit(
        [this](auto& valori) {
            ShellSortAny(pompa_, static_cast<std::size_t>(righe_caricate_), false, valori,
                         secondario_righe_);
        },
        *secondario_valori_);
}

void Cls_Critto::costruisci_riga(std::size_t r, std::string& riga) const {
    riga.clear();
    scrivi_prefisso(riga, prefissi_[r]);
    for (std::size_t c = 1; c < campi_.size(); ++c) {
        const auto& colonna = colonne_[c];
        switch (campi_[c].tipo) {
        case TipoColonna::intero16:
            scrivi_intero(riga, std::get<std::vector<std::int16_t>>(colonna)[r], 5);
            break;
        case TipoColonna::intero32:
            scrivi_intero(riga, std::get<std::vector<std::int32_t>>(colonna)[r], 10);
            break;
        case TipoColonna::singola:
            scrivi_decimale(riga, std::get<std::vector<float>>(colonna)[r]);
            break;
        case TipoColonna::doppia:
            scrivi_decimale(riga, std::get<std::vector<double>>(colonna)[r]);
            break;
        case TipoColonna::data:
            scrivi_data(riga, std::get<std::vector<Data>>(colonna)[r]);
            break;
        case TipoColonna::testo:
            scrivi_testo(riga, std::get<std::vector<std::string>>(colonna)[r], campi_[c].larghezza);
            break;
        }
    }
}

Esito Cls_Critto::salva(const std::string& file, bool sovrascrivi, bool scrittura_crittato) {
    const fs::path percorso = testo::percorso(file);
    std::error_code errore;
    if (fs::exists(percorso, errore) && !sovrascrivi) {
        return Esito::fallito("file gi\xE0 presente");
    }
    if (descrizione_.empty()) {
        return Esito::fallito("descrizione_non_caricata");
    }
    const auto n = static_cast<std::size_t>(righe());
    std::string contenuto;
    contenuto.reserve(n * lunghezza_record() +
                      (scrittura_crittato ? r4_crypt::righe_chiave * 1002 : 0));
    std::optional<r4_crypt> cifrario;
    if (scrittura_crittato) {
        cifrario.emplace(orologio_);
        cifrario->posizione_chiavi(r4_crypt::frase_chiave);
        for (int j = 1; j <= r4_crypt::righe_chiave; ++j) {
            contenuto.append(cifrario->scrivi_chiavi(j)).append("\r\n");
        }
    }
    std::string riga;
    for (std::size_t r = 1; r <= n; ++r) {
        costruisci_riga(r, riga);
        if (cifrario) {
            contenuto.append(cifrario->str_encrypt(riga, static_cast<long>(r)));
        } else {
            contenuto.append(riga);
        }
        contenuto.append("\r\n");
    }
    if (!scrivi_file_intero(percorso, contenuto)) {
        return Esito::fallito("Impossibile scrivere il file " + file);
    }
    return Esito::riuscito();
}

int Cls_Critto::righe() const {
    return caricata() ? static_cast<int>(prefissi_.size()) - 1 : 0;
}

std::optional<ColonnaDati> Cls_Critto::dati(int colonna) const {
    if (!caricata() || !colonna_valida(colonna)) {
        return std::nullopt;
    }
    return taglia(colonne_[static_cast<std::size_t>(colonna)],
                  static_cast<std::size_t>(righe_caricate_));
}

std::optional<ColonnaDati> Cls_Critto::dati_secondario(int colonna) const {
    if (!secondario_valori_ || (colonna != 1 && colonna != 2)) {
        return std::nullopt;
    }
    if (colonna == 1) {
        return *secondario_valori_;
    }
    return ColonnaDati{secondario_righe_};
}

Valore Cls_Critto::dati_diretto(int ind1, int ind2) const {
    if (!caricata() || !colonna_valida(ind1) || ind2 < 1) {
        return {};
    }
    return cella(colonne_[static_cast<std::size_t>(ind1)], static_cast<std::size_t>(ind2));
}

Valore Cls_Critto::dati_diretto_secondario(int ind1, int ind2) const {
    if (!secondario_valori_ || ind2 < 1) {
        return {};
    }
    if (ind1 == 1) {
        return cella(*secondario_valori_, static_cast<std::size_t>(ind2));
    }
    if (ind1 == 2 && static_cast<std::size_t>(ind2) < secondario_righe_.size()) {
        return secondario_righe_[static_cast<std::size_t>(ind2)];
    }
    return {};
}

std::string Cls_Critto::risposta_servizio(int elemento) const {
    if (!caricata() || elemento < 1 || elemento > righe()) {
        return {};
    }
    return prefissi_[static_cast<std::size_t>(elemento)];
}

bool Cls_Critto::modifica_tabella(int ind1, int ind2, const Valore& valore) {
    if (!caricata() || !colonna_valida(ind1) || ind2 < 1 || ind2 > righe()) {
        return false;
    }
    const auto c = static_cast<std::size_t>(ind1);
    auto convertito = converti(valore, campi_[c].tipo);
    if (!convertito) {
        return false;
    }
    imposta(colonne_[c], static_cast<std::size_t>(ind2), std::move(*convertito));
    return true;
}

std::vector<ColonnaDati> Cls_Critto::tutti_dati() const {
    return colonne_;
}

void Cls_Critto::reset() {
    colonne_.clear();
    prefissi_.clear();
    righe_caricate_ = 0;
    righe_in_coda_ = 0;
    secondario_valori_.reset();
    secondario_righe_.clear();
}

} // namespace meravo
