#pragma once

#include <string>
#include <string_view>

// The names the application generators give what they make for one table, from its name as they
// take it (the main project's entries carry it sanitised; a form takes the entity's as it stands).
// The host names the files it reports and explains menu clashes with the same names.
struct GeneratedNames {
    std::string unit;        // M<table>: the maintenance unit, its .PAS and .dfm files
    std::string form;        // F_<table>: the form variable, and the stored form's object name
    std::string form_class;  // TF_<table>: the form's class
    std::string menu_item;   // MM<table>: the main form's menu item that opens the form
};

GeneratedNames generated_names(std::string_view table);

// The main form's menu item of a group named after `stem` (a unit name, or the entry's own stem):
// MM<stem>, the stem sanitised as a table name is.
std::string group_menu_item(std::string stem);
