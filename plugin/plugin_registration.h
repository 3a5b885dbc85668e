#pragma once

#include "platform/components/class_info.h"

// The plug-in's registration unit: the entity, registered by name.
extern "C" const ClassRegistration kzr40_plugin_classes;
