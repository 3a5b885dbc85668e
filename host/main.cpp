// kzr40: reads entity-relationship diagrams and drives the KZR40 code-generator plug-in.

#include <exception>
#include <iostream>

#include <CLI/CLI.hpp>

#include "host/commands.h"

int main(int argc, char** argv) {
    CLI::App app{"kzr40: generates SQL scripts, table-creation units and table-maintenance applications\n"
                 "from entity-relationship diagrams."};
    app.require_subcommand(1);
    register_catalog_command(app);
    register_form_commands(app);
    register_sql_command(app);
    register_unit_command(app);
    register_tables_command(app);
    register_forms_command(app);
    register_generate_command(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << "kzr40: error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
