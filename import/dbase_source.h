#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "import/source_schema.h"

// dBase tables (.DBF): the header and its field descriptors, dBase III to 7 and the FoxPro variants.
// Only the structure is read; the rows are not. The key and indexes come from the production index
// (.MDX, import/dbase_index.h) when the header names one.

// The table one .DBF file's bytes describe (`content` may stop after the field descriptors), named
// `name`; `source` names the file in messages. Throws ImportError for a file that is no dBase table
// or ends inside its header.
SourceTable read_dbase_table(std::string_view content, const std::string& name, const std::string& source,
                             std::vector<std::string>& skipped);

// Whether `content` starts like a dBase table: a known version byte, a header length that holds at
// least one field descriptor, and a plausible last-update date.
bool looks_like_dbase(std::string_view content);

// The .DBF files of a directory, or the files named, each a table named after its file.
SourceSchema import_dbase_files(const std::vector<std::filesystem::path>& files);
