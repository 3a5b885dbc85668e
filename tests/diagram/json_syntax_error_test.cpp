// Where a JSON text breaks the grammar, for the loader's "is not valid JSON" message.

#include "diagram/json_syntax_error.h"

#include <string>

#include <gtest/gtest.h>

#include "diagram/diagram.h"

namespace {

TEST(JsonSyntaxError, NamesLineAndColumnInCharacters) {
    struct Case {
        std::string json, expected;
    };
    const Case cases[] = {
        {"{\"entities\": [", "line 1, column 15: unexpected end of input; expected '[', '{', or a literal"},
        {"{\"entities\": []}\n,", "line 2, column 1: unexpected ','; expected end of input"},
        // Columns count characters, not bytes; an unexpected string is shown where it opens.
        {"{\"entities\": [\n  {\"entidade\": \"Ação\" \"tabela\": \"T\"}]}",
         "line 2, column 23: unexpected string literal; expected '}'"},
        {"{\"a\\\"\": 1 \"b\": 2}", "line 1, column 11: unexpected string literal; expected '}'"},
        {"{\"entidade\": \"A\n\"}", "line 1, column 16: invalid string: control character U+000A (LF) must be escaped to \\u000A or \\n"},
        {"{\"entities\": []}", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(json_syntax_error(c.json), c.expected) << c.json;

    try {
        parse_diagram("\xEF\xBB\xBF{\"entities\": [\n}", "f.json");  // the byte-order mark is no character of the text
        ADD_FAILURE() << "parsed";
    } catch (const DiagramError& e) {
        EXPECT_STREQ(e.what(), "f.json: is not valid JSON: line 2, column 1: unexpected '}'; expected '[', '{', or a literal");
    }
}

}  // namespace
