#pragma once

#include <optional>
#include <string_view>

// The databases of today that `kzr40 sql --dialect` writes scripts for. MySQL stands for MySQL and
// MariaDB alike: the scripts keep to what both take.
enum class Dialect { sqlite, postgresql, mysql };

inline constexpr Dialect kDialects[] = {Dialect::sqlite, Dialect::postgresql, Dialect::mysql};

// "sqlite", "postgresql", "mysql": the name the --dialect option takes.
std::string_view dialect_name(Dialect dialect);
// "SQLite", "PostgreSQL", "MySQL/MariaDB": the name shown in scripts and messages.
std::string_view dialect_title(Dialect dialect);
// The dialect of an option value, in any letter case; "mariadb" is taken for mysql. Empty for anything else.
std::optional<Dialect> parse_dialect(std::string_view name);
