// `kzr40 import` at scale: a SQLite database of 10,000 tables (20 columns, 2 indexes and 1 foreign key
// each) read into a diagram, with and without the automatic layout, and a folder of 1,000 .DBF tables
// of 20 fields. Targets: SQLite import with layout under 3 s, the import alone under 0.5 s; the
// 1,000 .DBF files under 0.5 s.

#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "import/build_diagram.h"
#include "import/dbase_source.h"
#include "import/sqlite_source.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTables = 10000;
constexpr int kDbaseFiles = 1000;

// Made once, removed when the program ends.
struct Scratch {
    fs::path path;
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "kzr40-import-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};
Scratch& scratch() {
    static Scratch s;
    return s;
}

// SQLite takes minutes to create 30,000 tables and indexes (each CREATE walks every table's foreign
// keys), so the database is kept beside the benchmark and made again only when it is missing.
const fs::path& sqlite_database() {
    static const fs::path file = [] {
        std::error_code error;
        const fs::path kept = fs::read_symlink("/proc/self/exe", error).parent_path() / "import_bench_tables_v1.db";
        if (!error && fs::exists(kept)) return kept;
        const fs::path path = scratch().path / "tables.db";
        std::string sql = "BEGIN;\n";
        for (int t = 0; t < kTables; ++t) {
            const std::string name = "t" + std::to_string(t);
            sql += "CREATE TABLE " + name + " (id INTEGER NOT NULL PRIMARY KEY";
            sql += t > 0 ? ", ref INTEGER REFERENCES t" + std::to_string(t - 1) + " (id)" : std::string(", ref INTEGER");
            for (int c = 2; c < 20; ++c) sql += ", c" + std::to_string(c) + (c % 3 ? " VARCHAR(40)" : " NUMERIC(12,2)");
            sql += ");\nCREATE INDEX " + name + "_a ON " + name + " (c2);\nCREATE UNIQUE INDEX " + name + "_b ON " + name +
                   " (c4, c5);\n";
        }
        sql += "COMMIT;\n";
        sqlite3* db = nullptr;
        if (sqlite3_open(path.c_str(), &db) != SQLITE_OK || sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
        sqlite3_close(db);
        if (error) return path;
        const fs::path staged = kept.string() + ".part";
        fs::copy_file(path, staged, fs::copy_options::overwrite_existing, error);
        if (!error) fs::rename(staged, kept, error);
        return error ? path : kept;
    }();
    return file;
}

void BM_ImportSqlite10000Tables(benchmark::State& state) {
    const fs::path& file = sqlite_database();
    for (auto _ : state) {
        std::vector<std::string> notes;
        Diagram d = build_diagram(import_sqlite_file(file, "tables.db"), "tables.db", {}, notes);
        if (d.entities.size() != kTables || d.relationships.size() != kTables - 1) state.SkipWithError("wrong diagram");
        benchmark::DoNotOptimize(d.entities.data());
    }
}
BENCHMARK(BM_ImportSqlite10000Tables)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The part of it that SQLite's catalogue takes: the schema read, not yet a diagram.
void BM_ReadSqliteCatalogue10000Tables(benchmark::State& state) {
    const fs::path& file = sqlite_database();
    for (auto _ : state) {
        const SourceSchema schema = import_sqlite_file(file, "tables.db");
        benchmark::DoNotOptimize(schema.tables.data());
    }
}
BENCHMARK(BM_ReadSqliteCatalogue10000Tables)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_ImportSqlite10000TablesWithLayout(benchmark::State& state) {
    const fs::path& file = sqlite_database();
    for (auto _ : state) {
        std::vector<std::string> notes;
        Diagram d = build_diagram(import_sqlite_file(file, "tables.db"), "tables.db", {}, notes);
        lay_out_imported(d, LayoutEngine::automatic);
        benchmark::DoNotOptimize(d.entities.data());
    }
}
BENCHMARK(BM_ImportSqlite10000TablesWithLayout)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(3);

// A dBase III table of 20 fields and no rows, as the format lays it out.
std::string dbase_table() {
    std::string bytes(32, '\0');
    bytes[0] = 0x03;
    bytes[1] = 126, bytes[2] = 12, bytes[3] = 9;  // last update
    const int fields = 20;
    const int header = 32 + 32 * fields + 1;
    bytes[8] = static_cast<char>(header & 0xFF), bytes[9] = static_cast<char>(header >> 8);
    int record = 1;
    for (int f = 0; f < fields; ++f) {
        std::string d(32, '\0');
        const std::string name = "CAMPO" + std::to_string(f);
        d.replace(0, name.size(), name);
        d[11] = f % 4 == 0 ? 'N' : f % 4 == 1 ? 'D' : 'C';
        d[16] = static_cast<char>(f % 4 == 0 ? 10 : f % 4 == 1 ? 8 : 40);
        d[17] = static_cast<char>(f % 4 == 0 ? 2 : 0);
        record += static_cast<unsigned char>(d[16]);
        bytes += d;
    }
    bytes[10] = static_cast<char>(record & 0xFF), bytes[11] = static_cast<char>(record >> 8);
    bytes += '\x0D';
    bytes += '\x1A';
    return bytes;
}

const std::vector<fs::path>& dbase_files() {
    static const std::vector<fs::path> files = [] {
        const fs::path folder = scratch().path / "dbase";
        fs::create_directory(folder);
        const std::string table = dbase_table();
        std::vector<fs::path> made;
        for (int i = 0; i < kDbaseFiles; ++i) {
            made.push_back(folder / ("TAB" + std::to_string(i) + ".DBF"));
            std::ofstream(made.back(), std::ios::binary) << table;
        }
        return made;
    }();
    return files;
}

void BM_ImportDbase1000Files(benchmark::State& state) {
    const std::vector<fs::path>& files = dbase_files();
    for (auto _ : state) {
        std::vector<std::string> notes;
        Diagram d = build_diagram(import_dbase_files(files), "dbase", {}, notes);
        if (d.entities.size() != kDbaseFiles) state.SkipWithError("wrong diagram");
        benchmark::DoNotOptimize(d.entities.data());
    }
}
BENCHMARK(BM_ImportDbase1000Files)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
