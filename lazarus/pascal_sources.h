#pragma once

#include <string>
#include <vector>

#include "platform/formfile/value.h"

// The Pascal sources of the Lazarus target, written from the adapted form designs: each unit declares
// the components its form holds, under the names and classes the design gives them.
namespace lazarus {

// The unit of a maintenance form (unit M<table>, class TF_<table>, variable F_<table>): its data sets
// take the data directory and open when the form shows, and close with it.
std::string maintenance_unit(const formfile::ObjectNode& form, const std::string& unit_name);

// The main unit Princ (TFproj): creates the missing tables on start and opens each table's form from
// its menu item MM<table>.
std::string main_unit(const formfile::ObjectNode& form, const std::vector<std::string>& units);

// The program source (.lpr) and the Lazarus project (.lpi) that builds it with lazbuild.
std::string program_source(const std::string& program, const std::string& title_utf8,
                           const std::vector<std::string>& units);
std::string project_info(const std::string& program, const std::string& title_utf8,
                         const std::vector<std::string>& units);

}  // namespace lazarus
