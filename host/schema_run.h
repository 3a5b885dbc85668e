#pragma once

#include <cstdint>
#include <string>

#include "diagram/diagram.h"

class ByteSink;
class StringList;

// The language indexes of the plug-in's output languages.
inline constexpr std::int32_t kLanguageUnit = 0;
inline constexpr std::int32_t kLanguageSql = 1;

struct SchemaRunOptions {
    std::int32_t language = kLanguageSql;
    std::int32_t kind = 0;  // database kind: 0 Paradox, 1 dBase, 2 Oracle; others behave as Paradox
    bool drop = false;      // SQL only: DROP TABLE before each CREATE TABLE
};

// "paradox", "dbase", "oracle" (any case) or a whole number, as the --kind option takes it. Throws
// std::runtime_error for anything else.
std::int32_t parse_database_kind(const std::string& text);

// Checks SOURCE_DATE_EPOCH when it is set; throws std::runtime_error when it is not a count of seconds.
void check_source_date_epoch();

// One generation run over the whole diagram, driving the plug-in's entry points in the host
// modeller's order: set_var, the banner, gera_fonte per entity in diagram order, montar_listagem,
// finalizar. `listing` receives the lines.
void run_schema(const Diagram& diagram, const SchemaRunOptions& options, StringList& listing);

// The listing as a text file: its Windows-1252 lines, each ended by CR LF.
std::string listing_text(const StringList& listing);
// The same into `sink`; `utf8` converts the lines to UTF-8, for reading on a terminal (the line ends stay).
void write_listing(const StringList& listing, ByteSink& sink, bool utf8 = false);
