// Names and texts as the dialects write them: the ASCII runs copied whole must give what converting
// byte by byte gives, wherever the other bytes and the quotes stand.

#include <gtest/gtest.h>

#include <string>

#include "dialects/quoting.h"
#include "platform/utf8_cp1252.h"
#include "platform/windows_1252.h"

namespace {

std::string utf8_of(std::string_view cp1252) {
    std::string out = "kept";  // appended to, not replaced
    append_utf8(out, cp1252);
    return out.substr(4);
}

TEST(DialectQuoting, Utf8OfEveryByteWhereverItStandsInAsciiRuns) {
    EXPECT_EQ(utf8_of(""), "");
    EXPECT_EQ(utf8_of("plain ASCII text, 0-9 and \x7F"), "plain ASCII text, 0-9 and \x7F");
    for (int b = 0x80; b <= 0xFF; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        // Undefined bytes keep their C1 code point here; the rest is what the platform's conversion gives.
        const std::string one = Windows1252Defined(byte) ? cp1252_to_utf8(std::string(1, static_cast<char>(b)))
                                                          : std::string{'\xC2', static_cast<char>(b)};
        const std::string c(1, static_cast<char>(b));
        SCOPED_TRACE(b);
        EXPECT_EQ(utf8_of(c), one);
        EXPECT_EQ(utf8_of(c + "ab"), one + "ab");
        EXPECT_EQ(utf8_of("ab" + c), "ab" + one);
        EXPECT_EQ(utf8_of("abc" + c + "de" + c + c + "f"), "abc" + one + "de" + one + one + "f");
    }
    EXPECT_EQ(utf8_of("Funcion\xE1rio \x80 \x9F\xFF"), "Funcion\xC3\xA1rio \xE2\x82\xAC \xC5\xB8\xC3\xBF");
}

TEST(DialectQuoting, QuotedNamesDoubleTheirQuoteBesideOtherBytes) {
    EXPECT_EQ(quoted_identifier(Dialect::postgresql, "cliente"), "cliente");
    EXPECT_EQ(quoted_identifier(Dialect::postgresql, "Cliente"), "\"Cliente\"");
    EXPECT_EQ(quoted_identifier(Dialect::mysql, ""), "``");
    EXPECT_EQ(quoted_identifier(Dialect::mysql, "a\"b"), "`a\"b`");  // the other dialects' quote is no quote here
    EXPECT_EQ(quoted_identifier(Dialect::postgresql, "a\"\xE7\"\"b\""), "\"a\"\"\xC3\xA7\"\"\"\"b\"\"\"");
    EXPECT_EQ(quoted_identifier(Dialect::mysql, "`\xE9`x"), "```\xC3\xA9``x`");
    EXPECT_EQ(quoted_identifier(Dialect::sqlite, "order"), "\"order\"");
    std::string out = "T.";
    append_identifier(out, Dialect::sqlite, "S\xE3o Paulo");
    EXPECT_EQ(out, "T.\"S\xC3\xA3o Paulo\"");
}

}  // namespace
