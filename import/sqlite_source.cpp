#include "import/sqlite_source.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <memory>
#include <type_traits>
#include <unordered_map>

#include "import/field_types.h"

namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

// One statement, stepped row by row; its failures name the source.
class Query {
public:
    Query(sqlite3* db, std::string_view sql, const std::string& source) : db_(db), source_(source) {
        if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) != SQLITE_OK)
            fail("reading the catalogue");
    }
    ~Query() { sqlite3_finalize(statement_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // `what` says what was being read, for the message; a callable makes it only on failure, since
    // the steps run a few hundred thousand times in a large catalogue.
    template <typename What>
    bool next(const What& what) {
        const int status = sqlite3_step(statement_);
        if (status == SQLITE_ROW) return true;
        if constexpr (std::is_invocable_v<What>) {
            if (status != SQLITE_DONE) fail(what());
        } else {
            if (status != SQLITE_DONE) fail(what);
        }
        return false;
    }
    std::string text(int column) const {
        const auto* chars = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return chars ? std::string(chars, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))) : std::string();
    }
    bool null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }

private:
    [[noreturn]] void fail(const std::string& what) const {
        const std::string message = sqlite3_errmsg(db_);
        if (sqlite3_errcode(db_) == SQLITE_NOTADB) throw ImportError(source_ + ": is not a SQLite database (" + message + ")");
        throw ImportError(source_ + ": " + what + ": " + message);
    }

    sqlite3* db_;
    const std::string& source_;
    sqlite3_stmt* statement_ = nullptr;
};

std::string in_quotes(const std::string& name) { return "\"" + name + "\""; }

// `PRAGMA main.NAME('argument')`, prepared anew for each table or index. The pragma functions
// (pragma_table_xinfo(?) and the like) would prepare the same statement inside for every name they
// are given, and then copy each value of it once more, row by row, into their own result.
std::string pragma(std::string_view name, const std::string& argument) {
    std::string sql = "PRAGMA main.";
    sql += name;
    sql += "('";
    for (const char c : argument) {
        if (c == '\'') sql += '\'';
        sql += c;
    }
    sql += "')";
    return sql;
}

// SQLite finds tables and indexes by name in hashes that this build caps at 64 buckets, so in a
// large schema every look-up walks a chain of hundreds of names, each a miss of the processor's
// cache. Asked for bucket by bucket, the chain being walked stays in the cache: a third of the
// catalogue's reading time at 10,000 tables. The bucket is SQLite's own string hash; were it to
// differ, only the time would.
unsigned name_bucket(const std::string& name) {
    std::uint32_t hash = 0;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        hash += byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
        hash *= 0x9e3779b1u;
    }
    return hash % 64;
}

// The numbers 0..count-1 of the names that `name_of` gives, in the order of their buckets (the given
// order within one).
template <typename Name>
std::vector<std::size_t> bucket_order(std::size_t count, const Name& name_of) {
    std::vector<std::pair<unsigned, std::size_t>> keyed(count);
    for (std::size_t i = 0; i < count; ++i) keyed[i] = {name_bucket(name_of(i)), i};
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = keyed[i].second;
    return order;
}

struct ListedIndex {
    std::int64_t seq;
    std::string name, origin;
    bool unique, partial;
    // From index_xinfo: the key columns by cid (-1 or out of range: an expression or the row id), and
    // whether each is descending.
    std::vector<std::pair<std::int64_t, bool>> columns;
};

// A table as the catalogue gives it, before its indexes become the diagram's.
struct ReadTable {
    bool is_table = false;  // else only the note that it is skipped
    SourceTable table;
    std::vector<std::string> column_names;  // by cid, as index_xinfo numbers them
    std::vector<ListedIndex> indexes;
    std::vector<std::string> notes;  // what was skipped, in the order it was met
};

void read_columns(sqlite3* db, const std::string& source, bool any_counter, const std::string& where,
                  std::unordered_map<std::string, std::pair<MappedType, bool>>& mapped_types, ReadTable& read) {
    SourceTable& table = read.table;
    const std::string& name = table.name;
    std::vector<std::pair<std::int64_t, std::string>> key;  // position in the key, column
    // cid, name, type, notnull, dflt_value, pk, hidden
    Query columns(db, pragma("table_xinfo", name), source);
    while (columns.next([&] { return "table " + in_quotes(name) + ": reading its columns"; })) {
        SourceColumn column;
        column.name = columns.text(1);
        const std::string declared = columns.text(2);
        const std::int64_t hidden = columns.integer(6);
        if (hidden != 0) {
            if (hidden != 1) read.column_names.push_back(column.name);
            read.notes.push_back(where + ", column " + in_quotes(column.name) + ": skipped: a " +
                                 (hidden == 1 ? "hidden" : "generated") + " column");
            continue;
        }
        read.column_names.push_back(column.name);
        // A schema repeats a handful of declared types over and over.
        auto [known, added] = mapped_types.try_emplace(declared);
        if (added) known->second.first = sqlite_field_type(declared, known->second.second);
        const auto& [mapped, by_affinity] = known->second;
        if (by_affinity)
            read.notes.push_back(where + ", column " + in_quotes(column.name) + ": the type " + in_quotes(declared) +
                                 " has no field type; SQLite's affinity makes it " + field_type_name(mapped.tipo));
        column.tipo = mapped.tipo;
        column.tamanho = mapped.tamanho;
        column.decimais = mapped.decimais;
        column.nullable = columns.integer(3) == 0;
        if (columns.integer(5) > 0) key.emplace_back(columns.integer(5), column.name);
        table.columns.push_back(std::move(column));
    }
    std::sort(key.begin(), key.end());
    for (auto& [position, column] : key) table.primary_key.push_back(column);
    // The one counting key column: INTEGER PRIMARY KEY AUTOINCREMENT.
    if (any_counter && table.primary_key.size() == 1) {
        int autoinc = 0, not_null = 0, primary = 0;
        if (sqlite3_table_column_metadata(db, "main", name.c_str(), table.primary_key[0].c_str(), nullptr, nullptr,
                                          &not_null, &primary, &autoinc) == SQLITE_OK &&
            autoinc)
            for (SourceColumn& column : table.columns)
                if (column.name == table.primary_key[0] && column.tipo == field_type::kInteger)
                    column.tipo = field_type::kAutoInc;
    }
}

void list_indexes(sqlite3* db, const std::string& source, ReadTable& read) {
    const std::string& name = read.table.name;
    // seq, name, unique, origin, partial
    Query index_list(db, pragma("index_list", name), source);
    while (index_list.next([&] { return "table " + in_quotes(name) + ": listing its indexes"; }))
        read.indexes.push_back({index_list.integer(0), index_list.text(1), index_list.text(3), index_list.integer(2) != 0,
                                index_list.integer(4) != 0, {}});
    // index_list gives the newest index first; the diagram keeps them in the order they were made.
    std::sort(read.indexes.begin(), read.indexes.end(), [](const ListedIndex& a, const ListedIndex& b) { return a.seq > b.seq; });
}

void read_index_columns(sqlite3* db, const std::string& source, const std::string& table, ListedIndex& index) {
    // seqno, cid, name, desc, coll, key
    Query index_columns(db, pragma("index_xinfo", index.name), source);
    while (index_columns.next([&] { return "table " + in_quotes(table) + ", index " + in_quotes(index.name) + ": reading its columns"; })) {
        if (index_columns.integer(5) == 0) continue;  // not a key column: the row id behind the key
        index.columns.emplace_back(index_columns.integer(1), index_columns.integer(3) != 0);
    }
}

void add_indexes(ReadTable& read, const std::string& source) {
    SourceTable& table = read.table;
    int unique_constraints = 0;
    for (ListedIndex& index : read.indexes) {
        const std::string where = source + ": table " + in_quotes(table.name) + ", index " + in_quotes(index.name);
        std::vector<std::string> columns;
        int descending = 0;
        bool expression = false;
        for (const auto& [cid, down] : index.columns) {
            if (cid < 0 || static_cast<std::size_t>(cid) >= read.column_names.size()) {
                expression = true;
                continue;
            }
            columns.push_back(read.column_names[static_cast<std::size_t>(cid)]);
            descending += down;
        }
        const bool all_descending = descending > 0 && descending == static_cast<int>(columns.size());
        if (index.origin == "pk") {
            table.primary_descending = all_descending;
            if (descending > 0 && !all_descending)
                read.notes.push_back(where + ": the key's columns are partly descending; imported ascending");
            continue;
        }
        if (expression) {
            read.notes.push_back(where + ": skipped: it indexes an expression or the row id");
            continue;
        }
        if (index.partial) {
            read.notes.push_back(where + ": skipped: a partial index (with WHERE)");
            continue;
        }
        if (descending > 0 && !all_descending) {
            read.notes.push_back(where + ": skipped: only some of its columns are descending");
            continue;
        }
        SourceIndex result;
        // A UNIQUE constraint has an index named by SQLite (sqlite_autoindex_T_N); it gets a name of its own.
        result.name = index.origin == "u" ? table.name + "_unique_" + std::to_string(++unique_constraints) : index.name;
        result.columns = std::move(columns);
        result.unique = index.unique;
        result.descending = all_descending;
        table.indexes.push_back(std::move(result));
    }
}

void read_foreign_keys(sqlite3* db, const std::string& source, SourceTable& table) {
    std::map<std::int64_t, SourceForeignKey> keys;
    // id, seq, table, from, to, on_update, on_delete, match
    Query foreign_key_list(db, pragma("foreign_key_list", table.name), source);
    while (foreign_key_list.next([&] { return "table " + in_quotes(table.name) + ": listing its foreign keys"; })) {
        SourceForeignKey& key = keys[foreign_key_list.integer(0)];
        key.parent_table = foreign_key_list.text(2);
        key.columns.push_back(foreign_key_list.text(3));
        if (!foreign_key_list.null(4)) key.parent_columns.push_back(foreign_key_list.text(4));
    }
    // foreign_key_list numbers the last declared key 0.
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        SourceForeignKey& key = it->second;
        if (key.parent_columns.size() != key.columns.size()) key.parent_columns.clear();
        table.foreign_keys.push_back(std::move(key));
    }
}

// SQLite counts every allocation, under a global lock, for sqlite3_memory_used(), which nothing here
// reads: a lock and an unlock for each of the millions of allocations a large catalogue makes, about
// a tenth of its read. The count can only be turned off before SQLite starts; later the call is
// refused and changes nothing.
void without_memory_statistics() {
    [[maybe_unused]] static const int status = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
}

}  // namespace

SourceSchema read_sqlite_schema(sqlite3* db, const std::string& source) {
    // One read transaction for the whole catalogue: without it every statement takes and drops the
    // file's lock and checks the schema again, which for 10,000 tables is most of the time.
    const bool own_transaction = sqlite3_get_autocommit(db) != 0;
    if (own_transaction) sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    struct End {
        sqlite3* db;
        bool own;
        ~End() {
            if (own) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        }
    } end{db, own_transaction};
    Query tables(db, "SELECT name, type FROM pragma_table_list WHERE schema = 'main'", source);

    // pragma_table_list follows no fixed order; the schema's own order (the order of creation) is kept.
    std::unordered_map<std::string, std::string> type_of;
    while (tables.next("listing the tables")) type_of.emplace(tables.text(0), tables.text(1));
    // SQLite makes sqlite_sequence with the first AUTOINCREMENT table: without it no column counts,
    // and the per-table metadata look-up (a walk along SQLite's name hash) is saved.
    const bool any_counter = type_of.contains("sqlite_sequence");
    std::vector<std::pair<std::string, std::string>> listed;
    listed.reserve(type_of.size());
    {
        Query order(db, "SELECT name FROM sqlite_schema WHERE type IN ('table', 'view') ORDER BY rowid", source);
        while (order.next("listing the tables")) {
            auto it = type_of.find(order.text(0));
            if (it == type_of.end()) continue;
            listed.emplace_back(it->first, std::move(it->second));
            type_of.erase(it);
        }
        // What the schema table does not list (none known) comes last, in name order.
        std::map<std::string, std::string> rest(type_of.begin(), type_of.end());
        for (auto& entry : rest) listed.push_back(std::move(entry));
    }
    // In schema order: the tables to read, and the notes of what is not one.
    std::vector<ReadTable> read;
    read.reserve(listed.size());
    for (const auto& listing : listed) {
        const std::string& name = listing.first;
        const std::string& type = listing.second;
        if (name.starts_with("sqlite_")) continue;  // SQLite's own: sqlite_schema, sqlite_sequence, sqlite_stat1
        read.emplace_back();
        if (type != "table") {
            read.back().notes.push_back(source + ": table " + in_quotes(name) + ": skipped: a " +
                                        (type == "view" ? "view" : type + " table") + " (only tables are imported)");
            continue;
        }
        read.back().is_table = true;
        read.back().table.name = name;
    }
    std::unordered_map<std::string, std::pair<MappedType, bool>> mapped_types;  // declared type: mapped, by affinity
    for (const std::size_t t : bucket_order(read.size(), [&](std::size_t i) -> const std::string& { return read[i].table.name; })) {
        ReadTable& table = read[t];
        if (!table.is_table) continue;
        read_columns(db, source, any_counter, source + ": table " + in_quotes(table.table.name), mapped_types, table);
        list_indexes(db, source, table);
        read_foreign_keys(db, source, table.table);
    }
    std::vector<std::pair<std::size_t, std::size_t>> indexes;  // table, index
    for (std::size_t t = 0; t < read.size(); ++t)
        for (std::size_t i = 0; i < read[t].indexes.size(); ++i) indexes.emplace_back(t, i);
    for (const std::size_t k : bucket_order(indexes.size(), [&](std::size_t i) -> const std::string& {
             return read[indexes[i].first].indexes[indexes[i].second].name;
         }))
        read_index_columns(db, source, read[indexes[k].first].table.name, read[indexes[k].first].indexes[indexes[k].second]);

    SourceSchema schema;
    for (ReadTable& table : read) {
        if (table.is_table) add_indexes(table, source);
        for (std::string& note : table.notes) schema.skipped.push_back(std::move(note));
        if (table.is_table) schema.tables.push_back(std::move(table.table));
    }
    return schema;
}

SourceSchema import_sqlite_file(const std::filesystem::path& file, const std::string& source) {
    without_memory_statistics();
    sqlite3* opened = nullptr;
    const int status = sqlite3_open_v2(file.c_str(), &opened, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    Database db(opened);
    if (status != SQLITE_OK)
        throw ImportError(source + ": cannot be opened as a SQLite database: " +
                          (opened ? sqlite3_errmsg(opened) : sqlite3_errstr(status)));
    return read_sqlite_schema(db.get(), source);
}

namespace {

// Nothing the script says reaches a file: no database is attached (VACUUM INTO attaches its target).
int refuse_files(void*, int action, const char*, const char*, const char*, const char*) {
    return action == SQLITE_ATTACH || action == SQLITE_DETACH ? SQLITE_DENY : SQLITE_OK;
}

std::size_t line_at(std::string_view script, std::size_t offset) {
    return 1 + static_cast<std::size_t>(std::count(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// Where the statement that starts at `offset` has its first word: blanks and comments skipped.
std::size_t statement_start(std::string_view script, std::size_t offset) {
    while (offset < script.size()) {
        const char c = script[offset];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';') {
            ++offset;
        } else if (script.substr(offset, 2) == "--") {
            const std::size_t end = script.find('\n', offset);
            offset = end == std::string_view::npos ? script.size() : end + 1;
        } else if (script.substr(offset, 2) == "/*") {
            const std::size_t end = script.find("*/", offset + 2);
            offset = end == std::string_view::npos ? script.size() : end + 2;
        } else {
            break;
        }
    }
    return offset;
}

}  // namespace

SourceSchema import_sql_script(std::string_view script, const std::string& source) {
    without_memory_statistics();
    sqlite3* opened = nullptr;
    if (sqlite3_open_v2(":memory:", &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(opened);
        throw ImportError(source + ": cannot open an in-memory SQLite database");
    }
    Database db(opened);
    sqlite3_limit(db.get(), SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_set_authorizer(db.get(), refuse_files, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // The script is UTF-8 text; SQLite reads it up to the first NUL, so one inside it is refused.
    if (const std::size_t nul = script.find('\0'); nul != std::string_view::npos)
        throw ImportError(source + ": line " + std::to_string(line_at(script, nul)) + ": holds a NUL byte; is it an SQL script?");
    const std::string text(script);
    const char* rest = text.c_str();
    const char* const end = text.c_str() + text.size();
    while (rest < end) {
        const std::size_t at = statement_start(text, static_cast<std::size_t>(rest - text.c_str()));
        if (at >= text.size()) break;
        sqlite3_stmt* statement = nullptr;
        const char* tail = nullptr;
        int status = sqlite3_prepare_v2(db.get(), text.c_str() + at, static_cast<int>(text.size() - at), &statement, &tail);
        if (status == SQLITE_OK && statement) {
            while ((status = sqlite3_step(statement)) == SQLITE_ROW) {
            }
            if (status == SQLITE_DONE) status = SQLITE_OK;
        }
        sqlite3_finalize(statement);
        if (status != SQLITE_OK)
            throw ImportError(source + ": line " + std::to_string(line_at(text, at)) + ": SQLite refuses the statement: " +
                              sqlite3_errmsg(db.get()));
        if (!tail || tail <= text.c_str() + at) break;
        rest = tail;
    }
    return read_sqlite_schema(db.get(), source);
}

bool is_sqlite_database(std::string_view content) {
    static constexpr std::string_view kHeader("SQLite format 3\0", 16);
    return content.starts_with(kHeader);
}
