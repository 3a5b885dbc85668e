#pragma once

#include <string>
#include <string_view>

#include "import/source_schema.h"

// A PostgreSQL script read with PostgreSQL's own parser (libpg_query), nothing executed: CREATE TABLE
// (columns, types, inline and table constraints), ALTER TABLE ... ADD CONSTRAINT / ADD COLUMN /
// SET|DROP NOT NULL, CREATE [UNIQUE] INDEX, CREATE DOMAIN (a domain is its base type) and COMMENT ON
// TABLE|COLUMN. Statements that define no table (SET, BEGIN, GRANT, sequences, functions, ownership)
// are passed over; views and what cannot be mapped are noted with their line. A script the parser
// refuses throws ImportError naming the line.
SourceSchema import_postgresql_script(std::string_view script, const std::string& source);
