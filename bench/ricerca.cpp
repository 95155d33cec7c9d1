// Diagnosis look-up on the full-size table: loading against a plain read of the same files,
// the two searches and whole keystrokes against the least work that gives the same matches.
#include "diagnosis/critto_diretto.h"
#include "lookup/trova.h"
#include "services/messaggi.h"
#include "services/pompa_eventi.h"
#include "services/segnale.h"

#include "rapporti.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The project's sample tables, or the folder MERAVO_TABELLE_BENCH names (the full-size ones).
const std::string cartella =
    std::getenv("MERAVO_TABELLE_BENCH") ? std::getenv("MERAVO_TABELLE_BENCH") : MERAVO_DATI_ESEMPIO;
const std::string completo = cartella + "/icdIX_completo.tda";
const std::string secondario = cartella + "/icdIX_secondario_completo.tda";

class Silenzio final : public meravo::Messaggi, public meravo::Segnale {
public:
    meravo::Risposta mostra(std::string_view, std::string_view, meravo::Icona,
                            meravo::Pulsanti) override {
        return meravo::Risposta::ok;
    }
    void beep() override {}
};

struct Banco {
    meravo::PompaEventiNulla pompa;
    Silenzio silenzio;
    meravo::CrittoDiretto icdix{pompa, "icdix", std::make_shared<meravo::TabelleIcdix>()};
    meravo::trova t{pompa, silenzio, silenzio};
    std::vector<std::string> descrizioni;

    Banco() {
        if (!icdix.carica_icdix(completo, secondario)) {
            std::fprintf(stderr, "tables not found in %s\n", cartella.c_str());
            std::exit(1);
        }
        t.inizializza(icdix, 2, "", 2300, "icdix");
        t.InputMinMaiuscIndifferente(true);
        descrizioni = *icdix.dati(2);
    }
};

Banco& banco() {
    static Banco b;
    return b;
}

const std::vector<std::string> prefissi = {"B",      "BR",      "BRO",      "BRON",     "BRONC",
                                           "BRONCH", "BRONCHI", "BRONCHIT", "BRONCHITE"};
const std::vector<std::string> parti = {"A", "AC", "ACU", "ACUT", "ACUTA"};

void per_tasto(benchmark::State& stato, std::size_t tasti) {
    stato.counters["per_tasto"] = benchmark::Counter(static_cast<double>(tasti),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

std::string leggi_tutto(const std::string& file) {
    std::ifstream f(file, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void carica_base(benchmark::State& stato) {
    for (auto _ : stato) {
        benchmark::DoNotOptimize(leggi_tutto(completo).size() + leggi_tutto(secondario).size());
    }
}

void carica_icdix(benchmark::State& stato) {
    meravo::PompaEventiNulla pompa;
    meravo::CrittoDiretto icdix(pompa, "icdix", std::make_shared<meravo::TabelleIcdix>());
    for (auto _ : stato) {
        benchmark::DoNotOptimize(icdix.carica_icdix(completo, secondario).ok());
    }
}

// The least a prefix search can do: the run of sorted entries that begin with the key.
void sinistra_base(benchmark::State& stato) {
    const auto& d = banco().descrizioni;
    for (auto _ : stato) {
        for (const auto& p : prefissi) {
            const auto da = std::lower_bound(d.begin() + 1, d.end(), p);
            auto a = da;
            while (a != d.end() && a->compare(0, p.size(), p) == 0) {
                ++a;
            }
            benchmark::DoNotOptimize(std::vector<std::string>(da, a));
        }
    }
    per_tasto(stato, prefissi.size());
}

void sinistra_trova(benchmark::State& stato) {
    auto& t = banco().t;
    for (auto _ : stato) {
        for (const auto& p : prefissi) {
            t.sinistra(p);
        }
    }
    per_tasto(stato, prefissi.size());
}

void sinistra_tasti(benchmark::State& stato) {
    auto& t = banco().t;
    for (auto _ : stato) {
        stato.PauseTiming();
        t.inizializza_senza_caricare("");
        stato.ResumeTiming();
        for (char c : std::string("bronchite")) {
            t.carattere_testo(c);
        }
    }
    per_tasto(stato, 9);
}

// The least a containment search can do: one scan of every entry per key.
void ovunque_base(benchmark::State& stato) {
    const auto& d = banco().descrizioni;
    for (auto _ : stato) {
        for (const auto& p : parti) {
            std::vector<std::string> trovati;
            for (std::size_t i = 1; i < d.size(); ++i) {
                if (d[i].find(p) != std::string::npos) {
                    trovati.push_back(d[i]);
                }
            }
            benchmark::DoNotOptimize(trovati);
        }
    }
    per_tasto(stato, parti.size());
}

void ovunque_trova(benchmark::State& stato) {
    auto& t = banco().t;
    for (auto _ : stato) {
        for (const auto& p : parti) {
            t.ovunque(p);
        }
    }
    per_tasto(stato, parti.size());
}

void ovunque_tasti(benchmark::State& stato) {
    auto& t = banco().t;
    for (auto _ : stato) {
        stato.PauseTiming();
        t.inizializza_senza_caricare("");
        t.tasto_giu_testo(meravo::Tasto::spazio, meravo::modificatori::nessuno);
        t.carattere_testo(' ');
        stato.ResumeTiming();
        for (char c : std::string("acuta")) {
            t.carattere_testo(c);
        }
    }
    per_tasto(stato, parti.size());
}

BENCHMARK(carica_base)->Name("carica_icdix/base")->Unit(benchmark::kMillisecond);
BENCHMARK(carica_icdix)->Name("carica_icdix/CrittoDiretto")->Unit(benchmark::kMillisecond);
BENCHMARK(sinistra_base)->Name("sinistra/base")->Unit(benchmark::kMicrosecond);
BENCHMARK(sinistra_trova)->Name("sinistra/trova")->Unit(benchmark::kMicrosecond);
BENCHMARK(sinistra_tasti)->Name("sinistra/tasti")->Unit(benchmark::kMicrosecond);
BENCHMARK(ovunque_base)->Name("ovunque/base")->Unit(benchmark::kMicrosecond);
BENCHMARK(ovunque_trova)->Name("ovunque/trova")->Unit(benchmark::kMicrosecond);
BENCHMARK(ovunque_tasti)->Name("ovunque/tasti")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return meravo::bench::esegui_con_rapporti(argc, argv);
}
