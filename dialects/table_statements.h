#pragma once

#include <cstddef>
#include <span>

#include "dialects/schema_plan.h"
#include "dialects/script_text.h"

// The statements of one planned table as the script has them: CREATE TABLE with its columns and key,
// its descriptions and its indexes. They are written while the table is planned, when its attributes
// are at hand, so that the script is put together from them without reading every column again.

// Appends the table's statements to `out` and records where they stand (PlannedTable::text_*).
void append_table_statements(ScriptText& out, Dialect dialect, PlannedTable& table);

// "(a, b)" of the table's columns, each followed by " DESC" when `descending`.
void append_column_list(ScriptText& out, Dialect dialect, const PlannedTable& table, std::span<const std::size_t> columns,
                        bool descending);
