#include "schema/tipo_banco.h"

const DatabaseProfile& database_profile(std::int32_t kind) {
    static constexpr DatabaseProfile kParadox{".DB", "ttParadox", TTableType::ttParadox};
    static constexpr DatabaseProfile kDBase{".DBF", "ttdBase", TTableType::ttDBase};
    // The platform has no Oracle table type: the table object keeps its default type.
    static constexpr DatabaseProfile kOracle{".DBG", "ttOracle", TTableType::ttDefault};
    switch (kind) {
        case kBancoDBase: return kDBase;
        case 2: return kOracle;
        default: return kParadox;
    }
}
