// Automatic layout of n boxes with n edges between random boxes, the shape of an entity diagram
// with about one relationship per entity: the automatic engine choice at 100, 1,000 and 10,000 boxes,
// and each engine alone around the size where the choice switches; and diagrams of 0..3 relationships
// per entity, on which dot's effort has to be bounded.

#include <random>

#include <benchmark/benchmark.h>

#include "diagram/auto_layout.h"

namespace {

struct Graph {
    std::vector<LayoutBox> boxes;
    std::vector<LayoutEdge> edges;
};

// Entity-like boxes: 100..220 pixels wide, 40..300 high.
Graph diagram_graph(std::size_t count) {
    std::mt19937 random(42);
    auto number = [&](std::size_t low, std::size_t high) { return std::uniform_int_distribution<std::size_t>(low, high)(random); };
    Graph g;
    for (std::size_t i = 0; i < count; ++i)
        g.boxes.push_back({static_cast<std::int32_t>(number(100, 220)), static_cast<std::int32_t>(number(40, 300))});
    for (std::size_t i = 0; i < count; ++i) g.edges.push_back({number(0, count - 1), number(0, count - 1)});
    return g;
}

// As the seeded random diagrams of the layout tests: each box with 0..3 edges to other boxes, 1.5 on
// average. Past one edge per box most boxes lie on one large cycle of cycles, which dot breaks into
// a long chain of ranks (148 at 1,000 boxes): the case that took dot minutes.
Graph related_graph(std::size_t count) {
    std::mt19937 random(42);
    auto number = [&](std::size_t low, std::size_t high) { return std::uniform_int_distribution<std::size_t>(low, high)(random); };
    Graph g = diagram_graph(count);
    g.edges.clear();
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t k = number(0, 3); k > 0; --k)
            if (const std::size_t to = number(0, count - 1); to != i) g.edges.push_back({i, to});
    return g;
}

void run(benchmark::State& state, LayoutEngine engine, Graph (*make)(std::size_t) = diagram_graph) {
    const Graph g = make(static_cast<std::size_t>(state.range(0)));
    const LayoutOptions options{.engine = engine};
    for (auto _ : state) benchmark::DoNotOptimize(auto_layout(g.boxes, g.edges, options));
    state.SetLabel(layout_engine_for(g.boxes, options) == LayoutEngine::dot ? "dot" : "sfdp");
}

void BM_AutoLayout(benchmark::State& state) { run(state, LayoutEngine::automatic); }
void BM_Dot(benchmark::State& state) { run(state, LayoutEngine::dot); }
void BM_Sfdp(benchmark::State& state) { run(state, LayoutEngine::sfdp); }

BENCHMARK(BM_AutoLayout)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Dot)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Sfdp)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_DotRelated(benchmark::State& state) { run(state, LayoutEngine::dot, related_graph); }
void BM_AutoLayoutRelated(benchmark::State& state) { run(state, LayoutEngine::automatic, related_graph); }
BENCHMARK(BM_DotRelated)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_AutoLayoutRelated)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

// n boxes and no edges, a diagram of unrelated tables: every box is a part of its own, set in a grid
// (3,000 as in the packing measurement; 10,000 and 100,000 to show the growth is linear).
void BM_LoneBoxesSfdp(benchmark::State& state) {
    Graph g = diagram_graph(static_cast<std::size_t>(state.range(0)));
    g.edges.clear();
    const LayoutOptions options{.engine = LayoutEngine::sfdp};
    for (auto _ : state) benchmark::DoNotOptimize(auto_layout(g.boxes, g.edges, options));
}
BENCHMARK(BM_LoneBoxesSfdp)->Arg(3000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
