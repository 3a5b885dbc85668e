#pragma once

#include <cstdint>
#include <string_view>

#include "platform/ascii_case.h"

// FNV-1a of the text in lower case: texts equal where SameIgnoringAsciiCase holds hash equal, with no
// folded copy made. The high bits are folded into the low ones, which open-addressed tables index by.
inline std::uint64_t AsciiCaselessHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037u;
    for (char c : text) hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211u;
    return hash ^ (hash >> 29);
}
