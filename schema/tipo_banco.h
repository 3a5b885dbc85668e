#pragma once

#include <cstdint>
#include <string_view>

#include "platform/table.h"

// What a database kind means for the generated names and the table object: 1 is dBase, 2 Oracle, and
// every other kind behaves as Paradox.
struct PerfilBanco {
    std::string_view extensao;         // appended to the table name: ".DB", ".DBF", ".DBG"
    std::string_view tipo_tabela_fonte;  // TableType in a generated unit: "ttParadox", "ttdBase", "ttOracle"
    TTableType tipo_tabela;            // TableType set by gera_tab
};

const PerfilBanco& perfil_banco(std::int32_t tipo_banco);

inline constexpr std::int32_t kBancoDBase = 1;
