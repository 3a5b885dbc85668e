// Registers the shape classes by name when the program or library loads, so that stored diagrams
// naming them can be read back. Captions are registered too: a stored diagram lists each caption as
// an object of its own, and without its class no diagram that has one could be read back.
// The one registration unit of this layer, kept in every static link by the kzr40_shapes target's
// link option (see ClassRegistration).

#include "shapes/shape_registration.h"

#include "shapes/connector.h"
#include "shapes/text_shape.h"

extern "C" {
const ClassRegistration kzr40_shape_classes{TnoxCustomShapeClass, TnoxMoveableShapeClass, TnoxSizeableShapeClass,
                                            TnoxConnectionClass,  TnoxConnectorClass,     TnoxTextShapeClass,
                                            tnoxCaptionClass};
}
