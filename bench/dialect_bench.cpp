// `kzr40 sql --dialect postgresql` beside `kzr40 sql --kind paradox` on the synthetic diagram of 10,000
// entities of 20 attributes with one relationship (a two-column foreign key) per entity, in process:
// the JSON read, the review and the script, as the commands run them, and the scripts alone on the
// loaded diagram; and simdjson's own parse of the same file.
// Targets: the dialect's run within the plug-in's run plus 20 %, and within 3x simdjson's parse.

#include <benchmark/benchmark.h>

#include <simdjson.h>

#include <cstdlib>

#include "bench/synthetic_diagram.h"
#include "diagram/diagram.h"
#include "diagram/model_keys.h"
#include "diagram/model_review.h"
#include "dialects/schema_plan.h"
#include "dialects/script_writer.h"
#include "host/memory_tuning.h"
#include "host/schema_run.h"
#include "platform/string_list.h"

namespace {

const std::string& diagram_json() {
    static const std::string json = synthetic_diagram_json(10000, 20, true);
    return json;
}

const Diagram& diagram() {
    static const Diagram loaded = parse_diagram(diagram_json(), "synthetic");
    return loaded;
}

std::string dialect_script(const Diagram& d, const ModelKeys& keys) {
    const SchemaPlan plan = plan_schema(d, keys, Dialect::postgresql, "synthetic");
    return write_script(d, plan, false);
}

std::string paradox_script(const Diagram& d) {
    StringList listing;
    run_schema(d, SchemaRunOptions{kLanguageSql, 0, false}, listing);
    return listing_text(listing);
}

void whole_run(benchmark::State& state, bool dialect) {
    ::setenv("SOURCE_DATE_EPOCH", "0", 1);
    std::size_t bytes = 0;
    for (auto _ : state) {
        // As the commands do: sql --dialect derives the keys once, for the review and the script.
        const Diagram d = parse_diagram(diagram_json(), "synthetic");
        std::string script;
        if (dialect) {
            const ModelKeys keys = model_keys(d);
            const std::vector<ReviewFinding> findings = review_model(d, keys);
            benchmark::DoNotOptimize(findings.data());
            script = dialect_script(d, keys);
        } else {
            const std::vector<ReviewFinding> findings = review_model(d);
            benchmark::DoNotOptimize(findings.data());
            script = paradox_script(d);
        }
        bytes = script.size();
        benchmark::DoNotOptimize(script.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(diagram_json().size()) * state.iterations());
    state.counters["script_bytes"] = static_cast<double>(bytes);
}

void BM_SqlDialectPostgresql(benchmark::State& state) { whole_run(state, true); }
void BM_SqlKindParadox(benchmark::State& state) { whole_run(state, false); }

void script_alone(benchmark::State& state, bool dialect) {
    ::setenv("SOURCE_DATE_EPOCH", "0", 1);
    const Diagram& d = diagram();
    for (auto _ : state) {
        const std::string script = dialect ? dialect_script(d, model_keys(d)) : paradox_script(d);
        benchmark::DoNotOptimize(script.data());
    }
}

void BM_DialectScriptAlone(benchmark::State& state) { script_alone(state, true); }
void BM_ParadoxScriptAlone(benchmark::State& state) { script_alone(state, false); }

void BM_SimdjsonParse(benchmark::State& state) {
    const simdjson::padded_string json(diagram_json());
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element document;
        if (parser.parse(json).get(document) != simdjson::SUCCESS) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(json.size()) * state.iterations());
}

BENCHMARK(BM_SqlDialectPostgresql)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqlKindParadox)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DialectScriptAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParadoxScriptAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimdjsonParse)->Unit(benchmark::kMillisecond);

}  // namespace

// Both commands run under the allocator set-up of the large runs; so do the benchmarks.
int main(int argc, char** argv) {
    tune_allocator_for_large_runs();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
