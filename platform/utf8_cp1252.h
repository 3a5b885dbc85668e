#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// Conversion between the UTF-8 of diagram files and terminals and the single-byte Windows-1252 of
// everything inside the plug-in, through the code page's one table (platform/windows_1252.h). Plain
// ASCII, by far the most common text in a diagram, is copied as it is.

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
// std::runtime_error for invalid UTF-8. A sequence that is well formed but not valid UTF-8 (an overlong
// form, a surrogate, a value above U+10FFFF) is the character its bits spell, and has no byte. The
// tag characters U+E0000..U+E007F are left out.
std::string utf8_to_cp1252(std::string_view utf8);
// Converts Windows-1252 to UTF-8; the five bytes that Windows-1252 leaves undefined become U+FFFD.
std::string cp1252_to_utf8(std::string_view text);

// "U+00E7 'ç'": how an error message shows a character.
std::string describe_character(const UnmappableCharacter& character);

// The character of the UTF-8 sequence at the start of `text`, as its bits spell it, with `length` its
// bytes; 0 with `length` 0 when the lead byte or a continuation byte is wrong or the text ends inside
// the sequence. Overlong forms, surrogates and values above U+10FFFF are left for the caller to refuse.
char32_t decode_utf8(std::string_view text, std::size_t& length);
