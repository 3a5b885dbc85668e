#pragma once

#include <cstddef>
#include <string_view>

class Printer;

// The text of a maintenance form's unit, around the declarations of the components that the layout
// writes while it creates them. `table` is the table name as stored in the entity.
void write_unit_head(Printer& unit, std::string_view table, bool with_grid);
void write_unit_tail(Printer& unit, std::string_view table);
// Blanks before a component declaration inside the form class.
inline constexpr std::size_t kDeclarationIndent = 4;
