#include "platform/identifier.h"

#include <algorithm>

namespace {
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

bool SameIdent(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string IdentKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) c = lower(c);
    return key;
}
