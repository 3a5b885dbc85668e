#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/table.h"

class EntityView;

// The Lazarus target's tables: dBase VII files written and read by the dbf unit's TDbf.
namespace lazarus {

// Field-type ordinals of the catalogue (kzr40 catalog).
enum FieldType : std::int32_t {
    kFtUnknown, kFtString, kFtSmallint, kFtInteger, kFtWord, kFtBoolean, kFtFloat, kFtCurrency, kFtBCD,
    kFtDate, kFtTime, kFtDateTime, kFtBytes, kFtVarBytes, kFtAutoInc, kFtBlob, kFtMemo, kFtGraphic,
    kFtFmtMemo, kFtParadoxOle,
};

// The TFieldType a catalogue type is created as in a dBase VII table, with the size it takes (a
// string keeps its own). Empty `type` for a type that has none.
struct DbfField {
    std::string type;  // "ftString", ...
    bool sized = false;
};
DbfField dbf_field(std::int32_t data_type);

// The longest field name a dBase VII table holds.
inline constexpr std::size_t kMaxFieldName = 31;

// The longest table name: it names the .dbf file and, in the sources, the form unit, its class and
// identifiers up to MM<table>Click. Free Pascal 3.2 tells identifiers apart by 127 characters, and
// stops with an internal error (2015071403) compiling the form unit of a table name of 117 (tried
// with lazbuild: 116 builds, with field names of 31 characters and a lookup as well).
inline constexpr std::size_t kMaxTableName = 116;

// One index tag of the table's production index (.mdx).
struct DbfIndex {
    std::string name;        // the secondary key's name; PRIMARY for the primary key
    std::string fields;      // field names separated by ";", or the expression as typed
    std::string expression;  // the dBase key expression
    bool unique = false;
    bool descending = false;
};

// The primary key (unique, descending when the entity says so) and every secondary key, with their
// dBase key expressions; a problem with one of them (a field the table lacks, or one whose type a
// dBase key cannot hold: Boolean, memo, blob) goes into `*problem`.
std::vector<DbfIndex> dbf_indexes(const TTable& table, const EntityView& entity, std::string* problem);

// What stops a table from being created by TDbf: an unmapped field type, a field name too long, an
// index that dBase cannot build, or a table name (sanitised: ASCII letters, digits, `_`) too long for
// the identifiers made of it. Empty when it can.
std::string dbf_problem(const TTable& table, const EntityView& entity, const std::string& table_name);

// The dBase key expression over `fields` (names separated by ";"): one field is its name (a date
// through DTOS, since a dBase key is a string or a number); several are joined with "+", each
// converted to text (STR, DTOS) as dBase concatenates only strings. Case-insensitive keys are built
// case-sensitive (see the note in the source). Empty, with `*problem` set, for a field the key cannot hold.
std::string index_expression(const TTable& table, const std::string& fields, bool case_insensitive,
                             std::string* problem);

struct TableUnitEntry {
    std::string entity;  // UTF-8, for the comment
    std::string table;   // sanitised: the .dbf file's base name and the procedure's suffix
    const TTable* definition;
    std::vector<DbfIndex> indexes;
};

// The unit GerarDBs of this target: CriarTodas(diretorio, manter_antigas) and one Criar<table> per
// table, creating the .dbf with its fields and its .mdx with the primary key and every secondary index;
// and the data directory the application uses (DataDirectory).
std::string tables_unit(const std::vector<TableUnitEntry>& tables, const std::string& title_utf8);

}  // namespace lazarus
