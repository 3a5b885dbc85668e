#pragma once

#include "platform/components/class_info.h"

// The component library's registration unit: every class of its units, registered by name.
extern "C" const ClassRegistration kzr40_platform_classes;
