#include "rapporti.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace meravo::bench {

namespace {

class ReporterRapporti final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            // With repetitions the median stands for the benchmark; otherwise its one run does.
            const bool mediana = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.error_occurred || (r.run_type != Run::RT_Iteration && !mediana)) {
                continue;
            }
            // Only the "group/name" the benchmark was given: run options Google Benchmark
            // appends ("/iterations:10", "/real_time", "/repeats:5") are not part of it.
            const auto nome = r.run_name.function_name;
            const auto barra = nome.find('/');
            if (barra == std::string::npos) {
                continue;
            }
            auto& tempi = gruppi_[nome.substr(0, barra)];
            tempi[nome.substr(barra + 1)] = r.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nRatios against the baseline of each group (same run):\n");
        for (const auto& [gruppo, voci] : gruppi_) {
            double base = 0;
            for (const auto& [nome, tempo] : voci) {
                if (nome.rfind("base", 0) == 0) {
                    base = tempo;
                }
            }
            for (const auto& [nome, tempo] : voci) {
                if (base > 0 && nome.rfind("base", 0) != 0) {
                    std::printf("  %-28s %-28s %7.3fx\n", gruppo.c_str(), nome.c_str(),
                                tempo / base);
                }
            }
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> gruppi_;
};

} // namespace

int esegui_con_rapporti(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    ReporterRapporti reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace meravo::bench
