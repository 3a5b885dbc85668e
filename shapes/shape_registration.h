#pragma once

#include "platform/components/class_info.h"

// The shapes' registration unit: the shape classes and the caption, registered by name.
extern "C" const ClassRegistration kzr40_shape_classes;
