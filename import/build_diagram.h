#pragma once

#include <string>
#include <vector>

#include "diagram/auto_layout.h"
#include "diagram/diagram.h"
#include "import/source_schema.h"

// A read schema made into a diagram: one entity per table, one attribute per column (key columns first,
// in key order), secondary keys from the indexes, relationships from the foreign keys with `origem` on
// the end entity's attributes (the model's keys rule, docs/diagram-format.md "Keys").

struct ImportOptions {
    bool rename = false;  // names the diagram cannot hold are changed (and listed) instead of refused
    bool strict = false;  // anything skipped is an error
};

// `source` names the input in messages. What was skipped or renamed is added to `notes`, one message
// each. Throws ImportError for a name the diagram cannot hold (without `rename`) and, with `strict`,
// for the first thing skipped; the diagram passes check_diagram.
Diagram build_diagram(const SourceSchema& schema, const std::string& source, const ImportOptions& options,
                      std::vector<std::string>& notes);

// Places every entity with the automatic layout (kzr40 layout's rules) at the diagram's zoom.
void lay_out_imported(Diagram& diagram, LayoutEngine engine);
