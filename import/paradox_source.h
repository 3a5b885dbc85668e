#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "import/source_schema.h"

// Paradox tables (.DB) read with pxlib: field names, types, sizes and the primary key (Paradox keeps
// the key fields first, as the entity does). Only the structure is read; the rows are not. Secondary
// indexes (.Xnn, .Ynn) are not read: pxlib reads a primary index only.

SourceSchema import_paradox_files(const std::vector<std::filesystem::path>& files);

// The table of one open .DB stream, named `name`; `source` names it in messages. Throws ImportError
// for what is no Paradox table; a field type without a catalogue match notes the table in `skipped`
// and gives a table without a name.
SourceTable read_paradox_table(std::FILE* stream, const std::string& name, const std::string& source,
                               std::vector<std::string>& skipped);

// Whether `content` starts like a Paradox table header: a table file type (0 or 2), a known block
// size and file version, and a header that holds the record.
bool looks_like_paradox(std::string_view content);
