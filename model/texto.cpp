#include "model/texto.h"

#include "platform/components/property_builders.h"

Ttexto::Ttexto(TComponent* owner) : Ttexto(owner, TtextoClass()) {}

Ttexto::Ttexto(TComponent* owner, const ComponentClass& description) : TnoxTextShape(owner, description) {}

void Ttexto::SetEscala(int percent) {
    TnoxTextShape::SetEscala(percent);
    FitText();
}

// Publishes nothing of its own: what the text shape and the base shape publish.
const ComponentClass& TtextoClass() {
    static const ComponentClass description = [] {
        ComponentClass c("Ttexto", &TnoxTextShapeClass());
        props::creatable<Ttexto>(c);
        return c;
    }();
    return description;
}
