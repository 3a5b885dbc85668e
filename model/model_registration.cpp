// Registers the model's classes by name when the program or library loads, so that stored diagrams
// naming them can be read back: the relationship, the free text and the root class of stored
// diagrams. The one registration unit of this layer, kept in every static link by the kzr40_model
// target's link option (see ClassRegistration).

#include "model/model_registration.h"

#include "model/diagram_document.h"
#include "model/relacionamento.h"
#include "model/texto.h"

extern "C" {
const ClassRegistration kzr40_model_classes{TRelacionamentoClass, TtextoClass, TDiagramDocumentClass};
}
