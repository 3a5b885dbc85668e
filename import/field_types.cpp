#include "import/field_types.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>

#include "platform/ascii_case.h"

namespace {

using namespace field_type;

enum class Sized { no, length, precision };

struct Entry {
    std::int32_t tipo;
    Sized sized;
    std::int32_t tamanho = 0;  // when the type has no modifiers
    std::int32_t decimais = 0;
};

// Names as PostgreSQL, SQLite's documentation and MySQL spell them, lower case. BIGINT has no integer
// field type wide enough: it comes in as BCD of 19 digits, which holds every value.
const std::map<std::string, Entry, std::less<>> kTypes = {
    {"smallint", {kSmallInt, Sized::no}},       {"int2", {kSmallInt, Sized::no}},
    {"tinyint", {kSmallInt, Sized::no}},        {"integer", {kInteger, Sized::no}},
    {"int", {kInteger, Sized::no}},             {"int4", {kInteger, Sized::no}},
    {"mediumint", {kInteger, Sized::no}},       {"bigint", {kBcd, Sized::no, 19, 0}},
    {"int8", {kBcd, Sized::no, 19, 0}},         {"unsigned big int", {kBcd, Sized::no, 19, 0}},
    {"smallint unsigned", {kWord, Sized::no}},  {"serial", {kAutoInc, Sized::no}},
    {"serial4", {kAutoInc, Sized::no}},         {"smallserial", {kAutoInc, Sized::no}},
    {"serial2", {kAutoInc, Sized::no}},         {"boolean", {kBoolean, Sized::no}},
    {"bool", {kBoolean, Sized::no}},            {"real", {kFloat, Sized::no}},
    {"float4", {kFloat, Sized::no}},            {"float", {kFloat, Sized::no}},
    {"float8", {kFloat, Sized::no}},            {"double", {kFloat, Sized::no}},
    {"double precision", {kFloat, Sized::no}},  {"money", {kCurrency, Sized::no}},
    {"numeric", {kBcd, Sized::precision}},      {"decimal", {kBcd, Sized::precision}},
    {"date", {kDate, Sized::no}},               {"time", {kTime, Sized::no}},
    {"time without time zone", {kTime, Sized::no}},
    {"timestamp", {kDateTime, Sized::no}},      {"timestamp without time zone", {kDateTime, Sized::no}},
    {"timestamptz", {kDateTime, Sized::no}},    {"timestamp with time zone", {kDateTime, Sized::no}},
    {"datetime", {kDateTime, Sized::no}},       {"varchar", {kString, Sized::length}},
    {"character varying", {kString, Sized::length}},
    {"varying character", {kString, Sized::length}},
    {"nvarchar", {kString, Sized::length}},     {"nchar", {kString, Sized::length, 1}},
    {"native character", {kString, Sized::length, 1}},
    {"char", {kString, Sized::length, 1}},      {"character", {kString, Sized::length, 1}},
    {"bpchar", {kString, Sized::length, 1}},    {"text", {kMemo, Sized::no}},
    {"clob", {kMemo, Sized::no}},               {"tinytext", {kMemo, Sized::no}},
    {"mediumtext", {kMemo, Sized::no}},         {"longtext", {kMemo, Sized::no}},
    {"blob", {kBlob, Sized::no}},               {"bytea", {kBlob, Sized::no}},
    {"longblob", {kBlob, Sized::no}},           {"mediumblob", {kBlob, Sized::no}},
    {"binary", {kBytes, Sized::length, 1}},     {"varbinary", {kVarBytes, Sized::length}},
    {"uuid", {kString, Sized::no, 36}},  // its text form: 8-4-4-4-12 hexadecimal digits
};

bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

std::optional<MappedType> sql_field_type(std::string_view name, const std::vector<std::int32_t>& modifiers) {
    const auto found = kTypes.find(AsciiLowerCase(name));
    if (found == kTypes.end()) return std::nullopt;
    const Entry& entry = found->second;
    MappedType type{entry.tipo, entry.tamanho, entry.decimais};
    switch (entry.sized) {
        case Sized::no:
            if (!modifiers.empty() && entry.tipo != kFloat && entry.tipo != kTime && entry.tipo != kDateTime &&
                entry.tipo != kInteger && entry.tipo != kSmallInt)
                return std::nullopt;
            break;
        case Sized::length:
            if (modifiers.size() > 1) return std::nullopt;
            if (!modifiers.empty()) type.tamanho = modifiers[0];
            break;
        case Sized::precision:
            if (modifiers.size() > 2) return std::nullopt;
            if (!modifiers.empty()) type.tamanho = modifiers[0];
            if (modifiers.size() == 2) type.decimais = modifiers[1];
            break;
    }
    if (type.tamanho < 0 || type.decimais < 0 || type.decimais > std::max(type.tamanho, 0)) return std::nullopt;
    return type;
}

std::optional<DeclaredType> split_declared_type(std::string_view declared) {
    DeclaredType result;
    std::size_t i = 0;
    const auto skip_blanks = [&] {
        while (i < declared.size() && blank(declared[i])) ++i;
    };
    skip_blanks();
    while (i < declared.size() && declared[i] != '(') {
        if (blank(declared[i])) {
            skip_blanks();
            if (i < declared.size() && declared[i] != '(') result.name += ' ';
            continue;
        }
        result.name += AsciiUpper(declared[i++]);
    }
    if (i == declared.size()) return result;
    ++i;  // '('
    for (;;) {
        skip_blanks();
        const bool negative = i < declared.size() && (declared[i] == '-' || declared[i] == '+');
        std::int64_t value = 0;
        const std::size_t first = i + (negative ? 1 : 0);
        std::size_t end = first;
        while (end < declared.size() && declared[end] >= '0' && declared[end] <= '9') {
            value = std::min<std::int64_t>(value * 10 + (declared[end] - '0'), std::numeric_limits<std::int32_t>::max());
            ++end;
        }
        if (end == first) return std::nullopt;
        if (declared[i] == '-') value = -value;
        result.modifiers.push_back(static_cast<std::int32_t>(value));
        i = end;
        skip_blanks();
        if (i < declared.size() && declared[i] == ',') {
            ++i;
            continue;
        }
        if (i < declared.size() && declared[i] == ')') break;
        return std::nullopt;
    }
    ++i;
    skip_blanks();
    if (i != declared.size()) return std::nullopt;
    return result;
}

MappedType sqlite_field_type(std::string_view declared, bool& by_affinity) {
    by_affinity = false;
    if (const auto split = split_declared_type(declared))
        if (const auto type = sql_field_type(split->name, split->modifiers)) return *type;
    by_affinity = true;
    const std::string upper = AsciiUpperCase(declared);
    const auto has = [&upper](std::string_view part) { return upper.find(part) != std::string::npos; };
    if (has("INT")) return {kInteger};
    if (has("CHAR") || has("CLOB") || has("TEXT")) return {kMemo};
    if (has("BLOB") || upper.find_first_not_of(" \t\r\n") == std::string::npos) return {kBlob};
    if (has("REAL") || has("FLOA") || has("DOUB")) return {kFloat};
    return {kBcd};
}

std::string field_type_name(std::int32_t tipo) {
    static const char* const kNames[] = {"Desconhecido", "String", "SmallInt", "Integer", "Word", "Boolean", "Float",
                                         "Currency", "BCD", "Date", "Time", "DateTime", "Bytes", "VarBytes",
                                         "AutoInc", "Blob", "Memo", "Graphic", "FmtMemo", "ParadoxOle"};
    return tipo >= 0 && tipo < 20 ? kNames[tipo] : "#" + std::to_string(tipo);
}
