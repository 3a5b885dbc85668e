#include "platform/ascii_case.h"

#include <algorithm>

std::string AsciiUpperCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = AsciiUpper(c);
    return folded;
}

std::string AsciiLowerCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = AsciiLower(c);
    return folded;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a == b) return true;  // the common case: a name spelled as it was declared
    return std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}
