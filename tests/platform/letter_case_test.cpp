// The platform's one Windows-1252 table and its case folding, held to the C library's own tables
// (iconv's code page, towupper in a UTF-8 locale) rather than to a copy of ours.

#include <iconv.h>

#include <clocale>
#include <cwctype>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/ascii_case.h"
#include "platform/caseless_hash.h"
#include "platform/windows_1252.h"

namespace {

// The byte's character through iconv; 0 with `defined` false for the five bytes the code page leaves out.
char32_t through_iconv(unsigned char byte, bool& defined) {
    iconv_t cd = iconv_open("UTF-32LE", "WINDOWS-1252");
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[4] = {};
    char* in_ptr = in;
    char* out_ptr = reinterpret_cast<char*>(out);
    std::size_t in_left = 1, out_left = 4;
    defined = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

TEST(Windows1252, EveryByteIsTheCharacterTheCodePageGives) {
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        bool defined = false;
        const char32_t expected = through_iconv(static_cast<unsigned char>(byte), defined);
        if (!defined) {
            ++undefined;
            EXPECT_EQ(Windows1252ToUnicode(static_cast<unsigned char>(byte)), static_cast<char32_t>(byte)) << byte;
            continue;
        }
        EXPECT_EQ(Windows1252ToUnicode(static_cast<unsigned char>(byte)), expected) << byte;
    }
    EXPECT_EQ(undefined, 5);
}

TEST(Windows1252, UpperCaseIsTheUnicodeUpperCaseWhereTheCodePageHasIt) {
    std::map<char32_t, unsigned char> byte_of;
    for (int byte = 0; byte < 256; ++byte) byte_of.emplace(Windows1252ToUnicode(static_cast<unsigned char>(byte)), byte);
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    for (int byte = 0; byte < 256; ++byte) {
        const auto upper = static_cast<char32_t>(std::towupper(static_cast<wint_t>(Windows1252ToUnicode(static_cast<unsigned char>(byte)))));
        const auto found = byte_of.find(upper);
        // A letter whose upper case the code page lacks (ß, µ, ƒ) stays as it is.
        const unsigned char expected = found == byte_of.end() ? static_cast<unsigned char>(byte) : found->second;
        EXPECT_EQ(Windows1252UpperCase(static_cast<unsigned char>(byte)), expected) << byte;
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(AsciiCase, FoldsAsciiLettersAloneWhateverTheLocale) {
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_CTYPE, "C.UTF-8");
    EXPECT_EQ(AsciiUpperCase("Pre\xE7o_9z"), "PRE\xE7O_9Z");
    EXPECT_EQ(AsciiLowerCase("PRE\xC7O[@]"), "pre\xC7o[@]");
    EXPECT_TRUE(SameIgnoringAsciiCase("Arial", "aRIAL"));
    EXPECT_FALSE(SameIgnoringAsciiCase("\xE7", "\xC7"));
    EXPECT_FALSE(SameIgnoringAsciiCase("@", "`"));  // neighbours of the letters fold to nothing
    EXPECT_FALSE(SameIgnoringAsciiCase("Arial", "Arial "));
    std::setlocale(LC_CTYPE, saved.c_str());
}

// Tables of names index by the caseless hash: it must agree with the comparison at every length (whole
// 8-byte words and the bytes after them) and spread the low bits of names that differ in a digit.
TEST(AsciiCase, CaselessHashAgreesWithTheComparisonAndSpreadsNames) {
    std::string lower, mixed;
    for (int n = 0; n <= 24; ++n) {
        EXPECT_EQ(AsciiCaselessHash(lower), AsciiCaselessHash(mixed)) << n;
        lower += static_cast<char>('a' + n % 26);
        mixed += static_cast<char>((n % 2 ? 'A' : 'a') + n % 26);
    }
    EXPECT_NE(AsciiCaselessHash("FonteTitulo.Color"), AsciiCaselessHash("FonteTitulo.Colos"));  // in the tail
    EXPECT_NE(AsciiCaselessHash("AbcdefghX"), AsciiCaselessHash("AbcdefgiX"));                  // in a whole word
    EXPECT_NE(AsciiCaselessHash("Abc"), AsciiCaselessHash(std::string_view("Abc\0", 4)));  // by length alone
    std::set<std::uint64_t> hashes, low_bits;
    for (int i = 1; i <= 5000; ++i) {
        const std::uint64_t hash = AsciiCaselessHash("Entidade" + std::to_string(i));
        hashes.insert(hash);
        low_bits.insert(hash & 8191);
    }
    EXPECT_EQ(hashes.size(), 5000u);
    EXPECT_GT(low_bits.size(), 3000u);  // a random spread fills about 3,700 of the 8,192
}

}  // namespace
