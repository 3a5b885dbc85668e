#include "import/import_sources.h"

#include <filesystem>
#include <fstream>

#include "import/postgresql_source.h"
#include "import/sqlite_source.h"
#include "platform/files/whole_file.h"

namespace {

// The largest script read; far beyond any schema's DDL, and what a diagram file may take.
constexpr std::uintmax_t kMaxScriptBytes = 256u << 20;

std::string first_bytes(const std::string& path, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void append(SourceSchema& into, SourceSchema&& from) {
    for (SourceTable& table : from.tables) into.tables.push_back(std::move(table));
    for (std::string& note : from.skipped) into.skipped.push_back(std::move(note));
}

SourceSchema read_one(const std::string& path, SourceKind kind) {
    const std::string source = input_name(path);
    switch (kind) {
        case SourceKind::sqlite:
            if (path == "-") throw ImportError(source + ": a SQLite database is read from a file, not from standard input");
            if (!std::filesystem::is_regular_file(path))
                throw ImportError(source + ": " + (std::filesystem::exists(path) ? "is no file" : "does not exist"));
            return import_sqlite_file(path, source);
        case SourceKind::sql: return import_sql_script(read_whole_input(path, kMaxScriptBytes), source);
        case SourceKind::postgresql: return import_postgresql_script(read_whole_input(path, kMaxScriptBytes), source);
        case SourceKind::dbase:
        case SourceKind::paradox: break;
    }
    throw ImportError(source + ": --from " + source_kind_name(kind) + " is not available in this build");
}

}  // namespace

std::optional<SourceKind> source_kind_named(const std::string& name) {
    for (SourceKind kind : {SourceKind::sqlite, SourceKind::sql, SourceKind::postgresql, SourceKind::dbase, SourceKind::paradox})
        if (name == source_kind_name(kind)) return kind;
    return std::nullopt;
}

const char* source_kind_name(SourceKind kind) {
    switch (kind) {
        case SourceKind::sqlite: return "sqlite";
        case SourceKind::sql: return "sql";
        case SourceKind::postgresql: return "postgresql";
        case SourceKind::dbase: return "dbase";
        case SourceKind::paradox: return "paradox";
    }
    return "?";
}

SourceKind guess_source_kind(const std::string& path) {
    if (path == "-") return SourceKind::sql;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return SourceKind::dbase;
    if (is_sqlite_database(first_bytes(path, 16))) return SourceKind::sqlite;
    return SourceKind::sql;
}

SourceSchema read_sources(const std::vector<std::string>& paths, std::optional<SourceKind> kind) {
    SourceSchema schema;
    for (const std::string& path : paths) append(schema, read_one(path, kind ? *kind : guess_source_kind(path)));
    return schema;
}
