#include "platform/utf8_cp1252.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool is_ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One iconv descriptor per direction and thread (the loader reads with two), opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `input`; on a conversion error returns false with `failed_at` set to the offset of the
    // offending input and `error` to errno.
    bool run(std::string_view input, std::string& output, std::size_t& failed_at, int& error) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        output.assign(input.size() * 4 + 4, '\0');
        char* in = const_cast<char*>(input.data());
        std::size_t in_left = input.size();
        char* out = output.data();
        std::size_t out_left = output.size();
        const std::size_t done = iconv(handle_, &in, &in_left, &out, &out_left);
        output.resize(output.size() - out_left);
        if (done == static_cast<std::size_t>(-1)) {
            failed_at = input.size() - in_left;
            error = errno;
            return false;
        }
        return true;
    }

private:
    iconv_t handle_;
};

// Decodes the UTF-8 sequence at the start of `text`; 0 with length 0 when it is not valid.
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

}  // namespace

UnmappableCharacter::UnmappableCharacter(char32_t code_point, std::string utf8)
    : std::runtime_error("character without a Windows-1252 byte"), code_point_(code_point), utf8_(std::move(utf8)) {}

std::string utf8_to_cp1252(std::string_view utf8) {
    if (is_ascii(utf8)) return std::string(utf8);
    thread_local Converter converter("WINDOWS-1252", "UTF-8");
    std::string output;
    std::size_t failed_at = 0;
    int error = 0;
    if (converter.run(utf8, output, failed_at, error)) return output;
    std::size_t length = 0;
    const char32_t code = decode_utf8(utf8.substr(failed_at), length);
    if (error == EILSEQ && length > 0) throw UnmappableCharacter(code, std::string(utf8.substr(failed_at, length)));
    throw std::runtime_error("invalid UTF-8 at byte " + std::to_string(failed_at));
}

std::string cp1252_to_utf8(std::string_view text) {
    if (is_ascii(text)) return std::string(text);
    thread_local Converter converter("UTF-8", "WINDOWS-1252");
    std::string output;
    std::string piece;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t failed_at = 0;
        int error = 0;
        if (converter.run(text.substr(start), piece, failed_at, error)) {
            output += piece;
            break;
        }
        output += piece;
        output += "\xEF\xBF\xBD";  // an undefined byte: the replacement character
        start += failed_at + 1;
    }
    return output;
}

std::string describe_character(const UnmappableCharacter& character) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character.code_point()));
    return character.utf8().empty() ? std::string(code) : std::string(code) + " '" + character.utf8() + "'";
}
