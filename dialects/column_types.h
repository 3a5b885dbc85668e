#pragma once

#include <cstdint>
#include <string>

#include "dialects/dialect.h"

// The column type of each of the catalogue's twenty field types in each dialect (the table is in
// docs/sql-dialects.md). Sizes and decimals count where the dialect's type takes them and are brought
// within its limits.

// The type of a column of field type `tipo` (0..19) with the attribute's size and decimals:
// "VARCHAR(60)", "NUMERIC(19,4)", "BYTEA". An AutoInc column gets its integer type here; whether it
// counts (identity, AUTO_INCREMENT, AUTOINCREMENT) the table decides, since that depends on its key.
std::string column_type(Dialect dialect, std::int32_t tipo, std::int32_t tamanho, std::int32_t decimais);

// Whether the column can be part of a key or an index: MySQL indexes no TEXT or BLOB column whole
// and no key longer than 3,072 bytes (a VARCHAR of more than 768 characters in utf8mb4).
bool indexable_type(Dialect dialect, std::int32_t tipo, std::int32_t tamanho);

// Whether a foreign-key column of type `child` can refer to a key column of type `parent` (types as
// column_type writes them): the same type, where only the length of a character or byte string may
// differ. MySQL asks as much; the other dialects are held to it too, so that a diagram's foreign keys
// are the same in every dialect.
bool foreign_key_types_match(const std::string& parent, const std::string& child);

// MySQL: the bytes a column of that type takes of the 65,535 a row may hold besides its large objects
// (a VARCHAR counts its whole length in utf8mb4), and the type that holds the same data outside the row.
inline constexpr std::int64_t kMysqlMaxRowBytes = 65535;
std::int64_t mysql_row_bytes(const std::string& type);
std::string mysql_large_object(const std::string& type);  // LONGTEXT for a VARCHAR, LONGBLOB for the bytes

inline constexpr std::int32_t kAutoIncType = 14;
