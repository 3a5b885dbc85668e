#pragma once

#include <string>

#include "dialects/schema_plan.h"

struct Diagram;

// The script of a planned schema in its dialect: UTF-8, LF line ends. It opens with the banner facts
// as SQL comments (the dialect, the date and time of platform/clock.h, the project and the server),
// then, with `drop`, drops what it creates in the reverse order (IF EXISTS), then creates every table
// with its key, its foreign keys and its descriptions, followed by its indexes, and last adds the
// foreign keys that close a cycle. In PostgreSQL and SQLite it runs as one transaction.
std::string write_script(const Diagram& diagram, const SchemaPlan& plan, bool drop);
