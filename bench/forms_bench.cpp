// Maintenance forms per second in each layout, main projects with many menu entries, and how both grow
// with the size of the diagram. Targets: one entity of 100,000 attributes in under 5 s; a whole
// application of 10,000 tables in at most 11 times the time of 1,000 (linear growth).

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/string_list.h"
#include "platform/table.h"
#include "plugin/entidade.h"
#include "plugin/exports.h"
#include "tests/support/entity_builder.h"

namespace fs = std::filesystem;

namespace {

// An entity of twelve attributes with a mix of editors, as a real table would have.
std::unique_ptr<TEntidade> entity(int number, int layout) {
    static const std::vector<test_support::Attribute> kAttributes = {
        {.nome = "CODIGO", .tipo = 3, .chave = true},
        {.nome = "NOME", .tamanho = 60},
        {.nome = "RUA", .tamanho = 60},
        {.nome = "CIDADE", .tamanho = 40},
        {.nome = "UF", .tamanho = 2, .componente = 6},
        {.nome = "CEP", .tamanho = 9},
        {.nome = "FONE", .tamanho = 20},
        {.nome = "ATIVO", .tipo = 5, .componente = 2},
        {.nome = "DESDE", .tipo = 9},
        {.nome = "LIMITE", .tipo = 7},
        {.nome = "OBS", .tipo = 16, .tamanho = 200, .componente = 3},
        {.nome = "GRUPO", .tipo = 3, .componente = 5},
    };
    return test_support::make_entity("Tabela " + std::to_string(number), "TABELA" + std::to_string(number), kAttributes,
                                     {}, layout);
}

// In memory when the machine has /dev/shm, so that the figures show the generators rather than the state
// of a disk file system (on ext4, allocating inodes after many deletions can cost more than a form).
struct ScratchDirectory {
    fs::path path;
    ScratchDirectory() {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "kzr40-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch directory");
        path = pattern;
    }
    ~ScratchDirectory() { fs::remove_all(path); }
};

// 1,000 entities of one layout, each through gera_tab and gerarform as the host calls them.
void Forms(benchmark::State& state) {
    const int layout = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<TEntidade>> entities;
    for (int i = 0; i < 1000; ++i) entities.push_back(entity(i, layout));
    ScratchDirectory dir;
    const std::string prefix = dir.path.string() + "/";
    for (auto _ : state) {
        for (const auto& e : entities) {
            TTable table;
            gera_tab(&table, e.get(), prefix.c_str(), 0, true);
            gerarform(&table, e.get(), prefix.c_str(), 0, 0);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(entities.size()));
    state.SetLabel(layout == 0 ? "vertical" : layout == 1 ? "horizontal" : "grid");
}
BENCHMARK(Forms)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// One entity of many attributes (vertical layout, edits), as `kzr40 forms` runs it.
void WideEntity(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<test_support::Attribute> attributes;
    for (int i = 0; i < count; ++i) attributes.push_back({.nome = "CAMPO" + std::to_string(i), .tamanho = 20});
    const auto e = test_support::make_entity("Larga", "LARGA", attributes);
    ScratchDirectory dir;
    const std::string prefix = dir.path.string() + "/";
    for (auto _ : state) {
        TTable table;
        gera_tab(&table, e.get(), prefix.c_str(), 0, true);
        gerarform(&table, e.get(), prefix.c_str(), 0, 0);
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(WideEntity)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Complexity();

// The application side of `generate`: one maintenance form per table, then the main project with a
// menu entry per table in 20 groups.
void Application(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<TEntidade>> entities;
    StringList entries;
    for (int i = 0; i < count; ++i) {
        entities.push_back(entity(i, i % 3));
        entries.Add(("Tabela " + std::to_string(i) + ";TABELA" + std::to_string(i) + ";Grupo " + std::to_string(i % 20))
                        .c_str());
    }
    ScratchDirectory dir;
    const std::string prefix = dir.path.string() + "/";
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path);
    for (auto _ : state) {
        for (const auto& e : entities) {
            TTable table;
            gera_tab(&table, e.get(), prefix.c_str(), 0, true);
            gerarform(&table, e.get(), prefix.c_str(), 0, 0);
        }
        gerarmain(&entries, prefix.c_str(), 0, 0, "Benchmark");
    }
    fs::current_path(previous);
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(Application)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond)->Complexity();

// The main project of 1,000 and of 32,000 tables in 20 menu groups.
void MainProject(benchmark::State& state) {
    StringList entries;
    for (int i = 0; i < state.range(0); ++i)
        entries.Add(("Tabela " + std::to_string(i) + ";TABELA" + std::to_string(i) + ";Grupo " + std::to_string(i % 20))
                        .c_str());
    ScratchDirectory dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path);
    for (auto _ : state) gerarmain(&entries, "", 0, 0, "Benchmark");
    fs::current_path(previous);
    state.SetItemsProcessed(state.iterations() * entries.Count());
}
BENCHMARK(MainProject)->Arg(1'000)->Arg(32'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
