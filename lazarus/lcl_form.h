#pragma once

#include <map>
#include <string>

#include "platform/formfile/value.h"
#include "platform/table.h"

class EntityView;

// The Lazarus target's forms: the designs the faithful generators build (read back from their form
// files) adapted to what the LCL reads, and written as LCL form text (.lfm, UTF-8).
namespace lazarus {

// The form text of `root`: LF line ends, texts converted from Windows-1252 to UTF-8 and written as
// they are (LCL reads quoted bytes as UTF-8), other values as the form text has them.
std::string lfm_text(const formfile::ObjectNode& root);

// Classes and properties the LCL does not know are mapped or dropped, in place: TTable becomes TDbf
// (the table file's name with .dbf, dBase VII level; its directory is set at run time), the Windows
// font names go (the widget set's default font takes their place), and OldCreateOrder, TextHeight,
// Ctl3D and the like are left out.
void adapt_to_lcl(formfile::ObjectNode& root);

// The start entity of a foreign key: the table its lookup lists, the key the field holds and the field
// shown in the list.
struct LookupSource {
    std::string table;      // sanitised table name, the .dbf file's base name
    std::string key_field;
    std::string list_field;
};
// Foreign-key lookups by the upper-case field name they edit.
using Lookups = std::map<std::string, LookupSource>;

// What makes the maintenance forms usable in this target: editors of types without a size as wide as
// their longest value, check boxes captioned with their attribute's title, and lookup editors of a
// foreign key bound to a table of the start entity through a data source of their own; and the form
// tall enough for its lowest editor.
void make_usable(formfile::ObjectNode& root, const TTable& table, const EntityView& entity, const Lookups& lookups);

// The characters the longest value of a field type without a size takes in an editor (0: the type
// has a size, or no edit shows it).
int value_length(std::int32_t data_type);

}  // namespace lazarus
