#include <gtest/gtest.h>

#include <string>

#include "platform/formfile/binary.h"
#include "tests/platform/formfile/bytes.h"
#include "platform/formfile/text.h"

using namespace formfile;

namespace {

// "TPF0", class TF, object F, then `tail`.
std::string stream(const std::string& tail) { return "TPF0" + bytes({2, 'T', 'F', 1, 'F'}) + tail; }

std::string error_of(const std::function<void()>& read) {
    try {
        read();
    } catch (const FormFileError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(UntrustedBinary, MalformedStreamsGiveAnErrorNamingTheOffset) {
    std::string deep = stream(bytes({1, 'P'}));
    for (int i = 0; i < 10000; ++i) deep.push_back(1);  // lists inside lists
    std::string deep_objects = "TPF0";
    for (int i = 0; i < 10000; ++i) deep_objects += bytes({2, 'T', 'F', 0, 0});
    const struct {
        const char* what;
        std::string input;
        const char* expected;
    } cases[] = {
        {"empty", "", "byte offset 0: not a component stream"},
        {"wrong signature", "TPF1" + bytes({2, 'T', 'F', 1, 'F', 0, 0}), "byte offset 0: not a component stream"},
        {"truncated class name", "TPF0" + bytes({9, 'T', 'F'}), "byte offset 5: a class name needs 9 bytes"},
        {"no class name", "TPF0" + bytes({0, 0, 0, 0}), "without a class name"},
        {"truncated after the name", stream(""), "byte offset 9: the end of a property list"},
        {"string past the end", stream(bytes({1, 'P', 6, 200, 'x'})), "byte offset 13: the value of 'P' needs 200 bytes but the stream ends after 1"},
        {"long string past the end", stream(bytes({1, 'P', 12, 0xFF, 0xFF, 0xFF, 0x7F})),
         "byte offset 12: the value of 'P' of length 2147483647 runs past the end of the stream"},
        {"negative length", stream(bytes({1, 'P', 10, 0, 0, 0, 0x80, 0, 0})), "negative length"},
        {"wide string past the end", stream(bytes({1, 'P', 18, 3, 0, 0, 0, 'a', 0, 'b', 0})), "runs past the end"},
        {"unknown value type", stream(bytes({1, 'P', 21, 0, 0})), "byte offset 11: unknown value type 21"},
        {"unknown value type 255", stream(bytes({1, 'P', 255})), "unknown value type 255"},
        {"unterminated set", stream(bytes({1, 'P', 11, 1, 'a'})), "set member"},
        {"unterminated list", stream(bytes({1, 'P', 1, 2, 5})), "the end of a list"},
        {"collection item without list marker", stream(bytes({1, 'P', 14, 7, 0, 0, 0})), "byte offset 12: a collection item of 'P' does not start"},
        {"unknown object flags", "TPF0" + bytes({0xF8, 2, 'T', 'F', 0, 0, 0}), "unknown object flags"},
        {"position that is not an integer", "TPF0" + bytes({0xF2, 6, 0, 2, 'T', 'F', 0, 0, 0}), "position"},
        {"bytes after the root", stream(bytes({0, 0, 0})), "byte offset 11: 1 bytes follow the root"},
        {"deeply nested lists", deep, "nesting deeper than 256 levels"},
        {"deeply nested objects", deep_objects, "nesting deeper than 256 levels"},
    };
    for (const auto& c : cases) {
        const std::string message = error_of([&] { read_stream(c.input); });
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
    }
}

TEST(UntrustedInput, MessagesEscapeTheBytesTheyQuote) {
    // A property name with an escape sequence and a bell, then a value cut short.
    const std::string hostile = stream(bytes({4, 'P', 0x1B, '[', 7, 6, 9, 'x'}));
    EXPECT_NE(error_of([&] { read_stream(hostile); }).find("the value of 'P#27[#7' needs 9 bytes"), std::string::npos)
        << error_of([&] { read_stream(hostile); });
    ObjectNode node;
    node.class_name = "TF";
    node.properties.push_back({"P", Value::ident("a\x1B[2Jb")});
    EXPECT_NE(error_of([&] { write_text(node); }).find("'a#27[2Jb'"), std::string::npos) << error_of([&] { write_text(node); });
    node.properties.clear();
    node.name = "N\x1B";
    EXPECT_NE(error_of([&] { write_text(node); }).find("'N#27'"), std::string::npos);
}

TEST(UntrustedInput, InputsOverTheSizeLimitAreRefused) {
    const std::string huge(kMaxFormFileSize + 1, ' ');
    EXPECT_NE(error_of([&] { read_text(huge); }).find("67108865 bytes, more than the 67108864"), std::string::npos);
    EXPECT_NE(error_of([&] { read_form_file(huge); }).find("67108865 bytes"), std::string::npos);
    EXPECT_NE(error_of([&] { read_stream(huge); }).find("67108865 bytes"), std::string::npos);
}

TEST(UntrustedBinary, ResourceHeadersAreChecked) {
    const std::string good = write_form_file(read_stream(stream(bytes({0, 0}))));
    EXPECT_NO_THROW(read_form_file(good));
    std::string wrong_type = good;
    wrong_type[1] = 3;
    EXPECT_NE(error_of([&] { read_form_file(wrong_type); }).find("resource type 3"), std::string::npos);
    std::string wrong_size = good;
    wrong_size[8] = 99;
    EXPECT_NE(error_of([&] { read_form_file(wrong_size); }).find("announces 99 bytes"), std::string::npos);
    EXPECT_NE(error_of([&] { read_form_file(bytes({0xFF, 10, 0, 'A', 'B'})); }).find("no terminating zero"),
              std::string::npos);
    // Offsets inside the stream count from the start of the file.
    std::string truncated = good.substr(0, good.size() - 1);
    truncated[8] = 10;
    EXPECT_NE(error_of([&] { read_form_file(truncated); }).find("byte offset 22"), std::string::npos)
        << error_of([&] { read_form_file(truncated); });
}

TEST(UntrustedBinary, EveryTruncationOfAValidFileIsAnError) {
    ObjectNode root = read_text(
        "object F: TF\n  A = 'x'\n  B = (\n    1\n    'y')\n  C = <\n    item\n      D = [a]\n    end>\n"
        "  E = {0102}\n  G = 1.5\n  H = 'x'#1000\n  object L: TL\n    I = 5000000000\n  end\nend\n");
    const std::string file = write_form_file(root);
    for (std::size_t n = 0; n < file.size(); ++n)
        EXPECT_THROW(read_form_file(file.substr(0, n)), FormFileError) << "prefix of " << n << " bytes";
    EXPECT_EQ(read_form_file(file), root);
}

TEST(UntrustedText, MalformedTextsGiveAnErrorNamingTheLine) {
    std::string deep = "object F: TF\n  P = ";
    for (int i = 0; i < 5000; ++i) deep += "(";
    std::string deep_objects;
    for (int i = 0; i < 5000; ++i) deep_objects += "object A: TA\n";
    const struct {
        const char* what;
        std::string input;
        const char* expected;
    } cases[] = {
        {"empty", "", "line 1: expected 'object', found the end of the text"},
        {"not a form", "hello", "line 1: expected 'object'"},
        {"unterminated string", "object F: TF\n  C = 'abc\nend\n", "line 2: unterminated string"},
        {"string at the end", "object F: TF\n  C = 'abc", "line 2: unterminated string"},
        {"missing end", "object F: TF\n  A = 1\n", "is not closed with 'end'"},
        {"missing value", "object F: TF\n  A =\n", "line 3: the text ends where the value of 'A' should be"},
        {"no equals sign", "object F: TF\n  A 1\nend\n", "line 2: expected '='"},
        {"stray character", "object F: TF\n  A = 1 ;\nend\n", "line 2: unexpected character ';'"},
        {"delete character", "object F: TF\n  A = \x7F\nend\n", "line 2: unexpected character #127"},
        {"integer too large", "object F: TF\n  A = 99999999999999999999\nend\n", "is not a valid integer"},
        {"character code too large", "object F: TF\n  A = #65536\nend\n", "above 65535"},
        {"bare #", "object F: TF\n  A = #\nend\n", "not followed by a character code"},
        {"plus without string", "object F: TF\n  A = 'a' +\nend\n", "expected a string after '+'"},
        {"odd hex digits", "object F: TF\n  A = {012}\nend\n", "odd number of hexadecimal digits"},
        {"bad hex digit", "object F: TF\n  A = {0G}\nend\n", "not a hexadecimal digit"},
        {"unclosed binary", "object F: TF\n  A = {01\n", "line 2: binary data opened with { is not closed"},
        {"unclosed list", "object F: TF\n  A = (1\n", "line 2: list of 'A' is not closed"},
        {"set without comma", "object F: TF\n  A = [a b]\nend\n", "between set members"},
        {"collection without item", "object F: TF\n  A = <x>\nend\n", "expected 'item'"},
        {"Null inside a list", "object F: TF\n  A = (Null)\nend\n", "cannot hold Null"},
        {"malformed number", "object F: TF\n  A = 12abc\nend\n", "malformed number"},
        {"text after the root", "object F: TF\nend\nobject G: TG\nend\n", "line 3: text after the end of the root"},
        {"deep lists", deep, "nesting deeper than 256 levels"},
        {"deep objects", deep_objects, "nesting deeper than 256 levels"},
        {"infinite float", "object F: TF\n  A = 1E99999\nend\n", "out of range"},
        // A binary form could hold these, but no text could carry them back.
        {"Single beyond its range", "object F: TF\n  A = 1.0E300s\nend\n", "line 2: Single value 1.0E300 out of range"},
        {"Date beyond its range", "object F: TF\n  A = 1.0E400d\nend\n", "line 2: Date value 1.0E400 out of range"},
        {"Currency beyond its range", "object F: TF\n  A = 9223372036854775808c\nend\n", "out of range"},
        {"two points", "object F: TF\n  A = 2..\nend\n", "malformed number 2.."},
        {"digits after a suffix", "object F: TF\n  A = 1s5\nend\n", "malformed number 1s5"},
    };
    for (const auto& c : cases) {
        const std::string message = error_of([&] { read_text(c.input); });
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
    }
}

}  // namespace
