#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/list_error.h"
#include "platform/object.h"

// The database table object that the host hands to `gera_tab` (to be set up) and to `gerarform` (to be
// read): what those entry points use of the platform's table, with the platform's names and orders.

enum class TTableType : std::uint8_t { ttDefault, ttParadox, ttDBase, ttASCII };

enum class TIndexOption : std::uint8_t {
    ixPrimary,
    ixUnique,
    ixDescending,
    ixCaseInsensitive,
    ixExpression,
    ixNonMaintained,
};

// A set of TIndexOption values, one bit per member in declaration order.
class KZR40_API TIndexOptions {
public:
    constexpr TIndexOptions() = default;
    constexpr TIndexOptions(std::initializer_list<TIndexOption> members) {
        for (TIndexOption m : members) include(m);
    }
    constexpr bool contains(TIndexOption m) const { return (bits_ & bit(m)) != 0; }
    constexpr void include(TIndexOption m) { bits_ = static_cast<std::uint8_t>(bits_ | bit(m)); }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr std::uint8_t bits() const { return bits_; }
    friend constexpr bool operator==(TIndexOptions, TIndexOptions) = default;

private:
    static constexpr std::uint8_t bit(TIndexOption m) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(m)); }
    std::uint8_t bits_ = 0;
};

// "[ixPrimary,ixUnique]": the set as the platform's source code writes it.
std::string to_string(TIndexOptions options);
const char* to_string(TTableType type);

struct KZR40_API TFieldDef {
    std::string Name;
    std::int32_t DataType = 0;  // field-type ordinal, 0 (unknown) .. 19 (Paradox OLE)
    std::int32_t Size = 0;      // 0 when not set
    bool Required = false;
};

class KZR40_API TFieldDefs {
public:
    void Clear() { items_.clear(); }
    void Add(const std::string& name, std::int32_t data_type, std::int32_t size = 0, bool required = false);
    int Count() const { return static_cast<int>(items_.size()); }
    // Item `index`; raises EListError outside 0..Count()-1.
    const TFieldDef& operator[](int index) const;

private:
    std::vector<TFieldDef> items_;
};

struct KZR40_API TIndexDef {
    std::string Name;
    std::string Fields;  // field names separated by ";", or an expression
    TIndexOptions Options;
};

class KZR40_API TIndexDefs {
public:
    void Clear() { items_.clear(); }
    void Add(const std::string& name, const std::string& fields, TIndexOptions options);
    int Count() const { return static_cast<int>(items_.size()); }
    const TIndexDef& operator[](int index) const;

private:
    std::vector<TIndexDef> items_;
};

class KZR40_API TTable : public TObject {
public:
    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }
    const std::string& DatabaseName() const { return database_name_; }
    void SetDatabaseName(const std::string& value) { database_name_ = value; }
    const std::string& TableName() const { return table_name_; }
    void SetTableName(const std::string& value) { table_name_ = value; }
    TTableType TableType() const { return table_type_; }
    void SetTableType(TTableType value) { table_type_ = value; }

    TFieldDefs& FieldDefs() { return field_defs_; }
    const TFieldDefs& FieldDefs() const { return field_defs_; }
    TIndexDefs& IndexDefs() { return index_defs_; }
    const TIndexDefs& IndexDefs() const { return index_defs_; }

private:
    bool active_ = false;
    std::string database_name_;
    std::string table_name_;
    TTableType table_type_ = TTableType::ttDefault;
    TFieldDefs field_defs_;
    TIndexDefs index_defs_;
};
