#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

// What the program says about a command name it does not know, and `kzr40 help [COMMAND]`.

// The command a mistyped name most likely meant: the one within two edits (a letter added, dropped,
// changed, or two neighbours swapped), or the only one the name begins; none when nothing is close.
std::optional<std::string> closest_command(const CLI::App& app, std::string_view typed);

// The usage error for a first argument that is no command: "unknown command 'sqll'; did you mean 'sql'?".
std::string unknown_command_message(const CLI::App& app, std::string_view typed);

// A command line that names no command the program knows; the program prints the message and ends
// with the usage status.
class UnknownCommand : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `kzr40 help` prints the program's help, `kzr40 help COMMAND` that command's; registered last, so
// that it sees every command.
void register_help_command(CLI::App& app);
