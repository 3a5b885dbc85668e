// Loading the synthetic diagram of 10,000 entities of 20 attributes from a file, in each form a diagram
// file may take: JSON, and the stored diagram as a binary stream and as text. Each file is written once,
// then load_diagram reads it whole, as every command does.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/synthetic_diagram.h"
#include "diagram/diagram.h"
#include "diagram/stored_diagram.h"

namespace {

namespace fs = std::filesystem;

enum class Form { json, stored_binary, stored_text };

// The three files, made on first use and removed when the program ends.
struct Files {
    fs::path dir = fs::temp_directory_path() / ("kzr40-stored-bench-" + std::to_string(::getpid()));
    Files() {
        fs::create_directories(dir);
        const std::string json = synthetic_diagram_json(10000, 20);
        const Diagram diagram = parse_diagram(json, "synthetic.json");
        std::ofstream(path(Form::json), std::ios::binary) << json;
        std::ofstream(path(Form::stored_binary), std::ios::binary) << stored_diagram_bytes(diagram, "s.kzd");
        std::ofstream(path(Form::stored_text), std::ios::binary) << stored_diagram_text(diagram, "s.txt");
    }
    ~Files() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    fs::path path(Form form) const {
        return dir / (form == Form::json ? "s.json" : form == Form::stored_binary ? "s.kzd" : "s.txt");
    }
};

void load(benchmark::State& state, Form form) {
    static const Files files;
    const fs::path path = files.path(form);
    state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
    for (auto _ : state) {
        Diagram diagram = load_diagram(path);
        benchmark::DoNotOptimize(diagram.entities.data());
    }
}

void BM_LoadJson10k(benchmark::State& state) { load(state, Form::json); }
void BM_LoadStoredBinary10k(benchmark::State& state) { load(state, Form::stored_binary); }
void BM_LoadStoredText10k(benchmark::State& state) { load(state, Form::stored_text); }
BENCHMARK(BM_LoadJson10k)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadStoredBinary10k)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadStoredText10k)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
