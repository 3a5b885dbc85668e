#pragma once

#include <string>

// The type texts that entity boxes show in the schema and table modes come from the generator registry
// (plugin/geradores.h), which a host fills. kzr40 registers two generators: the plug-in itself under its
// identifier (GetID) with `traduzcampo` (program-side types such as "String (20)"), and kSqlTypeTexts,
// the SQL column types of the script ("CHARACTER (20)").

inline constexpr const char* kSqlTypeTexts = "SQL";

// Registers both entries once; later calls do nothing.
void register_type_texts();

// Selects the generator whose type texts the boxes show, by its name (UTF-8, letter case counts). A name
// matching no entry is allowed: the type texts are then empty, as with a host that has no such generator.
// Registers the entries first.
void select_type_texts(const std::string& name);

// The plug-in's identifier, the default selection.
std::string default_type_texts();
