#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Conversion between the UTF-8 of diagram files and terminals and the single-byte Windows-1252 of
// everything inside the plug-in. Both directions go through iconv; plain ASCII, by far the most common
// text in a diagram, is copied as it is.

// A character that has no Windows-1252 byte.
class UnmappableCharacter : public std::runtime_error {
public:
    UnmappableCharacter(char32_t code_point, std::string utf8);
    char32_t code_point() const { return code_point_; }
    // The character itself, as UTF-8 (empty when the input was not valid UTF-8).
    const std::string& utf8() const { return utf8_; }

private:
    char32_t code_point_;
    std::string utf8_;
};

// Converts UTF-8 to Windows-1252; throws UnmappableCharacter for a character without a byte there and
// std::runtime_error for invalid UTF-8.
std::string utf8_to_cp1252(std::string_view utf8);
// Converts Windows-1252 to UTF-8; the five bytes that Windows-1252 leaves undefined become U+FFFD.
std::string cp1252_to_utf8(std::string_view text);

// "U+00E7 'ç'": how an error message shows a character.
std::string describe_character(const UnmappableCharacter& character);
