// From process start to the form on screen, with the full-size tables, against loading those
// same tables alone in this process.
#include "diagnosis/critto_diretto.h"
#include "services/messaggi.h"
#include "services/orologio.h"
#include "services/pompa_eventi.h"
#include "tables/cls_critto.h"

#include "rapporti.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace {

// The project's sample tables, or the folder MERAVO_TABELLE_BENCH names (the full-size ones).
const std::string tabelle =
    std::string(std::getenv("MERAVO_TABELLE_BENCH") ? std::getenv("MERAVO_TABELLE_BENCH")
                                                    : MERAVO_DATI_ESEMPIO) +
    "/";

class Silenzio final : public meravo::Messaggi {
public:
    meravo::Risposta mostra(std::string_view testo, std::string_view, meravo::Icona,
                            meravo::Pulsanti) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(testo.size()), testo.data());
        return meravo::Risposta::ok;
    }
};

void solo_tabelle(benchmark::State& stato) {
    meravo::PompaEventiNulla pompa;
    meravo::OrologioDiSistema orologio;
    Silenzio messaggi;
    for (auto _ : stato) {
        meravo::CrittoDiretto icdix(pompa, "icdix", std::make_shared<meravo::TabelleIcdix>());
        meravo::Cls_Critto comuni(orologio, pompa, messaggi);
        const bool ok = icdix
                            .carica_icdix(tabelle + "icdIX_completo.tda",
                                          tabelle + "icdIX_secondario_completo.tda")
                            .ok() &&
                        comuni
                            .descrizione({{8, 40, "comune"},
                                          {8, 2, "provincia"},
                                          {8, 5, "cap"},
                                          {8, 6, "codistat"},
                                          {8, 4, "sigla"}})
                            .ok() &&
                        comuni.carica(tabelle + "comuni.tda").ok();
        if (!ok) {
            stato.SkipWithError("tables not loaded");
        }
    }
}

// Starts `eseguibile` with `argomento` until it ends on its own; false when it failed.
bool esegui(const char* eseguibile, const std::string& argomento) {
    const char* argv[] = {eseguibile, argomento.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, eseguibile, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        return false;
    }
    int esito = 0;
    waitpid(pid, &esito, 0);
    return WIFEXITED(esito) && WEXITSTATUS(esito) == 0;
}

void finestra_vuota(benchmark::State& stato) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (auto _ : stato) {
        if (!esegui(MERAVO_FINESTRA_VUOTA, "")) {
            stato.SkipWithError("the empty window did not come up");
            break;
        }
    }
}

void modulo_fino_al_form(benchmark::State& stato) {
    const auto cartella = std::filesystem::temp_directory_path() / "meravo-bench-avvio";
    std::filesystem::create_directories(cartella);
    const auto input = (cartella / "paziente.txt").string();
    // The variable that ends the module at once counts only in test mode: the module runs from a
    // folder of its own with the marker file beside it.
    const auto eseguibile = (cartella / "meravo").string();
    std::filesystem::copy_file(MERAVO_ESEGUIBILE, eseguibile,
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(cartella / "debug_inps.txt");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("MERAVO_ESCI_DOPO_AVVIO", "1", 1);
    for (auto _ : stato) {
        stato.PauseTiming();
        std::ofstream(input, std::ios::binary)
            << "000direttorio tabelle=" << tabelle << "\r\n000cognome=Bianchi\r\n";
        stato.ResumeTiming();
        if (!esegui(eseguibile.c_str(), input)) {
            stato.SkipWithError("the module did not come up");
            break;
        }
    }
    std::filesystem::remove_all(cartella);
}

// Two baselines: the tables alone, and a Qt program that only shows a window.
BENCHMARK(solo_tabelle)->Name("avvio_tabelle/base")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(modulo_fino_al_form)
    ->Name("avvio_tabelle/form_mostrato")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime();
BENCHMARK(finestra_vuota)
    ->Name("avvio_qt/base")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime();
BENCHMARK(modulo_fino_al_form)
    ->Name("avvio_qt/form_mostrato")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return meravo::bench::esegui_con_rapporti(argc, argv);
}
