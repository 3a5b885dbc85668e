#include "platform/identifier.h"

#include <algorithm>

#include "platform/ascii_case.h"

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

std::string IdentKey(std::string_view name) { return AsciiLowerCase(name); }
