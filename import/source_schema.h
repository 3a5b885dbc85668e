#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// What an importer reads from a database, a script or a folder of tables, before it becomes a diagram:
// tables with their columns already in the field-type catalogue, keys, indexes and foreign keys.
// Names and texts are UTF-8, as every source gives them; the diagram's Windows-1252 comes later
// (import/build_diagram.h), where a name it cannot hold is refused or renamed.

// A source that cannot be read, or a table that cannot be imported under --strict; the message names
// the file and the line or table.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SourceColumn {
    std::string name;
    std::int32_t tipo = 0;  // field-type catalogue index, 0..19
    std::int32_t tamanho = 0;
    std::int32_t decimais = 0;
    bool nullable = true;
    std::string comment;  // the attribute's title
};

struct SourceIndex {
    std::string name;
    std::vector<std::string> columns;
    bool unique = false;
    bool descending = false;      // every column descending
    bool case_sensitive = false;  // the source tells upper from lower case
};

struct SourceForeignKey {
    std::string name;  // empty: the source keeps no name (SQLite); one is made up
    std::vector<std::string> columns;
    std::string parent_table;
    std::vector<std::string> parent_columns;  // empty: the parent's primary key
};

struct SourceTable {
    std::string name;
    std::string comment;  // lines joined by '\n'
    std::vector<SourceColumn> columns;
    std::vector<std::string> primary_key;  // column names in key order
    bool primary_descending = false;
    std::vector<SourceIndex> indexes;
    std::vector<SourceForeignKey> foreign_keys;
};

struct SourceSchema {
    std::vector<SourceTable> tables;
    // What was left out and why, each naming the file and the line or table (stderr; errors with --strict).
    std::vector<std::string> skipped;
};
