#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/diagram.h"

class StringList;

// What the maintenance-form generation did for one entity.
struct FormOutcome {
    std::string entity;               // the entity's name (Windows-1252)
    std::vector<std::string> files;   // file names written (unit and form file)
    std::string error;                // empty on success; otherwise the plug-in's message
};

// Generates one maintenance form per entity into `directory`, as the host modeller does: a table
// object set up by gera_tab (so its field definitions follow the attributes, keys first), then
// gerarform. An entity that fails is reported in its outcome and the others still get their forms.
std::vector<FormOutcome> generate_forms(const Diagram& diagram, const std::filesystem::path& directory,
                                        std::int32_t kind);

// An entity's Menu text reads "group;caption", both parts optional. The caption of its menu item is
// that caption, else the entity name, else the form title, else the table name; the group is the
// top-level menu that holds the item ("&Tabelas" when blank). A ";" inside either becomes ",".
std::string menu_caption(const TEntidade& entity);
std::string menu_group(const TEntidade& entity);
// One menu entry per entity, in diagram order: "caption;table;group".
void build_menu_entries(const Diagram& diagram, StringList& entries);

// The main project through gerarmain. The project source lands in the current directory, so the
// directory is made current for the call and restored afterwards. Returns the files written.
std::vector<std::string> generate_main_project(const Diagram& diagram, const std::filesystem::path& directory,
                                               std::int32_t kind, const std::string& title);

// The application title used when none is given: the diagram's project name, else "Projeto".
std::string default_title(const Diagram& diagram);
