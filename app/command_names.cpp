#include "app/command_names.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

namespace {

// Edits between two names, an adjacent swap counting as one (optimal string alignment distance).
std::size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> closest_command(const CLI::App& app, std::string_view typed) {
    constexpr std::size_t kMostEdits = 2;
    std::optional<std::string> best;
    std::size_t best_distance = kMostEdits + 1;
    std::vector<std::string> starting_with_typed;
    for (const CLI::App* command : app.get_subcommands({})) {
        const std::string& name = command->get_name();
        // A name of one or two letters is within two edits of every short command: no guess.
        const std::size_t distance = edit_distance(typed, name);
        if (typed.size() > kMostEdits && distance < best_distance) {
            best = name;
            best_distance = distance;
        }
        if (!typed.empty() && name.starts_with(typed)) starting_with_typed.push_back(name);
    }
    if (best) return best;
    if (starting_with_typed.size() == 1) return starting_with_typed.front();
    return std::nullopt;
}

std::string unknown_command_message(const CLI::App& app, std::string_view typed) {
    std::string message = "unknown command '" + std::string(typed) + "'";
    if (const auto guess = closest_command(app, typed)) return message + "; did you mean '" + *guess + "'?";
    return message + "; 'kzr40 --help' lists the commands";
}

void register_help_command(CLI::App& app) {
    auto topic = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand("help", "Show the help of the program, or of one command");
    command->add_option("COMMAND", *topic, "The command to explain");
    command->callback([&app, topic] {
        if (topic->empty()) {
            // app.help() would show the help of the running command, this one.
            std::cout << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
            return;
        }
        for (const CLI::App* known : app.get_subcommands({}))
            if (known->get_name() == *topic) {
                std::cout << known->help(app.get_name());
                return;
            }
        throw UnknownCommand(unknown_command_message(app, *topic));
    });
}
