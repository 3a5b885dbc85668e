// Registers the entity class by name when the program or library loads, so that stored diagrams
// naming it can be read back. The one registration unit of this layer, kept in every static link by
// the kzr40_plugin target's link option (see ClassRegistration).

#include "plugin/plugin_registration.h"

#include "plugin/entidade.h"

extern "C" {
const ClassRegistration kzr40_plugin_classes{TEntidadeClass};
}
