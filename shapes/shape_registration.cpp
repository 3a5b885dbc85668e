// Registers the shape classes by name when the program or library loads, so that stored diagrams
// naming them can be read back. Captions are registered too: a stored diagram lists each caption as
// an object of its own, and without its class no diagram that has one could be read back.
//
// A static link keeps an object file only when something refers to it, and the platform's own list
// of units cannot refer upward to this layer. The kzr40_shapes target therefore asks every program
// and library that links it to keep the symbol below (an interface link option, -u), which keeps
// this file and, through it, every shape class.

#include "platform/components/class_info.h"
#include "shapes/connector.h"
#include "shapes/text_shape.h"

extern "C" {
extern const ClassRegistration kzr40_shape_classes;
const ClassRegistration kzr40_shape_classes{TnoxCustomShapeClass, TnoxMoveableShapeClass, TnoxSizeableShapeClass,
                                            TnoxConnectionClass,  TnoxConnectorClass,     TnoxTextShapeClass,
                                            tnoxCaptionClass};
}
