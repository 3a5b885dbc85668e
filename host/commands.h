#pragma once

#include <CLI/CLI.hpp>

// Each command of the host registers its own subcommand, options and action on the application.
void register_catalog_command(CLI::App& app);
// check: the review of a diagram's model.
void register_check_command(CLI::App& app);
void register_sql_command(CLI::App& app);
void register_unit_command(CLI::App& app);
void register_tables_command(CLI::App& app);
// dfm2txt and txt2dfm: form-file conversion.
void register_form_commands(CLI::App& app);
void register_forms_command(CLI::App& app);
void register_generate_command(CLI::App& app);
// draw: a diagram as a picture; layout: a diagram laid out automatically, written back.
void register_draw_command(CLI::App& app);
void register_layout_command(CLI::App& app);
// store and convert: a diagram written as a stored diagram or as JSON.
void register_store_command(CLI::App& app);
void register_convert_command(CLI::App& app);
// import: a diagram from a database, an SQL script or a folder of dBase and Paradox tables.
void register_import_command(CLI::App& app);
