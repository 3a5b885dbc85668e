// Stored diagrams of large diagrams, the whole round: the stored form written (`store`) and read back.
// Both free a whole document at the end, which must not remove foreign keys relationship by
// relationship (target: 20,000 entities within 1 s each way, growing linearly). A chain relates entity
// i to entity i+1, its relationships listed from the last down so that each one freed would cascade
// through the rest of the chain; the grid is the placed diagram of the drawing benchmarks.

#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "bench/placed_diagram.h"
#include "bench/synthetic_diagram.h"
#include "diagram/stored_diagram.h"
#include "host/memory_tuning.h"

namespace {

Diagram chain_diagram(int entities) {
    Diagram diagram = parse_diagram(synthetic_diagram_json(entities, 5), "chain");
    for (int i = 0; i < entities; ++i) {
        diagram.entities[static_cast<std::size_t>(i)].shape.left = 20 + kPlacedSpacing * (i % 100);
        diagram.entities[static_cast<std::size_t>(i)].shape.top = 20 + kPlacedSpacing * (i / 100);
    }
    for (int i = entities - 2; i >= 0; --i) {
        DiagramRelationship r;
        r.name = "R" + std::to_string(i);
        r.from = static_cast<std::size_t>(i);
        r.to = static_cast<std::size_t>(i + 1);
        diagram.relationships.push_back(std::move(r));
    }
    return diagram;
}

// Built once per shape and size: the benchmarks time the stored form, not the diagram's making.
const Diagram& diagram_of(bool chain, int entities) {
    static std::map<std::pair<bool, int>, Diagram> made;
    auto it = made.find({chain, entities});
    if (it == made.end())
        it = made.emplace(std::pair{chain, entities}, chain ? chain_diagram(entities) : placed_diagram(entities, 100)).first;
    return it->second;
}

void store(benchmark::State& state, bool chain) {
    const Diagram& diagram = diagram_of(chain, static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) bytes = stored_diagram_bytes(diagram, "bench").size();
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void read_back(benchmark::State& state, bool chain) {
    const std::string stored = stored_diagram_bytes(diagram_of(chain, static_cast<int>(state.range(0))), "bench");
    for (auto _ : state) benchmark::DoNotOptimize(parse_stored_diagram(stored, "bench").entities.size());
}

void BM_StoreChain(benchmark::State& state) { store(state, true); }
void BM_ReadBackChain(benchmark::State& state) { read_back(state, true); }
void BM_StoreGrid(benchmark::State& state) { store(state, false); }
void BM_ReadBackGrid(benchmark::State& state) { read_back(state, false); }

// Argument: the number of entities; twice as many should take twice as long.
BENCHMARK(BM_StoreChain)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ReadBackChain)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_StoreGrid)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ReadBackGrid)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

// Under the allocator set-up of the commands that store and read back (store, convert).
int main(int argc, char** argv) {
    tune_allocator_for_large_runs();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
