#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The way back from a database's column types to the field-type catalogue (the table both ways is in
// docs/import.md), for every importer of SQL schemas.

namespace field_type {
enum : std::int32_t {
    kUnknown, kString, kSmallInt, kInteger, kWord, kBoolean, kFloat, kCurrency, kBcd, kDate, kTime,
    kDateTime, kBytes, kVarBytes, kAutoInc, kBlob, kMemo, kGraphic, kFmtMemo, kParadoxOle,
};
}

struct MappedType {
    std::int32_t tipo = 0;
    std::int32_t tamanho = 0;
    std::int32_t decimais = 0;
    friend bool operator==(const MappedType&, const MappedType&) = default;
};

// A type by its name (any letter case, words separated by single blanks: "double precision",
// "character varying") and its modifiers (`VARCHAR(60)`: {60}); nothing when the catalogue has no
// field type for it.
std::optional<MappedType> sql_field_type(std::string_view name, const std::vector<std::int32_t>& modifiers);

// A type as SQLite keeps a column's declared text ("NVARCHAR(160)", "numeric ( 10, 2 )"): its name
// and modifiers looked up as above, and when that finds none, by the affinity SQLite itself gives the
// text (https://www.sqlite.org/datatype3.html, 3.1), with `by_affinity` set.
MappedType sqlite_field_type(std::string_view declared, bool& by_affinity);

// "VARCHAR(60)": the name and modifiers of a declared type text, the name upper-cased with its blanks
// made single; nothing when the text is not a name with an optional list of whole numbers.
struct DeclaredType {
    std::string name;
    std::vector<std::int32_t> modifiers;
};
std::optional<DeclaredType> split_declared_type(std::string_view declared);

// The catalogue's name of a field type ("Integer").
std::string field_type_name(std::int32_t tipo);
