#include "import/import_sources.h"

#include <filesystem>
#include <algorithm>
#include <fstream>

#include "platform/ascii_case.h"

#include "import/dbase_source.h"
#include "import/paradox_source.h"
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

std::string extension_of(const std::filesystem::path& path) { return AsciiLowerCase(path.extension().string()); }

// What a file of a folder is: a dBase or Paradox table, a SQLite database, or nothing to import.
std::optional<SourceKind> table_kind(const std::filesystem::path& file) {
    const std::string extension = extension_of(file);
    if (extension != ".dbf" && extension != ".db") return std::nullopt;
    const std::string head = first_bytes(file.string(), 0x60);
    if (is_sqlite_database(head)) return SourceKind::sqlite;
    if (extension == ".dbf") return SourceKind::dbase;
    return SourceKind::paradox;
}

SourceSchema read_file(const std::string& path, SourceKind kind) {
    const std::string source = input_name(path);
    if (path == "-" && kind != SourceKind::sql && kind != SourceKind::postgresql)
        throw ImportError(source + ": only an SQL script is read from standard input (--from sql or postgresql)");
    if (path != "-" && !std::filesystem::is_regular_file(path))
        throw ImportError(source + ": " + (std::filesystem::exists(path) ? "is neither a file nor a directory" : "does not exist"));
    switch (kind) {
        case SourceKind::sqlite: return import_sqlite_file(path, source);
        case SourceKind::sql: return import_sql_script(read_whole_input(path, kMaxScriptBytes), source);
        case SourceKind::postgresql: return import_postgresql_script(read_whole_input(path, kMaxScriptBytes), source);
        case SourceKind::dbase: return import_dbase_files({path});
        case SourceKind::paradox: return import_paradox_files({path});
    }
    return {};
}

// The tables of a folder, in the order of their file names; with `kind`, only tables of that kind.
SourceSchema read_directory(const std::string& path, std::optional<SourceKind> kind) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    SourceSchema schema;
    std::vector<std::filesystem::path> dbase, paradox;
    for (const std::filesystem::path& file : files) {
        const std::optional<SourceKind> found = table_kind(file);
        if (!found || (kind && *found != *kind)) continue;
        if (*found == SourceKind::dbase) dbase.push_back(file);
        else if (*found == SourceKind::paradox) paradox.push_back(file);
        else append(schema, import_sqlite_file(file, file.string()));
    }
    if (dbase.empty() && paradox.empty() && schema.tables.empty())
        throw ImportError(path + ": holds no " +
                          (kind == SourceKind::dbase     ? std::string(".DBF table")
                           : kind == SourceKind::paradox ? std::string(".DB table")
                                                         : std::string(".DBF or .DB table")) +
                          " to import");
    append(schema, import_dbase_files(dbase));
    append(schema, import_paradox_files(paradox));
    return schema;
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
    const std::string head = first_bytes(path, 0x60);
    if (is_sqlite_database(head)) return SourceKind::sqlite;
    const std::string extension = extension_of(path);
    if (extension == ".dbf" || (extension != ".sql" && looks_like_dbase(head))) return SourceKind::dbase;
    if (extension == ".db" || (extension != ".sql" && looks_like_paradox(head))) return SourceKind::paradox;
    return SourceKind::sql;
}

SourceSchema read_sources(const std::vector<std::string>& paths, std::optional<SourceKind> kind) {
    SourceSchema schema;
    for (const std::string& path : paths) {
        std::error_code error;
        if (path != "-" && std::filesystem::is_directory(path, error)) {
            if (kind && *kind != SourceKind::dbase && *kind != SourceKind::paradox)
                throw ImportError(path + ": is a directory; --from " + source_kind_name(*kind) + " reads a file");
            append(schema, read_directory(path, kind));
        } else {
            append(schema, read_file(path, kind ? *kind : guess_source_kind(path)));
        }
    }
    return schema;
}
