// Registers the model's classes by name when the program or library loads, so that stored diagrams
// naming them can be read back.
//
// A static link keeps an object file only when something refers to it, and no lower layer can refer
// to this one. The kzr40_model target therefore asks every program and library that links it to keep
// the symbol below (an interface link option, -u), which keeps this file and every model class.

#include "model/model_registration.h"

#include "model/relacionamento.h"
#include "model/texto.h"
#include "plugin/entidade.h"

extern const ClassRegistration kDiagramDocumentUnit;

namespace {
constexpr ClassDescriber kModelClasses[] = {TEntidadeClass, TRelacionamentoClass, TtextoClass};
// The root class of stored diagrams registers itself; this keeps its file wherever this one is kept.
[[gnu::used]] const ClassRegistration* const kDiagramDocument = &kDiagramDocumentUnit;
}  // namespace

struct ModelRegistration {
    ModelRegistration() {
        for (const ClassDescriber describe : kModelClasses) register_class(describe());
    }
};

std::span<const ClassDescriber> ModelClasses() { return kModelClasses; }

extern "C" {
extern const ModelRegistration kzr40_model_classes;
const ModelRegistration kzr40_model_classes;
}
