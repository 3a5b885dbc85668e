#include "host/option_texts.h"

#include <stdexcept>

#include "platform/utf8_cp1252.h"
#include "host/schema_run.h"

namespace {

// Why `utf8` cannot cross into the plug-in, or empty when it can.
std::string conversion_problem(const std::string& utf8) {
    try {
        utf8_to_cp1252(utf8);
        return {};
    } catch (const UnmappableCharacter& character) {
        return "the character " + describe_character(character) +
               " cannot be written in Windows-1252, the encoding of every generated file";
    } catch (const std::runtime_error& e) {
        return std::string("not UTF-8 text (") + e.what() + ")";
    }
}

}  // namespace

CLI::Validator non_empty() {
    return CLI::Validator([](std::string& value) { return value.empty() ? std::string("must not be empty") : std::string(); },
                          "", "non_empty");
}

CLI::Validator whole_number() {
    return CLI::Validator(
        [](std::string& value) {
            std::size_t digits = !value.empty() && (value[0] == '-' || value[0] == '+') ? 1 : 0;
            const bool number = value.size() > digits && value.find_first_not_of("0123456789", digits) == std::string::npos;
            return number ? std::string() : "\"" + value + "\" is not a whole number";
        },
        "", "whole_number");
}

CLI::Validator windows_1252() {
    return CLI::Validator([](std::string& value) { return conversion_problem(value); }, "", "windows_1252");
}

CLI::Validator database_kind() {
    return CLI::Validator(
        [](std::string& value) {
            try {
                parse_database_kind(value);
                return std::string();
            } catch (const std::runtime_error& e) {
                const std::string message = e.what();
                const std::size_t colon = message.find(": ");  // the message names the option itself
                return colon == std::string::npos ? message : message.substr(colon + 2);
            }
        },
        "", "database_kind");
}

CLI::Option* add_kind_option(CLI::App& command, std::string& kind) {
    return command
        .add_option("--kind", kind, "Database kind: paradox (default), dbase, oracle, or its number (other numbers act as paradox)")
        ->check(database_kind());
}

std::string title_problem(const std::string& text) {
    for (unsigned char c : text) {
        if (c == '\n' || c == '\r') return "a line break cannot stand in the title: the project source carries it on one line";
        if (c < 0x20 || c == 0x7F) return "a control character cannot stand in the title: the project source carries it as it is";
    }
    return {};
}

CLI::Validator application_title() {
    return CLI::Validator(
        [](std::string& value) {
            const std::string problem = conversion_problem(value);
            return problem.empty() ? title_problem(value) : problem;
        },
        "", "application_title");
}

std::string plugin_directory(const std::filesystem::path& directory, const std::string& what) {
    std::string path = directory.string();
    if (!path.empty() && path.back() != '/') path += '/';
    const std::string problem = conversion_problem(path);
    if (!problem.empty()) throw std::runtime_error(what + " \"" + directory.string() + "\": " + problem);
    return utf8_to_cp1252(path);
}
