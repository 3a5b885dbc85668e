// `kzr40 import` as a user runs it: public sample schemas of each kind counted against what their
// sources say they hold, Paradox tables made by pxlib, names the diagram cannot hold, what is skipped,
// and bad inputs, each refused with a message naming the file and nothing written.

#include <sqlite3.h>
#include <unistd.h>

extern "C" {
#include <paradox.h>
}

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "diagram/diagram.h"
#include "diagram/model_keys.h"
#include "platform/files/scratch_directory.h"
#include "plugin/registros.h"
#include "tests/support/read_file.h"
#include "tests/support/run_host.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;

const fs::path kData = fs::path(KZR40_SOURCE_DIR) / "tests" / "data";

class Import : public ::testing::Test {
protected:
    fs::path dir() const { return scratch_.path(); }
    std::string out() const { return (dir() / "out.json").string(); }
    void write(const fs::path& file, const std::string& bytes) const {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    // A refused import: status 1, a message naming `named`, and no diagram written.
    void expect_refused(const std::vector<std::string>& arguments, const std::string& named, const std::string& problem) {
        std::vector<std::string> full = {"import"};
        full.insert(full.end(), arguments.begin(), arguments.end());
        full.insert(full.end(), {"-o", out()});
        const HostRun run = run_host(full);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(problem), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out()));
    }

private:
    ScratchDirectory scratch_{fs::temp_directory_path()};
};

struct Counts {
    std::size_t tables = 0, columns = 0, foreign_keys = 0, indexes = 0;
};
Counts counts(const Diagram& d) {
    Counts c;
    c.tables = d.entities.size();
    for (const DiagramEntity& e : d.entities) {
        c.columns += static_cast<std::size_t>(e.entity->atributos().Count());
        c.indexes += static_cast<std::size_t>(e.entity->ChavesSecundarias().Count());
    }
    for (const ModelForeignKey& key : model_keys(d).foreign_keys) c.foreign_keys += key.complete();
    return c;
}

const TEntidade& entity(const Diagram& d, const std::string& tabela) {
    for (const DiagramEntity& e : d.entities)
        if (e.entity->tabela().str() == tabela) return *e.entity;
    throw std::runtime_error("no entity " + tabela);
}
const TAtributo& attribute(const TEntidade& e, int i) { return *static_cast<const TAtributo*>(e.atributos().Objects(i)); }

TEST_F(Import, ChinookAsSqliteDatabaseFileAndAsScript) {
    // The sample's own script, run by the sqlite3 library into a database file, then imported read-only.
    const fs::path db = dir() / "chinook.db";
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    const std::string script = read_file(kData / "chinook" / "Chinook_Sqlite_schema.sql");
    ASSERT_EQ(sqlite3_exec(handle, script.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(handle);
    const auto before = fs::last_write_time(db);

    const HostRun run = run_host({"import", db.string(), "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("kzr40:"), std::string::npos) << run.err;  // no note (a sanitizer may report its suppressions)
    EXPECT_EQ(fs::last_write_time(db), before);
    const Diagram d = load_diagram(out());
    // Chinook 1.4.3: 11 tables, 64 columns, 11 foreign keys (one of them Employee.ReportsTo to itself), 11 indexes.
    const Counts c = counts(d);
    EXPECT_EQ(c.tables, 11u);
    EXPECT_EQ(c.columns, 64u);
    EXPECT_EQ(c.foreign_keys, 11u);
    EXPECT_EQ(c.indexes, 11u);
    const TEntidade& track = entity(d, "PlaylistTrack");
    EXPECT_EQ(attribute(track, 0).nome.str(), "PlaylistId");
    EXPECT_EQ(attribute(track, 1).nome.str(), "TrackId");
    EXPECT_TRUE(attribute(track, 1).chave & kChavePrimaria);
    EXPECT_EQ(attribute(entity(d, "Invoice"), 8).tipo, 8);  // Total NUMERIC(10,2): BCD
    EXPECT_EQ(attribute(entity(d, "Invoice"), 8).tamanho, 10);
    EXPECT_EQ(attribute(entity(d, "Invoice"), 8).decimais, 2);
    for (const DiagramEntity& e : d.entities) EXPECT_FALSE(e.shape.left == 0 && e.shape.top == 0);  // laid out

    // The script itself (--from sql guessed) gives the same diagram, byte for byte.
    const std::string json = read_file(out());
    fs::remove(out());
    ASSERT_EQ(run_host({"import", (kData / "chinook" / "Chinook_Sqlite_schema.sql").string(), "-o", out()}).status, 0);
    EXPECT_EQ(read_file(out()), json);
}

TEST_F(Import, PagilaThroughPostgresqlsParser) {
    const std::string file = (kData / "pagila" / "pagila-schema.sql").string();
    const HostRun run = run_host({"import", "--from", "postgresql", file, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    const Diagram d = load_diagram(out());
    // 16 tables besides the 60 partitions of payment; film (a text[] column) and film_embedding (a
    // vector) have no field type for a column and are skipped with their line, and so are the three
    // foreign keys that refer to film. 13 foreign keys stay.
    const Counts c = counts(d);
    EXPECT_EQ(c.tables, 14u);
    EXPECT_EQ(c.columns, 76u);
    EXPECT_EQ(c.foreign_keys, 13u);
    EXPECT_NE(run.err.find(file + ": line 438: table \"film\": skipped: column \"special_features\" has the type \"text[]\""),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("view \"actor_info\": skipped"), std::string::npos);
    EXPECT_NE(run.err.find("table \"payment_p2022_01\": skipped: a partition of \"payment\""), std::string::npos);
    const TEntidade& payment = entity(d, "payment");
    // PRIMARY KEY (payment_date, payment_id), though payment_id is the first column: key order first.
    EXPECT_EQ(attribute(payment, 0).nome.str(), "payment_date");
    EXPECT_EQ(attribute(payment, 1).nome.str(), "payment_id");

    // --strict refuses what was skipped, naming it, and writes nothing.
    fs::remove(out());
    expect_refused({"--from", "postgresql", "--strict", file}, file + ": line 438", "(--strict)");
}

TEST_F(Import, DbaseFolderAndParadoxTables) {
    const HostRun run = run_host({"import", (kData / "dbase").string(), "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    const Diagram d = load_diagram(out());
    const Counts c = counts(d);
    EXPECT_EQ(c.tables, 3u);
    EXPECT_EQ(c.columns, 8u);  // memotest and no_memofile: NAME, BIRTHDATE, MEMO; people: NAME, BIRTHDATE
    const TEntidade& people = entity(d, "people");
    EXPECT_EQ(attribute(people, 0).tipo, 1);  // C(16): String
    EXPECT_EQ(attribute(people, 0).tamanho, 16);
    EXPECT_EQ(attribute(people, 1).tipo, 9);  // D: Date
    EXPECT_EQ(attribute(entity(d, "memotest"), 2).tipo, 16);  // M: Memo

    // A Paradox table made by pxlib, with its first two fields as the key.
    const fs::path table = dir() / "CLIENTE.DB";
    {
        PX_boot();
        pxdoc_t* doc = PX_new();
        // pxlib frees the descriptors it is given with free().
        auto* fields = static_cast<pxfield_t*>(calloc(4, sizeof(pxfield_t)));
        const char* names[] = {"NUMERO", "FILIAL", "NOME", "SALDO"};
        const char types[] = {pxfLong, pxfShort, pxfAlpha, pxfBCD};
        const int sizes[] = {4, 2, 40, 17};
        for (int i = 0; i < 4; ++i) {
            fields[i].px_fname = strdup(names[i]);
            fields[i].px_ftype = types[i];
            fields[i].px_flen = sizes[i];
            fields[i].px_fdc = i == 3 ? 2 : 0;
        }
        ASSERT_GE(PX_create_file(doc, fields, 4, table.c_str(), pxfFileTypIndexDB), 0);
        PX_close(doc);
        PX_delete(doc);
    }
    // pxlib writes no key; the header's count of key fields (offset 0x23) says two.
    {
        std::fstream f(table, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(0x23);
        f.put('\x02');
    }
    fs::remove(out());
    ASSERT_EQ(run_host({"import", table.string(), "-o", out()}).status, 0);
    const Diagram p = load_diagram(out());
    const TEntidade& cliente = entity(p, "CLIENTE");
    ASSERT_EQ(cliente.atributos().Count(), 4);
    EXPECT_TRUE(attribute(cliente, 0).chave & kChavePrimaria);
    EXPECT_TRUE(attribute(cliente, 1).chave & kChavePrimaria);
    EXPECT_FALSE(attribute(cliente, 2).chave & kChavePrimaria);
    EXPECT_EQ(attribute(cliente, 1).tipo, 2);  // Short: SmallInt
    EXPECT_EQ(attribute(cliente, 2).tamanho, 40);
    EXPECT_EQ(attribute(cliente, 3).tipo, 8);  // BCD, 2 decimals
    EXPECT_EQ(attribute(cliente, 3).decimais, 2);

    // A .DB with a wrong header, a truncated .DBF.
    fs::remove(out());
    write(dir() / "BAD.DB", std::string(200, 'x'));
    expect_refused({(dir() / "BAD.DB").string()}, "BAD.DB", "is no Paradox table");
    // A header pxlib frees twice when it gives up on it (found by fuzzing).
    expect_refused({(fs::path(KZR40_SOURCE_DIR) / "fuzz" / "corpus" / "import_paradox" / "damaged_header.db").string()},
                   "damaged_header.db: table \"damaged_header\", column", "cannot hold");
    const std::string people_bytes = read_file(kData / "dbase" / "people.dbf");
    write(dir() / "cut.dbf", people_bytes.substr(0, 50));
    expect_refused({(dir() / "cut.dbf").string()}, "cut.dbf", "ends inside the field descriptors");
    write(dir() / "short.dbf", people_bytes.substr(0, 10));
    expect_refused({(dir() / "short.dbf").string()}, "short.dbf", "ends inside the dBase header");
}

// Tables that TDbf made with their production indexes: the key and the indexes come from the .mdx;
// a missing one is reported, a damaged one refused, and an index over an expression skipped.
TEST_F(Import, DbaseProductionIndexes) {
    const fs::path tdbf = kData / "tdbf";
    HostRun run = run_host({"import", tdbf.string(), "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("kzr40:"), std::string::npos) << run.err;  // no note (a sanitizer may report its suppressions)
    Diagram d = load_diagram(out());
    const TEntidade& pedido = entity(d, "PEDIDO");
    EXPECT_TRUE(attribute(pedido, 0).chave & kChavePrimaria);
    EXPECT_EQ(attribute(pedido, 0).nome.str(), "NUMERO");
    EXPECT_FALSE(attribute(pedido, 1).chave & kChavePrimaria);
    EXPECT_EQ(pedido.Primaria(), kPrimariaDescendente);
    EXPECT_EQ(attribute(pedido, 3).tipo, 8);  // TOTAL, N 18,8 in a dBase 7 descriptor: BCD
    EXPECT_EQ(attribute(pedido, 3).tamanho, 18);
    EXPECT_EQ(attribute(pedido, 3).decimais, 8);
    ASSERT_EQ(pedido.ChavesSecundarias().Count(), 2);
    EXPECT_EQ(pedido.ChavesSecundarias().Text(0).str(), "IDX_PEDIDO_DATA");
    const auto* by_date = static_cast<const TChaveSecundaria*>(pedido.ChavesSecundarias().Objects(0));
    EXPECT_EQ(by_date->campos.str(), "DATA");  // DTOS(DATA)
    EXPECT_EQ(by_date->tipo_indice, kIndiceDuplicados);
    const auto* by_client = static_cast<const TChaveSecundaria*>(pedido.ChavesSecundarias().Objects(1));
    EXPECT_EQ(by_client->campos.str(), "CLIENTE+DATA");  // STR(CLIENTE,11)+DTOS(DATA)
    EXPECT_EQ(by_client->tipo_indice, kIndiceDuplicados | kIndiceDescendente);
    // A key of two fields, in key order, ascending.
    const TEntidade& itens = entity(d, "Itens_Pedido");
    EXPECT_EQ(attribute(itens, 0).nome.str(), "PEDIDO");
    EXPECT_EQ(attribute(itens, 1).nome.str(), "ITEM");
    EXPECT_TRUE(attribute(itens, 1).chave & kChavePrimaria);
    EXPECT_FALSE(attribute(itens, 2).chave & kChavePrimaria);
    EXPECT_EQ(itens.Primaria(), 0);

    // Tag names are each table's own: the second table's IDX_PEDIDO_DATA (in name order) is qualified by its table.
    fs::remove(out());
    fs::create_directory(dir() / "twice");
    for (const char* name : {"PEDIDO", "COPIA"})
        for (const char* extension : {".dbf", ".mdx"})
            fs::copy_file(tdbf / (std::string("PEDIDO") + extension), dir() / "twice" / (std::string(name) + extension));
    run = run_host({"import", (dir() / "twice").string(), "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    d = load_diagram(out());
    EXPECT_EQ(entity(d, "COPIA").ChavesSecundarias().Text(0).str(), "IDX_PEDIDO_DATA");
    EXPECT_EQ(entity(d, "PEDIDO").ChavesSecundarias().Text(0).str(), "PEDIDO_IDX_PEDIDO_DATA");

    // The header names a production index that is not there: the table comes without key, noted.
    fs::remove(out());
    fs::copy_file(tdbf / "PEDIDO.dbf", dir() / "PEDIDO.dbf");
    run = run_host({"import", (dir() / "PEDIDO.dbf").string(), "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("PEDIDO.dbf: its production index (PEDIDO.mdx) is missing"), std::string::npos) << run.err;
    EXPECT_FALSE(attribute(entity(load_diagram(out()), "PEDIDO"), 0).chave & kChavePrimaria);
    // Cut inside the tag table, and cut before a tag's header page.
    std::string index = read_file(tdbf / "PEDIDO.mdx");
    fs::remove(out());
    write(dir() / "PEDIDO.mdx", index.substr(0, 600));
    expect_refused({(dir() / "PEDIDO.dbf").string()}, "PEDIDO.mdx", "ends inside the tag table");
    write(dir() / "PEDIDO.mdx", index.substr(0, 0x1400));
    expect_refused({(dir() / "PEDIDO.dbf").string()}, "PEDIDO.mdx: tag \"IDX_PEDIDO_DATA\"", "beyond the end of the file");
    // A key over an expression that is no list of fields: skipped with a note, refused with --strict.
    const std::size_t expression = 0x1400 + 24;  // IDX_PEDIDO_DATA's key: DTOS(DATA)
    ASSERT_EQ(index.substr(expression, 10), "DTOS(DATA)");
    index.replace(expression, 10, "YEAR(DATA)");
    write(dir() / "PEDIDO.mdx", index);
    run = run_host({"import", (dir() / "PEDIDO.dbf").string(), "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("tag \"IDX_PEDIDO_DATA\": skipped: its key YEAR(DATA) is no list of the table's fields"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(entity(load_diagram(out()), "PEDIDO").ChavesSecundarias().Count(), 1);
    fs::remove(out());
    expect_refused({"--strict", (dir() / "PEDIDO.dbf").string()}, "IDX_PEDIDO_DATA", "(--strict)");
}

TEST_F(Import, NamesTheDiagramCannotHold) {
    const std::string script =
        "CREATE TABLE \"Bonecos\" (id INTEGER PRIMARY KEY, \"neve \xE2\x98\x83\" TEXT, \"Nota Fiscal\" INT, NOTA_FISCAL INT);\n";
    write(dir() / "names.sql", script);
    const std::string file = (dir() / "names.sql").string();
    expect_refused({file}, file + ": table \"Bonecos\", column \"neve \xE2\x98\x83\"", "U+2603");
    const HostRun run = run_host({"import", "--rename", file, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("renamed to \"neve _\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("renamed to \"NOTA_FISCAL_2\""), std::string::npos) << run.err;
    const Diagram d = load_diagram(out());
    const TEntidade& e = entity(d, "Bonecos");
    EXPECT_EQ(attribute(e, 1).nome.str(), "neve _");
    EXPECT_EQ(attribute(e, 3).nome.str(), "NOTA_FISCAL_2");
}

TEST_F(Import, QuotesInNamesReachTheCatalogue) {
    // The catalogue is asked about each table and index by its name inside a statement: quotes in
    // the names stay names.
    write(dir() / "quotes.sql",
          "CREATE TABLE \"it's\" (\"o'id\" INTEGER PRIMARY KEY, \"na\"\"me\" TEXT NOT NULL);\n"
          "CREATE UNIQUE INDEX \"o'brien\" ON \"it's\" (\"na\"\"me\" DESC);\n"
          "CREATE TABLE \"x'); --\" (a INTEGER PRIMARY KEY, b INTEGER REFERENCES \"it's\");\n");
    const HostRun run = run_host({"import", (dir() / "quotes.sql").string(), "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    const Diagram d = load_diagram(out());
    const TEntidade& parent = entity(d, "it's");
    ASSERT_EQ(parent.atributos().Count(), 2);
    EXPECT_EQ(attribute(parent, 0).nome.str(), "o'id");
    EXPECT_TRUE(attribute(parent, 0).chave & kChavePrimaria);
    EXPECT_EQ(attribute(parent, 1).nome.str(), "na\"me");
    ASSERT_EQ(parent.ChavesSecundarias().Count(), 1);
    EXPECT_EQ(parent.ChavesSecundarias().Text(0).str(), "o'brien");
    const auto& index = *static_cast<const TChaveSecundaria*>(parent.ChavesSecundarias().Objects(0));
    EXPECT_EQ(index.campos.str(), "na\"me");
    EXPECT_EQ(index.tipo_indice, kIndiceDescendente);
    const TEntidade& child = entity(d, "x'); --");
    ASSERT_EQ(child.atributos().Count(), 2);
    ASSERT_EQ(d.relationships.size(), 1u);
    EXPECT_EQ(attribute(child, 1).origem.str(), d.relationships[0].name);
}

TEST_F(Import, SkippedAndRefusedSources) {
    // A view and a table without a field type for its column are skipped with a note; the rest comes in.
    write(dir() / "mixed.sql",
          "CREATE TABLE a (x INTEGER PRIMARY KEY);\nCREATE VIEW v AS SELECT x FROM a;\n"
          "CREATE TABLE b (y GEOMETRY, x INTEGER REFERENCES a);\nCREATE INDEX e ON b (abs(x));\n");
    const std::string mixed = (dir() / "mixed.sql").string();
    const HostRun run = run_host({"import", mixed, "-o", out()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(mixed + ": table \"v\": skipped: a view"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("the type \"GEOMETRY\" has no field type; SQLite's affinity makes it BCD"), std::string::npos);
    EXPECT_NE(run.err.find("index \"e\": skipped: it indexes an expression"), std::string::npos);
    EXPECT_EQ(load_diagram(out()).relationships.size(), 1u);
    fs::remove(out());
    expect_refused({"--strict", mixed}, mixed + ": table \"v\"", "(--strict)");

    // SQL from standard input, stored as a binary stored diagram.
    const HostRun piped = run_host({"import", "-", "--store", "-o", out()}, read_file(mixed));
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(read_file(out()).substr(0, 4), "TPF0");
    EXPECT_EQ(load_diagram(out()).entities.size(), 2u);
    fs::remove(out());

    // A syntax error names its line; a file that is no database; a folder with nothing to import.
    write(dir() / "broken.sql", "CREATE TABLE a (x INTEGER);\n\n  CREATE TABLE b (y INTEGER,);\n");
    expect_refused({(dir() / "broken.sql").string()}, "broken.sql: line 3", "SQLite refuses the statement");
    write(dir() / "broken.pg.sql", "CREATE TABLE a (x int);\nCREATE TABLE b (y int,);\n");
    expect_refused({"--from", "postgresql", (dir() / "broken.pg.sql").string()}, "broken.pg.sql: line 2",
                   "PostgreSQL's parser refuses");
    write(dir() / "nothing.db", std::string(4096, '\x01'));
    expect_refused({"--from", "sqlite", (dir() / "nothing.db").string()}, "nothing.db", "is not a SQLite database");
    fs::create_directory(dir() / "empty");
    write(dir() / "empty" / "readme.txt", "no tables here");
    expect_refused({(dir() / "empty").string()}, "empty", "holds no .DBF or .DB table");
    write(dir() / "none.sql", "-- only a comment\n");
    expect_refused({(dir() / "none.sql").string()}, "none.sql", "holds no table that can be imported");
    // The script cannot write files: ATTACH and VACUUM INTO are refused.
    const std::string elsewhere = (dir() / "elsewhere.db").string();
    write(dir() / "attach.sql", "ATTACH '" + elsewhere + "' AS x;\nCREATE TABLE x.t (a INT);\n");
    expect_refused({(dir() / "attach.sql").string()}, "attach.sql: line 1", "SQLite refuses");
    write(dir() / "vacuum.sql", "CREATE TABLE t (a INT);\nVACUUM INTO '" + elsewhere + "';\n");
    expect_refused({(dir() / "vacuum.sql").string()}, "vacuum.sql: line 2", "SQLite refuses");
    EXPECT_FALSE(fs::exists(elsewhere));
}

}  // namespace
