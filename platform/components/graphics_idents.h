#pragma once

#include "platform/formfile/value.h"
#include "platform/graphics.h"

// Colours and character sets as the form text names them (clBtnFace, DEFAULT_CHARSET, ...); values
// without a name are integers.
formfile::Value color_value(TColor color);
formfile::Value charset_value(TFontCharset charset);
// The reverse, for values read from a stream: an identifier or an integer. An unknown name raises
// EComponentError.
TColor color_from_value(const formfile::Value& value);
TFontCharset charset_from_value(const formfile::Value& value);
