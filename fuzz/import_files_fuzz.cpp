// libFuzzer target for the importers of table files: built three times, for dBase (.DBF), Paradox
// (.DB, through pxlib) and SQLite database files (read through SQLite's catalogue pragmas), chosen by
// KZR40_IMPORT_KIND. A refused file must be a clean ImportError; an accepted one must become a
// diagram that passes the diagram's checks (or be refused by the builder with an ImportError too),
// with --rename so that odd names are exercised rather than refused.

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "import/build_diagram.h"
#include "import/dbase_index.h"
#include "import/dbase_source.h"
#include "import/paradox_source.h"
#include "import/sqlite_source.h"

namespace {

SourceSchema read(std::string_view bytes) {
    SourceSchema schema;
#if KZR40_IMPORT_KIND == 1
    // The same bytes are also read as a production index (.MDX), whose tags become the key and
    // indexes of the table when it is one, else of a table of fields A, B and C.
    std::vector<DbaseTag> tags;
    try {
        tags = read_mdx_tags(bytes, "fuzz.mdx");
    } catch (const ImportError&) {
    }
    SourceTable table;
    try {
        table = read_dbase_table(bytes, "fuzz", "fuzz.dbf", schema.skipped);
    } catch (const ImportError&) {
        if (tags.empty()) throw;
        table.name = "fuzz";
        for (const char* name : {"A", "B", "C"}) table.columns.push_back(SourceColumn{name});
    }
    apply_mdx_tags(tags, table, "fuzz.mdx", schema.skipped);
    if (!table.name.empty()) schema.tables.push_back(std::move(table));
#elif KZR40_IMPORT_KIND == 2
    std::string copy(bytes);
    std::FILE* stream = fmemopen(copy.data(), copy.size(), "rb");
    if (!stream) return schema;
    try {
        SourceTable table = read_paradox_table(stream, "fuzz", "fuzz.db", schema.skipped);
        if (!table.name.empty()) schema.tables.push_back(std::move(table));
    } catch (...) {
        std::fclose(stream);
        throw;
    }
    std::fclose(stream);
#else
    // The bytes as a read-only database in memory: what a file opened read-only gives SQLite.
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) std::abort();
    auto* image = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size() ? bytes.size() : 1));
    if (!bytes.empty()) std::memcpy(image, bytes.data(), bytes.size());
    if (sqlite3_deserialize(db, "main", image, static_cast<sqlite3_int64>(bytes.size()), static_cast<sqlite3_int64>(bytes.size()),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) != SQLITE_OK) {
        sqlite3_close(db);
        return schema;
    }
    try {
        schema = read_sqlite_schema(db, "fuzz.sqlite");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
#endif
    return schema;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const SourceSchema schema = read(bytes);
        std::vector<std::string> notes;
        ImportOptions options;
        options.rename = true;
        (void)build_diagram(schema, "fuzz", options, notes);
    } catch (const ImportError&) {
        // A clean refusal.
    }
    return 0;
}
