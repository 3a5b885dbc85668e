// The UTF-8 codec held to the C library's converter for the same code page, over every character and
// the malformed sequences a hand-written decoder gets wrong.

#include <iconv.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/utf8_cp1252.h"

namespace {

// What a conversion gave: the text, or "U+XXXX <bytes>" for an unmappable character, or the error.
std::string outcome(std::string_view utf8) {
    try {
        return "text " + utf8_to_cp1252(utf8);
    } catch (const UnmappableCharacter& c) {
        return describe_character(c);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
}

// The same through iconv: the text, or where it stopped. An unmappable character and a malformed
// sequence both stop it; `outcome` must then report that place.
struct IconvResult {
    bool done;
    std::string text;
    std::size_t stopped_at;
};
IconvResult through_iconv(std::string_view utf8) {
    static const iconv_t cd = iconv_open("WINDOWS-1252", "UTF-8");
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(utf8.size() + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t in_left = utf8.size();
    char* to = out.data();
    std::size_t out_left = out.size();
    const bool done = iconv(cd, &in, &in_left, &to, &out_left) != static_cast<std::size_t>(-1);
    out.resize(out.size() - out_left);
    return {done, out, utf8.size() - in_left};
}

std::string encode(char32_t code, int bytes) {
    std::string s;
    if (bytes == 1) return std::string(1, static_cast<char>(code));
    const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    s += static_cast<char>(lead[bytes] | (code >> (6 * (bytes - 1))));
    for (int i = bytes - 2; i >= 0; --i) s += static_cast<char>(0x80 | ((code >> (6 * i)) & 0x3F));
    return s;
}

// Checks one input against iconv; returns false (after reporting) on a difference.
bool agrees(const std::string& utf8) {
    const IconvResult expected = through_iconv(utf8);
    const std::string got = outcome(utf8);
    if (expected.done) {
        EXPECT_EQ(got, "text " + expected.text) << testing::PrintToString(utf8);
        return got == "text " + expected.text;
    }
    // Stopped: at a sequence that cannot be read the error names the place; at one that can, the
    // character is named as those bytes.
    std::size_t length = 0;
    decode_utf8(std::string_view(utf8).substr(expected.stopped_at), length);
    const std::string wanted = length == 0 ? "invalid UTF-8 at byte " + std::to_string(expected.stopped_at)
                                           : " '" + utf8.substr(expected.stopped_at, length) + "'";
    const bool ok = length == 0 ? got == wanted : got.starts_with("U+") && got.ends_with(wanted);
    EXPECT_TRUE(ok) << testing::PrintToString(utf8) << " gave " << testing::PrintToString(got);
    return ok;
}

TEST(Utf8Cp1252, EveryCharacterConvertsAsTheSystemConverterHasIt) {
    int failures = 0;
    // The whole of the Basic Multilingual Plane and of the tag block, a sample of the planes above.
    const auto next = [](char32_t code) { return code < 0x10000 || (code >> 7) == (0xE0000 >> 7) ? code + 1 : code + 97; };
    for (char32_t code = 0; code <= 0x10FFFF && failures < 5; code = next(code)) {
        const int bytes = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        // After a non-ASCII character, so that the fast ASCII path does not take it.
        if (!agrees("\xC3\xA7" + encode(code, bytes) + "z")) ++failures;
    }
}

TEST(Utf8Cp1252, MalformedSequencesStopWhereTheSystemConverterStops) {
    const std::string cases[] = {
        "bad \xC3",              // ends inside a sequence
        "\xC3(",                 // a lead without its continuation
        "\xE2\x82",              // three-byte sequence cut short
        "a\x80z",                // a stray continuation byte
        "\xC0\x80",              // overlong NUL
        "\xC1\xA9",              // overlong 'i'
        "\xE0\x83\xA7",          // overlong 'ç', which would otherwise have a byte
        "\xF0\x80\x82\xAC",      // overlong euro sign
        "\xED\xA0\x80",          // a surrogate
        "\xF4\x90\x80\x80",      // above U+10FFFF
        "\xF8\x88\x80\x80\x80",  // five-byte form
        "\xFF",
        "\xC2\x81",              // U+0081: the C1 controls have no byte, not even the undefined five
        "\xF3\xA0\x80\x81" "a\xC3\xA9",  // a tag character vanishes
        "\xC3\xA9\xF3\xA0\x81\xBF",
    };
    for (const std::string& utf8 : cases) agrees(utf8);
    EXPECT_EQ(outcome("\xE0\x83\xA7"), "U+00E7 '\xE0\x83\xA7'");
    EXPECT_EQ(outcome("\xC3\xA9\xF3\xA0\x80\x81x"), "text \xE9x");
    EXPECT_EQ(outcome("ok\xC3\xA7\xE2\x82"), "invalid UTF-8 at byte 4");
}

TEST(Utf8Cp1252, EveryByteConvertsAsTheSystemConverterHasIt) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text = {'a', static_cast<char>(byte)};
        iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
        std::string out(8, '\0');
        char* in = const_cast<char*>(text.data());
        std::size_t in_left = text.size(), out_left = out.size();
        char* to = out.data();
        const bool defined = iconv(cd, &in, &in_left, &to, &out_left) != static_cast<std::size_t>(-1);
        iconv_close(cd);
        out.resize(out.size() - out_left);
        EXPECT_EQ(cp1252_to_utf8(text), defined ? out : "a\xEF\xBF\xBD") << byte;
        if (defined) {
            EXPECT_EQ(utf8_to_cp1252(out), text) << byte;
        }
    }
}

}  // namespace
