#pragma once

#include <CLI/CLI.hpp>

// Each command of the host registers its own subcommand, options and action on the application.
void register_catalog_command(CLI::App& app);
void register_sql_command(CLI::App& app);
void register_unit_command(CLI::App& app);
void register_tables_command(CLI::App& app);
