#pragma once

#include <string>
#include <string_view>

#include "platform/ascii_case.h"

// Identifiers of the target language (class, component and property names): ASCII letters, digits and
// "_", compared without regard to the letter case of ASCII letters.

// True when `name` is an identifier: a letter or "_" followed by letters, digits and "_".
bool IsValidIdent(std::string_view name);
inline bool SameIdent(std::string_view a, std::string_view b) { return SameIgnoringAsciiCase(a, b); }
// A key under which identifiers that compare equal are equal (ASCII letters in lower case).
std::string IdentKey(std::string_view name);
