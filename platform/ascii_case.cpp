#include "platform/ascii_case.h"

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
