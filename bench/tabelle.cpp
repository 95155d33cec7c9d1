// Cls_Critto on a generated 200,000-record table of five text columns: plain and enciphered load
// against a plain std::ifstream line read of the same file, and the cost of one search.
#include "services/messaggi.h"
#include "services/orologio.h"
#include "services/pompa_eventi.h"
#include "tables/cls_critto.h"
#include "tables/file_interi.h"

#include "rapporti.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class MessaggiInConsole final : public meravo::Messaggi {
public:
    meravo::Risposta mostra(std::string_view testo, std::string_view, meravo::Icona,
                            meravo::Pulsanti) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(testo.size()), testo.data());
        std::abort();
    }
};

constexpr int record = 200000;
const std::vector<meravo::DescrizioneColonna> layout = {
    {8, 30, "cognome"}, {8, 25, "nome"}, {8, 40, "indirizzo"}, {8, 30, "comune"}, {8, 16, "codice"},
};

struct Dati {
    fs::path cartella;
    fs::path piano;
    fs::path cifrato;
    std::vector<std::string> chiavi; // column 1, ascending
};

Dati& dati() {
    static Dati d;
    return d;
}

std::string campo(std::string testo, std::size_t larghezza) {
    testo.resize(larghezza, ' ');
    return testo;
}

void prepara() {
    auto& d = dati();
    d.cartella = fs::temp_directory_path() / "meravo_bench_tabelle";
    fs::create_directories(d.cartella);
    d.piano = d.cartella / "pazienti.tda";
    d.cifrato = d.cartella / "pazienti.tcl";
    // Written in one go, as salva writes the enciphered copy: the page cache then holds both
    // files alike and the two raw reads cost the same.
    std::string contenuto;
    char numero[16];
    for (int i = 1; i <= record; ++i) {
        std::snprintf(numero, sizeof numero, "%07d", i);
        const std::string n(numero);
        d.chiavi.push_back("COGNOME PAZIENTE " + n);
        contenuto += "000" + campo(d.chiavi.back(), 30) + campo("NOME " + n, 25) +
                     campo("VIA DEI MILLE " + std::to_string(i % 300) + ", INTERNO " + n, 40) +
                     campo("COMUNE " + std::to_string(i % 7904), 30) +
                     campo("RSSMRA80A01F" + n.substr(3), 16) + "\r\n";
    }
    if (!meravo::scrivi_file_intero(d.piano, contenuto)) {
        std::abort();
    }
    meravo::OrologioDiSistema orologio;
    meravo::PompaEventiNulla pompa;
    MessaggiInConsole messaggi;
    meravo::Cls_Critto t(orologio, pompa, messaggi);
    if (!t.descrizione(layout) || !t.carica(d.piano.string()) ||
        !t.salva(d.cifrato.string(), true, true)) {
        std::abort();
    }
}

std::size_t leggi_righe(const fs::path& file) {
    std::ifstream f(file, std::ios::binary);
    std::string riga;
    std::size_t totale = 0;
    while (std::getline(f, riga)) {
        totale += riga.size();
    }
    return totale;
}

void base_piano(benchmark::State& stato) {
    for (auto _ : stato) {
        benchmark::DoNotOptimize(leggi_righe(dati().piano));
    }
}

void base_cifrato(benchmark::State& stato) {
    for (auto _ : stato) {
        benchmark::DoNotOptimize(leggi_righe(dati().cifrato));
    }
}

// `nuova`: a fresh object each time, so every load allocates its columns; otherwise the same
// object reloads a table of unchanged size into the arrays it already has.
void carica(benchmark::State& stato, const fs::path& file, bool cifrato, bool nuova) {
    meravo::OrologioDiSistema orologio;
    meravo::PompaEventiNulla pompa;
    MessaggiInConsole messaggi;
    meravo::OpzioniCarica opzioni;
    opzioni.lettura_crittato = cifrato;
    auto t = std::make_unique<meravo::Cls_Critto>(orologio, pompa, messaggi);
    t->descrizione(layout);
    for (auto _ : stato) {
        if (nuova) {
            stato.PauseTiming();
            t = std::make_unique<meravo::Cls_Critto>(orologio, pompa, messaggi);
            t->descrizione(layout);
            stato.ResumeTiming();
        }
        if (!t->carica(file.string(), opzioni) || t->righe() != record) {
            stato.SkipWithError("load failed");
            return;
        }
    }
}

void piano(benchmark::State& s) {
    carica(s, dati().piano, false, false);
}
void piano_nuova(benchmark::State& s) {
    carica(s, dati().piano, false, true);
}
void cifrato(benchmark::State& s) {
    carica(s, dati().cifrato, true, false);
}
void cifrato_nuova(benchmark::State& s) {
    carica(s, dati().cifrato, true, true);
}

struct TabellaCaricata {
    meravo::OrologioDiSistema orologio;
    meravo::PompaEventiNulla pompa;
    MessaggiInConsole messaggi;
    meravo::Cls_Critto t{orologio, pompa, messaggi};
    TabellaCaricata() {
        if (!t.descrizione(layout) || !t.carica(dati().piano.string())) {
            std::abort();
        }
    }
};

// Keys spread over the whole table, in an order unrelated to it.
std::string chiave(std::size_t k) {
    return dati().chiavi[(k * 7919) % dati().chiavi.size()];
}

void dicotomica_base(benchmark::State& stato) {
    const auto& chiavi = dati().chiavi;
    std::size_t k = 0;
    for (auto _ : stato) {
        benchmark::DoNotOptimize(std::lower_bound(chiavi.begin(), chiavi.end(), chiave(k++)));
    }
}

void dicotomica(benchmark::State& stato) {
    TabellaCaricata c;
    std::size_t k = 0;
    for (auto _ : stato) {
        if (c.t.identifica_elemento_dicotomica(chiave(k++), 1) < 1) {
            stato.SkipWithError("not found");
        }
    }
}

void lineare_base(benchmark::State& stato) {
    const auto& chiavi = dati().chiavi;
    std::size_t k = 0;
    for (auto _ : stato) {
        benchmark::DoNotOptimize(std::find(chiavi.begin(), chiavi.end(), chiave(k++)));
    }
}

void lineare(benchmark::State& stato) {
    TabellaCaricata c;
    std::size_t k = 0;
    for (auto _ : stato) {
        if (c.t.identifica_elemento(chiave(k++), 1) < 1) {
            stato.SkipWithError("not found");
        }
    }
}

BENCHMARK(base_piano)->Name("carica_piano/base_ifstream")->Unit(benchmark::kMillisecond);
BENCHMARK(piano)->Name("carica_piano/Cls_Critto")->Unit(benchmark::kMillisecond);
BENCHMARK(piano_nuova)->Name("carica_piano/Cls_Critto_nuova")->Unit(benchmark::kMillisecond);
BENCHMARK(base_cifrato)->Name("carica_cifrato/base_ifstream")->Unit(benchmark::kMillisecond);
BENCHMARK(cifrato)->Name("carica_cifrato/Cls_Critto")->Unit(benchmark::kMillisecond);
BENCHMARK(cifrato_nuova)->Name("carica_cifrato/Cls_Critto_nuova")->Unit(benchmark::kMillisecond);
BENCHMARK(dicotomica_base)->Name("dicotomica/base_lower_bound")->Unit(benchmark::kMicrosecond);
BENCHMARK(dicotomica)
    ->Name("dicotomica/identifica_elemento_dicotomica")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(lineare_base)->Name("lineare/base_find")->Unit(benchmark::kMicrosecond);
BENCHMARK(lineare)->Name("lineare/identifica_elemento")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    prepara();
    const int esito = meravo::bench::esegui_con_rapporti(argc, argv);
    std::error_code ignorato;
    fs::remove_all(dati().cartella, ignorato);
    return esito;
}
