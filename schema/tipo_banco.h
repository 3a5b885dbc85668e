#pragma once

#include <cstdint>
#include <string_view>

#include "platform/table.h"

// What a database kind means for the generated names and the table object: 1 is dBase, 2 Oracle, and
// every other kind behaves as Paradox.
struct DatabaseProfile {
    std::string_view extension;          // appended to the table name: ".DB", ".DBF", ".DBG"
    std::string_view table_type_source;  // TableType in a generated unit: "ttParadox", "ttdBase", "ttOracle"
    TTableType table_type;               // TableType set by gera_tab
};

const DatabaseProfile& database_profile(std::int32_t kind);

inline constexpr std::int32_t kBancoDBase = 1;
