#pragma once

#include <CLI/CLI.hpp>

// `kzr40 edit FILE`: the diagram in a window of its own (docs/editor.md).
void register_edit_command(CLI::App& app);
