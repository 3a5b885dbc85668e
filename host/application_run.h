#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "diagram/diagram.h"

// Where an application run writes.
struct ApplicationPaths {
    std::filesystem::path scratch;  // where the plug-in writes the files
    std::filesystem::path output;   // the output directory as the user named it: the forms name it as
                                    // their database directory, and messages name files under it
};

// What the maintenance-form generation did for one entity.
struct FormOutcome {
    std::string entity;               // the entity's name (Windows-1252)
    std::vector<std::string> files;   // file names written (unit and form file)
    std::string error;                // empty on success; otherwise what went wrong (UTF-8)
};

// Generates one maintenance form per entity, as the host modeller does: a table object set up by
// gera_tab (so its field definitions follow the attributes, keys first), then gerarform. The form
// takes the table name as form_table_name gives it. An entity that fails is reported in its outcome
// and the others still get their forms.
std::vector<FormOutcome> generate_forms(const Diagram& diagram, const ApplicationPaths& paths, std::int32_t kind);
// The same, written straight into `directory`.
std::vector<FormOutcome> generate_forms(const Diagram& diagram, const std::filesystem::path& directory,
                                        std::int32_t kind);

// The main project through gerarmain, with the scratch directory as the run's working directory: the
// project source lands there, and so do the main unit and form (directory prefix empty, so the unit is
// "Princ"). Returns the files written;
// throws std::runtime_error with the plug-in's message, and for a clash of menu names which entities
// and tables clash.
std::vector<std::string> generate_main_project(const Diagram& diagram, const ApplicationPaths& paths,
                                               std::int32_t kind, const std::string& title);
std::vector<std::string> generate_main_project(const Diagram& diagram, const std::filesystem::path& directory,
                                               std::int32_t kind, const std::string& title);

// The application title used when none is given: the diagram's project name, else "Projeto".
std::string default_title(const Diagram& diagram);
