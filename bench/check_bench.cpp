// `kzr40 check` of the synthetic diagram of 10,000 entities of 20 attributes with one relationship per
// entity: the whole check (load_diagram of the file, the model's keys and the review), and the keys
// and the review alone on the loaded diagram. Goal: the whole check under 0.3 s.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/synthetic_diagram.h"
#include "diagram/diagram.h"
#include "diagram/model_keys.h"
#include "diagram/model_review.h"
#include "host/memory_tuning.h"

namespace {

namespace fs = std::filesystem;

// The diagram file, written on first use and removed when the program ends.
struct File {
    fs::path path = fs::temp_directory_path() / ("kzr40-check-bench-" + std::to_string(::getpid()) + ".json");
    File() { std::ofstream(path, std::ios::binary) << synthetic_diagram_json(10000, 20, true); }
    ~File() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
};
const File& file() {
    static const File f;
    return f;
}

// As the command runs: under the allocator set-up of the large runs, and leaving the diagram for the
// process's end to take back, so that its freeing is not timed.
void BM_Check10k(benchmark::State& state) {
    tune_allocator_for_large_runs();
    for (auto _ : state) {
        auto diagram = std::make_unique<Diagram>(load_diagram(file().path));
        const std::vector<ReviewFinding> findings = review_model(*diagram);
        if (!findings.empty()) state.SkipWithError("the synthetic diagram has findings");
        benchmark::DoNotOptimize(findings.data());
        state.PauseTiming();
        diagram.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Check10k)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ModelKeys10k(benchmark::State& state) {
    const Diagram diagram = load_diagram(file().path);
    for (auto _ : state) {
        const ModelKeys keys = model_keys(diagram);
        benchmark::DoNotOptimize(keys.foreign_keys.data());
    }
}
BENCHMARK(BM_ModelKeys10k)->Unit(benchmark::kMillisecond);

void BM_Review10k(benchmark::State& state) {
    const Diagram diagram = load_diagram(file().path);
    for (auto _ : state) {
        const std::vector<ReviewFinding> findings = review_model(diagram);
        benchmark::DoNotOptimize(findings.data());
    }
}
BENCHMARK(BM_Review10k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
