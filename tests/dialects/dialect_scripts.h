#pragma once

// The diagrams every dialect's script is checked with, and their scripts.

#include <string>
#include <vector>

#include "diagram/diagram.h"
#include "dialects/dialect.h"

namespace dialect_tests {

inline constexpr int kRandomDiagrams = 200;

// "cliente.json", "vendas.json", "extreme sizes" (one table of sizes beyond the types' limits), then
// "random 1" .. "random 200".
std::vector<std::string> test_diagram_names();
Diagram test_diagram(std::size_t index);

// The script `kzr40 sql --dialect` writes, with or without --drop.
std::string dialect_script(const Diagram& diagram, Dialect dialect, bool drop);

}  // namespace dialect_tests
