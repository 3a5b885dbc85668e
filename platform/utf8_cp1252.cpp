#include "platform/utf8_cp1252.h"

#include <algorithm>
#include <cstdio>

#include "platform/windows_1252.h"

namespace {

bool is_ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// True when `code` takes fewer than `length` bytes in UTF-8.
bool overlong(char32_t code, std::size_t length) {
    return length > (code < 0x80 ? 1u : code < 0x800 ? 2u : code < 0x10000 ? 3u : 4u);
}

// The tag characters (U+E0000..U+E007F) only label the text before them (a flag's region, a
// language) and are dropped rather than refused, as every code-page conversion on the system drops them.
bool is_tag(char32_t code) { return (code >> 7) == (0xE0000 >> 7); }

// Appends the UTF-8 of a character of the Basic Multilingual Plane, the only plane Windows-1252 uses.
void append_utf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

UnmappableCharacter::UnmappableCharacter(char32_t code_point, std::string utf8)
    : std::runtime_error("character without a Windows-1252 byte"), code_point_(code_point), utf8_(std::move(utf8)) {}

char32_t decode_utf8(std::string_view text, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    length = 0;
    if (text.empty()) return 0;
    const unsigned char lead = byte(0);
    std::size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || n > text.size()) return 0;
    char32_t code = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    length = n;
    return code;
}

std::string utf8_to_cp1252(std::string_view utf8) {
    if (is_ascii(utf8)) return std::string(utf8);
    std::string output;
    output.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t length = 0;
        const char32_t code = decode_utf8(utf8.substr(at), length);
        if (length == 0) throw std::runtime_error("invalid UTF-8 at byte " + std::to_string(at));
        if (is_tag(code)) {
            at += length;
            continue;
        }
        const int byte = overlong(code, length) ? -1 : UnicodeToWindows1252(code);
        if (byte < 0) throw UnmappableCharacter(code, std::string(utf8.substr(at, length)));
        output += static_cast<char>(byte);
        at += length;
    }
    return output;
}

std::string cp1252_to_utf8(std::string_view text) {
    if (is_ascii(text)) return std::string(text);
    std::string output;
    output.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!Windows1252Defined(byte))
            output += "\xEF\xBF\xBD";  // the replacement character
        else
            append_utf8(output, Windows1252ToUnicode(byte));
    }
    return output;
}

std::string describe_character(const UnmappableCharacter& character) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character.code_point()));
    return character.utf8().empty() ? std::string(code) : std::string(code) + " '" + character.utf8() + "'";
}
