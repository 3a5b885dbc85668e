#pragma once

#include <cstddef>

class Printer;
struct GeneratedNames;

// The text of a maintenance form's unit, around the declarations of the components that the layout
// writes while it creates them, under the names generated from the table name as stored in the entity.
void write_unit_head(Printer& unit, const GeneratedNames& names, bool with_grid);
void write_unit_tail(Printer& unit, const GeneratedNames& names);
// Blanks before a component declaration inside the form class.
inline constexpr std::size_t kDeclarationIndent = 4;
