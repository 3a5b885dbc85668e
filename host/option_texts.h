#pragma once

#include <filesystem>
#include <string>

#include <CLI/CLI.hpp>

// Option values that reach the plug-in, where every text is Windows-1252. A value that cannot get
// there intact is a usage error naming the option and the character.

// The help of every command's diagram argument: a JSON diagram or a stored one, told apart by content.
inline constexpr const char* kDiagramFileHelp =
    "Diagram file: JSON (docs/diagram-format.md) or a stored diagram, binary or text (docs/stored-diagrams.md), "
    "told apart by content; - reads standard input";

// Refuses an empty value.
CLI::Validator non_empty();
// Refuses what is not a whole number, so that a range check after it speaks only of numbers.
CLI::Validator whole_number();
// Refuses a character without a Windows-1252 byte, and text that is not UTF-8.
CLI::Validator windows_1252();
// An application title: Windows-1252, and no line break or other control character, which would break
// the line of the project source that carries it.
CLI::Validator application_title();

// A database kind, as parse_database_kind reads it.
CLI::Validator database_kind();
// The --kind option of the commands that generate, checked by database_kind().
CLI::Option* add_kind_option(CLI::App& command, std::string& kind);

// Why `text` (Windows-1252) cannot be an application title, or empty when it can.
std::string title_problem(const std::string& text);

// A directory as the plug-in takes it: Windows-1252 bytes of the path with a final "/". Throws
// std::runtime_error naming `what` and the character when the path holds one without a Windows-1252 byte.
std::string plugin_directory(const std::filesystem::path& directory, const std::string& what);
