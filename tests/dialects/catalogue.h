#pragma once

// A schema as lines of text, one per table, column, key, index and foreign key, sorted: what a diagram
// should give in a dialect (worked out from the diagram and its model keys, in the database's own
// words for the types), and what a database's catalogue shows after a script loaded. Equal lines:
// the database holds every table, column, type, nullability, key, index and foreign key the diagram
// has, and nothing else.
//
//   table T
//   column T #2 NAME character varying(60) not null [counter]
//   key T (A, B) [desc]
//   index T.I unique|duplicates (A desc, B desc)
//   foreign T NAME (A) -> P (X)            (SQLite keeps no constraint names: "foreign T (A) -> P (X)")

#include <map>
#include <string>
#include <vector>

#include "dialects/dialect.h"

struct Diagram;
struct sqlite3;

namespace dialect_tests {

class ScratchPostgresql;
class ScratchMariadb;

using Catalogue = std::vector<std::string>;

Catalogue expected_catalogue(const Diagram& diagram, Dialect dialect);
// The lines of `expected` that `found` lacks and those it has beyond them; empty when they are equal.
std::string catalogue_difference(const Catalogue& found, const Catalogue& expected);

Catalogue sqlite_catalogue(sqlite3* db);
// Every schema whose name starts with `prefix`, by schema (database in MariaDB).
std::map<std::string, Catalogue> postgresql_catalogues(ScratchPostgresql& server, const std::string& prefix);
std::map<std::string, Catalogue> mariadb_catalogues(ScratchMariadb& server, const std::string& prefix);

}  // namespace dialect_tests
