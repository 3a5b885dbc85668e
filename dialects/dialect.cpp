#include "dialects/dialect.h"

#include <string>

#include "platform/ascii_case.h"

std::string_view dialect_name(Dialect dialect) {
    switch (dialect) {
        case Dialect::sqlite: return "sqlite";
        case Dialect::postgresql: return "postgresql";
        case Dialect::mysql: return "mysql";
    }
    return "";
}

std::string_view dialect_title(Dialect dialect) {
    switch (dialect) {
        case Dialect::sqlite: return "SQLite";
        case Dialect::postgresql: return "PostgreSQL";
        case Dialect::mysql: return "MySQL/MariaDB";
    }
    return "";
}

std::optional<Dialect> parse_dialect(std::string_view name) {
    const std::string lower = AsciiLowerCase(std::string(name));
    if (lower == "mariadb") return Dialect::mysql;
    for (Dialect dialect : kDialects)
        if (lower == dialect_name(dialect)) return dialect;
    return std::nullopt;
}
