#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import/source_schema.h"

// The sources of `kzr40 import`: which kind each is (given, or told from its content), read into one
// schema.

enum class SourceKind { sqlite, sql, postgresql, dbase, paradox };

// "sqlite", "sql", ... and back; nothing for a name that is no kind.
std::optional<SourceKind> source_kind_named(const std::string& name);
const char* source_kind_name(SourceKind kind);

// The kind of `path` ("-": standard input, always SQL text) told from its content: a SQLite database
// header, a dBase or Paradox table header, a directory of such tables, else SQL text.
SourceKind guess_source_kind(const std::string& path);

// Every source read, `kind` for all or each one's own guessed kind, the tables in the order given.
SourceSchema read_sources(const std::vector<std::string>& paths, std::optional<SourceKind> kind);
