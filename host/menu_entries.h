#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "diagram/diagram.h"

class StringList;

// The menu of the main project as the host describes it to gerarmain: one entry per entity.

// The table name an entity's form and menu item are generated under: sanitised as every other output
// writes it (every character that is not an ASCII letter or digit becomes "_").
std::string form_table_name(const TEntidade& entity, std::int32_t kind);

// An entity's Menu text reads "group;caption", both parts optional. The caption of its menu item is
// that caption, else the entity name, else the form title, else the table name; the group is the
// top-level menu that holds the item ("&Tabelas" when blank). A ";" inside either becomes ",".
std::string menu_caption(const TEntidade& entity);
std::string menu_group(const TEntidade& entity);

// One menu entry per entity, in diagram order: "caption;table;group", with the table name the form
// files were written under.
void build_menu_entries(const Diagram& diagram, std::int32_t kind, StringList& entries);

// gerarmain refuses a menu whose component names clash ("Um componente chamado MMX já existe"): which
// entities and tables give `component` its name, as a sentence to follow the plug-in's message; empty
// when none of them does.
std::string explain_menu_clash(const Diagram& diagram, std::int32_t kind, std::string_view component);

// The component name in the plug-in's "Um componente chamado %s já existe" (Windows-1252), or empty
// for any other message.
std::string clashing_component(std::string_view message);
