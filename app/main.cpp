// kzr40: reads entity-relationship diagrams and drives the KZR40 code-generator plug-in.

#include <exception>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "app/command_names.h"
#include "editor/edit_command.h"
#include "host/commands.h"

namespace {

// Shell conventions: 0 success, 1 failure, 2 a command line that could not be understood.
constexpr int kFailure = 1;
constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"kzr40: generates SQL scripts, table-creation units and table-maintenance applications\n"
                 "from entity-relationship diagrams."};
    app.set_version_flag("--version", "kzr40 " KZR40_VERSION);
    app.require_subcommand(1);
    register_catalog_command(app);
    register_check_command(app);
    register_form_commands(app);
    register_sql_command(app);
    register_unit_command(app);
    register_tables_command(app);
    register_forms_command(app);
    register_generate_command(app);
    register_edit_command(app);
    register_draw_command(app);
    register_layout_command(app);
    register_store_command(app);
    register_convert_command(app);
    register_import_command(app);
    register_help_command(app);
    try {
        // Said before CLI11 parses: it would only say that a command is required.
        if (argc < 2) throw UnknownCommand("no command given; 'kzr40 --help' lists the commands");
        const std::string first = argv[1];
        const auto commands = app.get_subcommands([&first](const CLI::App* c) { return c->get_name() == first; });
        if (!first.starts_with('-') && commands.empty())
            throw UnknownCommand(unknown_command_message(app, first));
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version end parsing through here too, with CLI11's status 0.
        return app.exit(e) == 0 ? 0 : kUsageError;
    } catch (const UnknownCommand& e) {
        std::cerr << "kzr40: error: " << e.what() << "\n";
        return kUsageError;
    } catch (const std::exception& e) {
        std::cerr << "kzr40: error: " << e.what() << "\n";
        return kFailure;
    }
    return 0;
}
