#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "dialects/dialect.h"

// The column type of each of the catalogue's twenty field types in each dialect (the table is in
// docs/sql-dialects.md). Sizes and decimals count where the dialect's type takes them and are brought
// within its limits.

// A type as column_type writes it, held in place: the longest ("NUMERIC(1000,1000)") is short, and a
// plan of many columns is then freed without visiting each.
class ColumnType {
public:
    static constexpr std::size_t kCapacity = 23;
    ColumnType() = default;
    // Keeps the first kCapacity characters, which every type column_type writes fits in.
    ColumnType(std::string_view text) : size_(static_cast<unsigned char>(std::min(text.size(), kCapacity))) {
        std::memcpy(text_, text.data(), size_);
    }
    ColumnType(const char* text) : ColumnType(std::string_view(text)) {}
    std::string_view view() const { return {text_, size_}; }
    operator std::string_view() const { return view(); }
    operator std::string() const { return std::string(view()); }
    bool starts_with(std::string_view prefix) const { return view().starts_with(prefix); }
    bool ends_with(std::string_view suffix) const { return view().ends_with(suffix); }
    std::size_t find(std::string_view part) const { return view().find(part); }
    friend bool operator==(const ColumnType& a, std::string_view b) { return a.view() == b; }

private:
    char text_[kCapacity] = {};
    unsigned char size_ = 0;
};

// The type of a column of field type `tipo` (0..19) with the attribute's size and decimals:
// "VARCHAR(60)", "NUMERIC(19,4)", "BYTEA". An AutoInc column gets its integer type here; whether it
// counts (identity, AUTO_INCREMENT, AUTOINCREMENT) the table decides, since that depends on its key.
ColumnType column_type(Dialect dialect, std::int32_t tipo, std::int32_t tamanho, std::int32_t decimais);

// Whether the column can be part of a key or an index: MySQL indexes no TEXT or BLOB column whole
// and no key longer than 3,072 bytes (a VARCHAR of more than 768 characters in utf8mb4).
bool indexable_type(Dialect dialect, std::int32_t tipo, std::int32_t tamanho);

// Whether a foreign-key column of type `child` can refer to a key column of type `parent` (types as
// column_type writes them): the same type, where only the length of a character or byte string may
// differ. MySQL asks as much; the other dialects are held to it too, so that a diagram's foreign keys
// are the same in every dialect.
bool foreign_key_types_match(std::string_view parent, std::string_view child);

// MySQL: the bytes a column of that type takes of the 65,535 a row may hold besides its large objects
// (a VARCHAR counts its whole length in utf8mb4), and the type that holds the same data outside the row.
inline constexpr std::int64_t kMysqlMaxRowBytes = 65535;
std::int64_t mysql_row_bytes(std::string_view type);
std::string_view mysql_large_object(std::string_view type);  // LONGTEXT for a VARCHAR, LONGBLOB for the bytes

inline constexpr std::int32_t kAutoIncType = 14;
