#pragma once

#include "platform/components/class_info.h"
#include "platform/components/property_value.h"
#include "platform/formfile/value.h"

// The one place where a property's typed value meets the stream's values: the writer encodes what it
// decided to store, the reader decodes what it read, both by the property's kind.

// The stream value of `value`, as the target's writer puts it: the smallest integer width, a
// one-byte string up to 255 bytes, a colour or character set by its name when it has one.
formfile::Value encode_property(const PropertyInfo& info, const PropertyValue& value);

// The typed value of a stream value for the property; a value of another type raises EComponentError
// naming the property and the type read.
PropertyValue decode_property(const PropertyInfo& info, const formfile::Value& value);
