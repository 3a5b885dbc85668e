#pragma once

#include "shapes/text_shape.h"

// A free text on the diagram, tied to no entity or relationship: a text shape whose box fits the text
// again whenever the zoom is set.
class Ttexto : public TnoxTextShape {
public:
    explicit Ttexto(TComponent* owner);
    Ttexto(TComponent* owner, const ComponentClass& description);

    // Zooms like every shape, then fits the box to the text at the new font size, also when the value
    // is unchanged (which shrinks a box the user enlarged).
    void SetEscala(int percent) override;
};

const ComponentClass& TtextoClass();
