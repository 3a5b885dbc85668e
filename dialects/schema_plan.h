#pragma once

#include <cstddef>
#include <deque>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "dialects/column_types.h"
#include "dialects/dialect.h"
#include "dialects/quoting.h"

struct Diagram;
struct ModelKeys;
class TAtributo;

// What a dialect's script creates for a diagram, decided before a line is written: every table with its
// columns, types, keys and indexes, the foreign keys from the model's keys, and the order to create
// them in. Names stay Windows-1252, as the diagram holds them; texts (comments) are UTF-8.

// A diagram that the dialect cannot take as it is; the message names the file and the item.
class DialectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PlannedColumn {
    std::string_view name;
    IdentifierForm name_form = IdentifierForm::escaped;  // how the script writes the name
    const TAtributo* record = nullptr;
    int entry = 0;        // the attribute's position on the entity's list (TEntidade::atributos())
    ColumnType type;      // column_type
    bool not_null = false;  // `nullable` clear, or part of the key, or the counter
    bool counter = false;   // the AutoInc column the database counts (identity, AUTO_INCREMENT, AUTOINCREMENT)
    std::string_view comment;  // the attribute's title (held by SchemaPlan::comments)
};

// The tables', indexes' and foreign keys' lists of columns are spans into the storage of their
// SchemaPlan (SchemaPlan::columns, indexes, positions): one array each for the whole plan rather than
// vectors per table, since a large diagram has tens of thousands of tables.

struct PlannedIndex {
    std::string_view name;
    bool unique = false;
    bool descending = false;
    std::span<const std::size_t> columns;  // into PlannedTable::columns
};

struct PlannedTable {
    std::size_t entity = 0;  // into Diagram::entities
    std::string_view name;
    IdentifierForm name_form = IdentifierForm::escaped;  // how the script writes the name
    std::string comment;  // the entity's description, its lines joined by line breaks
    std::span<const PlannedColumn> columns;
    std::span<const std::size_t> primary_key;  // into columns, in key order
    bool primary_descending = false;
    // SQLite: the key is the table's one counter column, declared with it (INTEGER PRIMARY KEY
    // AUTOINCREMENT), and not on a line of its own.
    bool key_on_counter = false;
    std::span<const PlannedIndex> indexes;
    // Where its statements stand in SchemaPlan::text (dialects/table_statements.h): CREATE TABLE up to
    // its last column or key line in [text_begin, text_head_end), where the foreign keys it is created
    // with follow, after a comma at text_comma when it has lines (text_lines); then up to text_end the
    // closing, its descriptions and its indexes.
    std::size_t text_begin = 0, text_comma = 0, text_head_end = 0, text_end = 0;
    bool text_lines = false;
};

struct PlannedForeignKey {
    std::size_t relationship = 0;  // into Diagram::relationships
    std::string name;              // the constraint's name: the relationship's, made unique
    std::size_t child = 0;         // into SchemaPlan::tables: the table that holds the key
    std::size_t parent = 0;        // the table it refers to
    std::span<const std::size_t> child_columns, parent_columns;  // into each table's columns, in key order
    bool after_tables = false;     // added by ALTER TABLE once every table exists (a cycle)
};

struct SchemaPlan {
    Dialect dialect = Dialect::sqlite;
    std::vector<PlannedTable> tables;             // in diagram order
    std::vector<std::size_t> creation_order;      // into tables
    std::vector<PlannedForeignKey> foreign_keys;  // in relationship order
    std::string text;                             // every table's statements, in diagram order
    // What the spans above refer to: every table's columns, table after table; every table's indexes;
    // the column numbers of the keys, indexes and foreign keys. And the columns' descriptions, which
    // stay in place as more are added. The storage stays where it is when the plan moves; a copy
    // would refer to the original's, so a plan is only moved.
    std::vector<PlannedColumn> columns;
    std::vector<PlannedIndex> indexes;
    std::vector<std::size_t> positions;
    std::deque<std::string> comments;

    SchemaPlan() = default;
    SchemaPlan(SchemaPlan&&) = default;
    SchemaPlan& operator=(SchemaPlan&&) = default;
    SchemaPlan(const SchemaPlan&) = delete;
    SchemaPlan& operator=(const SchemaPlan&) = delete;
    // What the script leaves out, and why, each naming the file and the item.
    std::vector<std::string> warnings;
};

// Plans the script of `diagram` (read from `source`, which messages name) for `dialect`. Throws
// DialectError when the dialect cannot hold a name, a column or an index of the diagram; a foreign key
// it cannot hold is left out with a warning.
SchemaPlan plan_schema(const Diagram& diagram, const ModelKeys& keys, Dialect dialect, const std::string& source);
