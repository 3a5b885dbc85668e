#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/source_schema.h"

// The production index of a dBase table (.MDX, dBase IV and 7): its tags, each with its key
// expression and options. Only the file's header and each tag's header page are read, never the
// keys themselves.

struct DbaseTag {
    std::string name;        // as the file keeps it (dBase writes tag names in upper case)
    std::string expression;  // the key expression, e.g. STR(PEDIDO,11)+STR(ITEM,11)
    bool unique = false;
    bool descending = false;
};

// The tags of one .MDX file's bytes; `source` names the file in messages. Throws ImportError for a
// file that is no production index or ends before a tag's header.
std::vector<DbaseTag> read_mdx_tags(std::string_view content, const std::string& source);

// The fields a key expression orders by, in order, when it is made of fields only: NAME, DTOS(NAME),
// STR(NAME[,n[,d]]), UPPER(NAME) or IIF(NAME,'T','F'), joined with "+". Empty for any other
// expression. `upper` tells whether a field went through UPPER (a key without letter case).
std::vector<std::string> key_fields(std::string_view expression, bool& upper);

// The tags of a table as its key and indexes: a unique tag named PRIMARY is the primary key (the
// name that TDbf applications give it); every other tag over fields is an index; a tag over another
// expression is reported in `skipped`.
void apply_mdx_tags(const std::vector<DbaseTag>& tags, SourceTable& table, const std::string& source,
                    std::vector<std::string>& skipped);
