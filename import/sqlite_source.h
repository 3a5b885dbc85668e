#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "import/source_schema.h"

struct sqlite3;

// Schemas read with SQLite itself, through its catalogue pragmas (table_list, table_xinfo,
// index_list, index_xinfo, foreign_key_list). `source` names the input in messages.

// The tables of the main schema of an open database. SQLite's own tables (sqlite_*) are left out
// silently; views, virtual and shadow tables are skipped with a note.
SourceSchema read_sqlite_schema(sqlite3* db, const std::string& source);

// A database file, opened read-only: nothing is written to it. Throws ImportError when it is no
// SQLite database.
SourceSchema import_sqlite_file(const std::filesystem::path& file, const std::string& source);

// An SQL script executed statement by statement into an in-memory database, which is then read as
// above. A statement SQLite refuses throws ImportError naming the line it starts on. The script cannot
// reach files: ATTACH and VACUUM INTO are refused.
SourceSchema import_sql_script(std::string_view script, const std::string& source);

// Whether `content` starts with the header of a SQLite database file.
bool is_sqlite_database(std::string_view content);
