#pragma once

#include <string_view>

#include "platform/components/forms.h"
#include "platform/formfile/value.h"

// A new form read from a stored design (form text parsed once by its owner file); raises
// EComponentError when the design's root is not a form of `class_name`.
TCustomForm* read_stored_form(const formfile::ObjectNode& design, std::string_view class_name, TComponent* owner);
