#include "schema/tipo_banco.h"

const PerfilBanco& perfil_banco(std::int32_t tipo_banco) {
    static constexpr PerfilBanco kParadox{".DB", "ttParadox", TTableType::ttParadox};
    static constexpr PerfilBanco kDBase{".DBF", "ttdBase", TTableType::ttDBase};
    // The platform has no Oracle table type: the table object keeps its default type.
    static constexpr PerfilBanco kOracle{".DBG", "ttOracle", TTableType::ttDefault};
    switch (tipo_banco) {
        case 1: return kDBase;
        case 2: return kOracle;
        default: return kParadox;
    }
}
