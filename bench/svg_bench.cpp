// SVG pictures beside Graphviz's: the placed diagram of 1,000 entities with 1,000 relationships drawn
// to SVG by `draw` (building the scene and writing the picture), and the same tables as a .dot file of
// HTML-like labels, one table a node with a row per attribute and an edge per relationship, laid out
// and drawn by `dot -Tsvg` when dot is installed. Targets: our picture no larger than dot's, and made
// in at most half dot's time, both measured in the one run (counters ours_ms, dot_ms, ours_MB,
// dot_MB). With KZR40_BENCH_KEEP=DIR the pictures and the .dot file stay in DIR. BM_Svg10k draws 10,000 entities with 10,000 relationships (target: under 0.8 s).

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/placed_diagram.h"
#include "diagram/diagram.h"
#include "diagram/scene.h"
#include "diagram/scene_picture.h"
#include "diagram/type_texts.h"

namespace fs = std::filesystem;

namespace {

std::string html_escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

// The diagram's tables as Graphviz sees them: the title and every row of the box, in its font.
std::string dot_of(const Diagram& diagram) {
    std::string dot = "digraph tables {\nnode [shape=plaintext fontname=\"Arial\" fontsize=8];\n";
    for (std::size_t i = 0; i < diagram.entities.size(); ++i) {
        const TEntidade& entity = *diagram.entities[i].entity;
        dot += "e" + std::to_string(i) + " [label=<<table border=\"1\" cellborder=\"0\" cellspacing=\"0\">";
        dot += "<tr><td align=\"left\">" + html_escaped(entity.entidade().view()) + "</td></tr>";
        for (int row = 0; row < entity.atributos().Count(); ++row)
            dot += "<tr><td align=\"left\">" + html_escaped(entity.TextoLinha(row)) + "</td></tr>";
        dot += "</table>>];\n";
    }
    for (const DiagramRelationship& r : diagram.relationships)
        dot += "e" + std::to_string(r.from) + " -> e" + std::to_string(r.to) + ";\n";
    dot += "}\n";
    return dot;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

Diagram& thousand() {
    static Diagram diagram = [] {
        select_type_texts(default_type_texts());
        return placed_diagram(1000, 40);
    }();
    return diagram;
}

Diagram& ten_thousand() {
    static Diagram diagram = [] {
        select_type_texts(default_type_texts());
        return placed_diagram(10000, 100);
    }();
    return diagram;
}

void BM_SvgBesideDot1k(benchmark::State& state) {
    Diagram& diagram = thousand();
    std::string ours;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        DiagramScene scene(diagram);
        ours = draw_picture(scene, PictureFormat::svg);
    }
    state.counters["ours_ms"] = 1000 * seconds_since(start) / static_cast<double>(state.iterations());
    state.counters["ours_MB"] = static_cast<double>(ours.size()) / 1e6;

    const std::string dot_program = KZR40_DOT;
    if (dot_program.empty()) {
        state.SetLabel("dot is not installed (Debian graphviz): no comparison");
        return;
    }
    // KZR40_BENCH_KEEP names a folder that keeps both pictures and the .dot file to look at.
    const char* keep = std::getenv("KZR40_BENCH_KEEP");
    const fs::path folder = keep ? fs::path(keep) : fs::temp_directory_path() / ("kzr40-svg-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "tables.dot") << dot_of(diagram);
    if (keep) std::ofstream(folder / "ours.svg", std::ios::binary) << ours;
    const std::string command = dot_program + " -Tsvg '" + (folder / "tables.dot").string() + "' -o '" +
                                (folder / "tables.svg").string() + "'";
    const auto dot_start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double dot_seconds = seconds_since(dot_start);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        state.counters["dot_ms"] = 1000 * dot_seconds;
        state.counters["dot_MB"] = static_cast<double>(fs::file_size(folder / "tables.svg")) / 1e6;
    } else {
        state.SetLabel("dot failed: " + command);
    }
    if (!keep) fs::remove_all(folder);
}
BENCHMARK(BM_SvgBesideDot1k)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Svg10k(benchmark::State& state) {
    Diagram& diagram = ten_thousand();
    std::size_t bytes = 0;
    for (auto _ : state) {
        DiagramScene scene(diagram);
        bytes = draw_picture(scene, PictureFormat::svg).size();
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_Svg10k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
