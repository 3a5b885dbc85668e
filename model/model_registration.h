#pragma once

#include <span>

#include "platform/components/class_info.h"

using ClassDescriber = const ComponentClass& (*)();

// The model's classes in the order they are registered by name at load: the entity, the relationship
// and the free text.
std::span<const ClassDescriber> ModelClasses();
