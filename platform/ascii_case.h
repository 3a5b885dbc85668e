#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Letter case of the ASCII letters alone, whatever the locale: identifiers, resource names, option
// words and font names fold and compare this way. Bytes from $80 keep their value; Windows-1252 letters
// fold through platform/windows_1252.h.

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiUpperCase(std::string_view text);
std::string AsciiLowerCase(std::string_view text);
// Inline: the component model compares names by the hundred thousand, most of them of other lengths.
// Most names that meet are spelt alike (a stream gives a property as its class declares it), so the
// bytes are compared as they are first, a word at a time, before letter by letter.
inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}
