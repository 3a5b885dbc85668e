#pragma once

#include "platform/components/class_info.h"

// The model's registration unit: the relationship, the free text and the root class of stored
// diagrams, registered by name in that order.
extern "C" const ClassRegistration kzr40_model_classes;
