// Maintenance forms per second in each layout, and main projects with many menu entries.

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
#include "plugin/registros.h"

namespace fs = std::filesystem;

namespace {

// An entity of twelve attributes with a mix of editors, as a real table would have.
std::unique_ptr<TEntidade> entity(int number, int layout) {
    static const struct {
        const char* nome;
        int tipo, tamanho, componente;
    } kAttributes[] = {
        {"CODIGO", 3, 0, 1},  {"NOME", 1, 60, 1},    {"RUA", 1, 60, 1},      {"CIDADE", 1, 40, 1},
        {"UF", 1, 2, 6},      {"CEP", 1, 9, 1},      {"FONE", 1, 20, 1},     {"ATIVO", 5, 0, 2},
        {"DESDE", 9, 0, 1},   {"LIMITE", 7, 0, 1},   {"OBS", 16, 200, 3},    {"GRUPO", 3, 0, 5},
    };
    auto e = std::make_unique<TEntidade>();
    e->SetTabela("TABELA" + std::to_string(number));
    e->SetEntidade("Tabela " + std::to_string(number));
    e->SetTipoform(layout);
    StringList list;
    for (const auto& a : kAttributes) {
        auto* record = new TAtributo;
        record->nome = a.nome;
        record->titulo = a.nome;
        record->tipo = a.tipo;
        record->tamanho = a.tamanho;
        record->componente = a.componente;
        record->chave = list.Count() == 0 ? kChavePrimaria : 0;
        list.AddObject(a.nome, record);
    }
    e->SetAtributos(list);
    return e;
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

// The main project of 1,000 tables in 20 menu groups.
void MainProject(benchmark::State& state) {
    StringList entries;
    for (int i = 0; i < 1000; ++i)
        entries.Add(("Tabela " + std::to_string(i) + ";TABELA" + std::to_string(i) + ";Grupo " + std::to_string(i % 20))
                        .c_str());
    ScratchDirectory dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path);
    for (auto _ : state) gerarmain(&entries, "", 0, 0, "Benchmark");
    fs::current_path(previous);
    state.SetItemsProcessed(state.iterations() * entries.Count());
}
BENCHMARK(MainProject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
