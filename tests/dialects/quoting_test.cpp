// Names and texts as the dialects write them: the ASCII runs copied whole must give what converting
// byte by byte gives, wherever the other bytes and the quotes stand.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

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

// Names of every length up to a few words, of the bytes the folds treat apart (each case of ASCII
// letters, digits, the quotes, letters past ASCII with and without a case), each with its variants
// in another letter case.
std::vector<std::string> sample_names() {
    static constexpr std::string_view kBytes = "aZz{`@_0\"\x9A\x8A\xE7\xC7\xFF\x9F\xF7\xD7 ";
    std::mt19937 random(21);
    std::vector<std::string> names = {""};
    for (std::size_t length = 1; length <= 26; ++length)
        for (int n = 0; n < 40; ++n) {
            std::string name;
            for (std::size_t i = 0; i < length; ++i) name += kBytes[random() % kBytes.size()];
            names.push_back(name);
            for (char& c : name) c = static_cast<char>(Windows1252UpperCase(static_cast<unsigned char>(c)));
            names.push_back(name);
        }
    return names;
}

TEST(DialectQuoting, NamesWrittenInTheirFormAsQuotedAndHashedAsTheirKeys) {
    const std::vector<std::string> names = sample_names();
    for (Dialect dialect : {Dialect::sqlite, Dialect::postgresql, Dialect::mysql}) {
        for (const std::string& name : names) {
            ScriptText out;
            append_identifier(out, dialect, name, identifier_form(dialect, name));
            ASSERT_EQ(std::string(out.view()), quoted_identifier(dialect, name)) << static_cast<int>(dialect) << " " << name;
        }
        for (NameKind kind : {NameKind::table, NameKind::column, NameKind::index}) {
            // Equal keys give equal hashes; different keys, among these few thousand, different ones
            // (a hash that skipped a byte at some length would make some meet).
            std::map<std::string, std::uint64_t> hash_of_key;
            std::set<std::uint64_t> hashes;
            for (const std::string& name : names) {
                const std::uint64_t hash = identifier_hash(dialect, kind, name);
                const auto [at, added] = hash_of_key.try_emplace(identifier_key(dialect, kind, name), hash);
                ASSERT_EQ(at->second, hash) << static_cast<int>(dialect) << " " << name;
                if (added) hashes.insert(hash);
            }
            EXPECT_EQ(hashes.size(), hash_of_key.size());
        }
    }
    // The folds themselves: SQLite ignores the case of ASCII letters only, MySQL that of its column
    // names' letters past ASCII too, PostgreSQL none.
    EXPECT_EQ(identifier_hash(Dialect::sqlite, NameKind::table, "Nome_Longo_Demais"), identifier_hash(Dialect::sqlite, NameKind::table, "nome_longo_demaiS"));
    EXPECT_NE(identifier_hash(Dialect::sqlite, NameKind::column, "a\xE7"), identifier_hash(Dialect::sqlite, NameKind::column, "a\xC7"));
    EXPECT_EQ(identifier_hash(Dialect::mysql, NameKind::column, "a\xE7"), identifier_hash(Dialect::mysql, NameKind::column, "A\xC7"));
    EXPECT_NE(identifier_hash(Dialect::mysql, NameKind::table, "a\xE7"), identifier_hash(Dialect::mysql, NameKind::table, "A\xC7"));
    EXPECT_NE(identifier_hash(Dialect::postgresql, NameKind::index, "ab"), identifier_hash(Dialect::postgresql, NameKind::index, "aB"));
}

}  // namespace
