// Throughput of the schema generators through the plug-in's entry points, and of a whole `kzr40 sql`
// run (JSON included) in process, on a synthetic diagram of 10,000 entities x 20 attributes and on one
// entity of 100,000 attributes.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/synthetic_diagram.h"
#include "diagram/diagram.h"
#include "host/memory_tuning.h"
#include "host/schema_run.h"
#include "platform/string_list.h"

namespace {

constexpr int kEntities = 10000;
constexpr int kAttributes = 20;

const std::string& diagram_json() {
    static const std::string json = synthetic_diagram_json(kEntities, kAttributes);
    return json;
}

const Diagram& diagram() {
    static const Diagram loaded = parse_diagram(diagram_json(), "synthetic");
    return loaded;
}

std::int64_t listing_bytes(const StringList& listing) {
    std::int64_t bytes = 0;
    for (int i = 0; i < listing.Count(); ++i) bytes += static_cast<std::int64_t>(listing.Text(i).size()) + 2;
    return bytes;
}

// The run as the host drives it: banner, gera_fonte per entity, montar_listagem, finalizar.
void generate(benchmark::State& state, std::int32_t language) {
    ::setenv("SOURCE_DATE_EPOCH", "0", 1);
    const Diagram& d = diagram();
    std::int64_t bytes = 0;
    StringList listing;
    for (auto _ : state) {
        // Freeing the previous listing is the host's business, not the generator's.
        state.PauseTiming();
        listing.Clear();
        state.ResumeTiming();
        run_schema(d, SchemaRunOptions{language, 0, true}, listing);
        if (bytes == 0) bytes = listing_bytes(listing);  // the same every time
        benchmark::DoNotOptimize(listing);
    }
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["entities"] = kEntities;
}

void BM_SqlScript(benchmark::State& state) { generate(state, kLanguageSql); }
void BM_TableUnit(benchmark::State& state) { generate(state, kLanguageUnit); }

// What `kzr40 sql FILE --drop` does between reading the file and writing the listing.
void sql_run_with_json(benchmark::State& state, const std::string& json) {
    ::setenv("SOURCE_DATE_EPOCH", "0", 1);
    for (auto _ : state) {
        const Diagram d = parse_diagram(json, "synthetic");
        StringList listing;
        run_schema(d, SchemaRunOptions{kLanguageSql, 0, true}, listing);
        std::string text = listing_text(listing);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(json.size()) * state.iterations());
}

// Target: the whole `kzr40 sql` on this diagram (process start and file included) within 0.2 s and
// 100 MB at its peak; this is its in-process part.
void BM_SqlRunWithJson(benchmark::State& state) { sql_run_with_json(state, diagram_json()); }

// One entity of 100,000 attributes: every per-entity check must stay linear. Target: within 0.5 s.
void BM_SqlRunOneWideEntity(benchmark::State& state) {
    static const std::string json = synthetic_diagram_json(1, 100000);
    sql_run_with_json(state, json);
}

void BM_LoadDiagram(benchmark::State& state) {
    const std::string& json = diagram_json();
    for (auto _ : state) {
        Diagram d = parse_diagram(json, "synthetic");
        benchmark::DoNotOptimize(d);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(json.size()) * state.iterations());
}

}  // namespace

BENCHMARK(BM_SqlScript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableUnit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDiagram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqlRunWithJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqlRunOneWideEntity)->Unit(benchmark::kMillisecond);

// The generators run under the allocator set-up that the host's commands use.
int main(int argc, char** argv) {
    tune_allocator_for_large_runs();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
