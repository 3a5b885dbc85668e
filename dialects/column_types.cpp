#include "dialects/column_types.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace {

// Field types of the catalogue, by index.
enum FieldType : std::int32_t {
    kUnknown, kString, kSmallInt, kInteger, kWord, kBoolean, kFloat, kCurrency, kBcd, kDate, kTime,
    kDateTime, kBytes, kVarBytes, kAutoInc, kBlob, kMemo, kGraphic, kFmtMemo, kParadoxOle,
};

// The longest a sized type may be before it becomes its unlimited kind.
constexpr std::int32_t kPostgresqlMaxVarchar = 10485760;
constexpr std::int32_t kMysqlMaxVarchar = 16383;      // 65,535 bytes of row in utf8mb4
constexpr std::int32_t kMysqlMaxVarbinary = 65532;
constexpr std::int32_t kMysqlMaxBinary = 255;
constexpr std::int32_t kMysqlMaxKeyBytes = 3072;
constexpr std::int32_t kMysqlBytesPerCharacter = 4;  // utf8mb4
constexpr std::int32_t kPostgresqlMaxPrecision = 1000;
constexpr std::int32_t kMysqlMaxPrecision = 65;
constexpr std::int32_t kMysqlMaxScale = 30;

// NAME(a) or NAME(a,b), made in one go: a large diagram asks this for every column.
ColumnType with_numbers(std::string_view name, std::int32_t a, std::optional<std::int32_t> b = std::nullopt) {
    char text[48];
    char* end = std::copy(name.begin(), name.end(), text);
    *end++ = '(';
    end = std::to_chars(end, text + sizeof text, a).ptr;
    if (b) {
        *end++ = ',';
        end = std::to_chars(end, text + sizeof text, *b).ptr;
    }
    *end++ = ')';
    return ColumnType(std::string_view(text, static_cast<std::size_t>(end - text)));
}

ColumnType sized(const char* name, std::int32_t size) { return with_numbers(name, size); }

ColumnType numeric(Dialect dialect, std::int32_t precision, std::int32_t scale) {
    const char* name = dialect == Dialect::mysql ? "DECIMAL" : "NUMERIC";
    scale = std::max(scale, 0);
    if (precision <= 0) {
        // No size: as many digits as the dialect keeps.
        if (dialect == Dialect::mysql) return "DECIMAL(65,30)";
        return name;
    }
    precision = std::min(precision, dialect == Dialect::mysql ? kMysqlMaxPrecision : kPostgresqlMaxPrecision);
    scale = std::min(scale, precision);
    if (dialect == Dialect::mysql) scale = std::min(scale, kMysqlMaxScale);
    return with_numbers(name, precision, scale);
}

ColumnType bytes(Dialect dialect) {
    switch (dialect) {
        case Dialect::sqlite: return "BLOB";
        case Dialect::postgresql: return "BYTEA";
        case Dialect::mysql: return "LONGBLOB";
    }
    return {};
}

ColumnType text(Dialect dialect) { return dialect == Dialect::mysql ? "LONGTEXT" : "TEXT"; }

}  // namespace

ColumnType column_type(Dialect dialect, std::int32_t tipo, std::int32_t tamanho, std::int32_t decimais) {
    const bool mysql = dialect == Dialect::mysql;
    switch (tipo) {
        case kString:
            if (tamanho <= 0 || tamanho > (mysql ? kMysqlMaxVarchar : kPostgresqlMaxVarchar)) return text(dialect);
            return sized("VARCHAR", tamanho);
        case kSmallInt: return "SMALLINT";
        case kInteger:
        case kAutoInc: return mysql ? "INT" : "INTEGER";
        case kWord: return mysql ? "SMALLINT UNSIGNED" : "INTEGER";
        case kBoolean: return "BOOLEAN";
        case kFloat:
            switch (dialect) {
                case Dialect::sqlite: return "REAL";
                case Dialect::postgresql: return "DOUBLE PRECISION";
                case Dialect::mysql: return "DOUBLE";
            }
            break;
        case kCurrency: return numeric(dialect, 19, 4);
        case kBcd: return numeric(dialect, tamanho, decimais);
        case kDate: return "DATE";
        case kTime: return "TIME";
        case kDateTime: return mysql ? "DATETIME" : "TIMESTAMP";
        case kBytes:
            if (mysql && tamanho > 0 && tamanho <= kMysqlMaxBinary) return sized("BINARY", tamanho);
            [[fallthrough]];
        case kVarBytes:
            if (mysql && tamanho > 0 && tamanho <= kMysqlMaxVarbinary) return sized("VARBINARY", tamanho);
            return bytes(dialect);
        case kMemo: return text(dialect);
        case kUnknown:
        case kBlob:
        case kGraphic:
        case kFmtMemo:
        case kParadoxOle: return bytes(dialect);
    }
    return bytes(dialect);
}

bool indexable_type(Dialect dialect, std::int32_t tipo, std::int32_t tamanho) {
    if (dialect != Dialect::mysql) return true;
    const ColumnType type = column_type(dialect, tipo, tamanho, 0);
    if (type.ends_with("TEXT") || type.ends_with("BLOB")) return false;
    if (type.starts_with("VARCHAR")) return tamanho * kMysqlBytesPerCharacter <= kMysqlMaxKeyBytes;
    if (type.starts_with("VARBINARY")) return tamanho <= kMysqlMaxKeyBytes;
    return true;
}

bool foreign_key_types_match(std::string_view parent, std::string_view child) {
    if (parent == child) return true;
    const auto base = [](std::string_view type) {
        for (std::string_view string_type : {"VARCHAR(", "VARBINARY(", "BINARY("})
            if (type.starts_with(string_type)) return string_type;
        return type;
    };
    return base(parent) == base(child);
}

std::int64_t mysql_row_bytes(std::string_view type) {
    const auto length = [type] {
        std::int64_t value = 0;
        const std::string_view digits = type.substr(type.find('(') + 1);
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return value;
    };
    if (type.starts_with("VARCHAR(")) {
        const std::int64_t bytes = length() * kMysqlBytesPerCharacter;
        return bytes + (bytes > 255 ? 2 : 1);
    }
    if (type.starts_with("VARBINARY(")) return length() + (length() > 255 ? 2 : 1);
    if (type.starts_with("BINARY(")) return length();
    if (type.ends_with("TEXT") || type.ends_with("BLOB")) return 12;  // the part kept in the row
    if (type.starts_with("DECIMAL(")) return 30;
    return 8;
}

std::string_view mysql_large_object(std::string_view type) { return type.starts_with("VARCHAR(") ? "LONGTEXT" : "LONGBLOB"; }
