#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"

using namespace formfile;

namespace {

ObjectNode form_with(std::vector<PropertyEntry> properties) {
    ObjectNode node;
    node.class_name = "TForm1";
    node.name = "Form1";
    node.properties = std::move(properties);
    return node;
}

// The text of one property value as the writer lays it out (LF line ends).
std::string written(const Value& value) {
    const std::string text = write_text(form_with({{"P", value}}), false);
    const std::string head = "object Form1: TForm1\n  P = ";
    EXPECT_EQ(text.substr(0, head.size()), head);
    return text.substr(head.size(), text.size() - head.size() - std::string("\nend\n").size());
}

Value read_value(const std::string& value_text) {
    const ObjectNode node = read_text("object Form1: TForm1\n  P = " + value_text + "\nend\n");
    EXPECT_EQ(node.properties.size(), 1u);
    return node.properties.empty() ? Value() : node.properties[0].value;
}

TEST(FormText, ValuesAreWrittenInTheFormTextNotation) {
    CollectionItem item;
    item.properties = {{"FieldName", Value::string_value("NOME")}, {"Visible", Value::boolean(true)}};
    CollectionItem ordered;
    ordered.has_order = true;
    ordered.order = Value::integer_value(4);
    const struct {
        Value value;
        std::string text;
    } cases[] = {
        {Value::integer_value(-129), "-129"},
        {Value::integer_value(5000000000LL), "5000000000"},
        {Value::string_value("Result Form"), "'Result Form'"},
        {Value::string_value("it's"), "'it''s'"},
        {Value::string_value(""), "''"},
        {Value::string_value("Manuten\xE7\xE3o"), "'Manuten'#231#227'o'"},
        {Value::string_value("a\r\nb"), "'a'#13#10'b'"},
        {Value::wide_value(u"x\u04D2y"), "'x'#1234'y'"},
        {Value::utf8_value("\xE2\x82\xAC!"), "#8364'!'"},
        {Value::ident("clBtnFace"), "clBtnFace"},
        {Value::ident("Form2.DataSource1"), "Form2.DataSource1"},
        {Value::boolean(false), "False"},
        {Value::nil(), "nil"},
        {Value::ident("Null"), "Null"},
        {Value::set_value({}), "[]"},
        {Value::set_value({"fsBold", "fsItalic"}), "[fsBold, fsItalic]"},
        {Value::strings({"a", "b"}), "(\n    'a'\n    'b')"},
        {Value::list_value({}), "()"},
        {Value::collection({item, ordered}),
         "<\n    item\n      FieldName = 'NOME'\n      Visible = True\n    end\n    item [4]\n    end>"},
        {Value::collection({}), "<>"},
        {Value::binary("\x01\x02\xFF"), "{\n    0102FF}"},
        {Value::binary(""), "{}"},
        {Value::extended_value(1.5L), "1.5"},
        {Value::extended_value(2.0L), "2.0"},
        {Value::extended_value(0.1L), "0.1"},
        {Value::extended_value(-1.5e10L), "-1.5E10"},
        {Value::extended_value(1e-300L), "1.0E-300"},
        {Value::single_value(0.1f), "0.1s"},
        {Value::currency_value(-125001), "-125001c"},  // the stored integer, as the target writes it
        {Value::date_value(36526.25), "36526.25d"},
    };
    for (const auto& c : cases) EXPECT_EQ(written(c.value), c.text) << c.text;

    // Binary data: 32 bytes per line.
    EXPECT_EQ(written(Value::binary(std::string(33, '\x11'))),
              "{\n    " + std::string(64, '1') + "\n    11}");
}

TEST(FormText, LongStringsContinueWithPlusAndReadBackWhole) {
    const std::string long_text = std::string(100, 'x') + "'" + std::string(30, 'y');
    const std::string text = written(Value::string_value(long_text));
    EXPECT_EQ(text, "'" + std::string(63, 'x') + "' +\n    '" + std::string(37, 'x') + "''" + std::string(24, 'y') +
                        "' +\n    '" + std::string(6, 'y') + "'");
    EXPECT_EQ(read_value(text), Value::string_value(long_text));
}

TEST(FormText, ObjectsNestWithTwoBlanksPerLevelAndCrLf) {
    ObjectNode root = form_with({{"Left", Value::integer_value(10)}});
    ObjectNode child;
    child.class_name = "TLabel";
    child.name = "Label1";
    child.properties = {{"Caption", Value::string_value("Nome")}};
    ObjectNode inherited;
    inherited.class_name = "TPanel";
    inherited.name = "P";
    inherited.flags = kInherited | kChildPos;
    inherited.child_pos = Value::integer_value(1);
    inherited.children.push_back(child);
    root.children = {child, inherited};
    ObjectNode anonymous;
    anonymous.class_name = "TTimer";
    root.children.push_back(anonymous);
    const std::string text = write_text(root);
    EXPECT_EQ(text,
              "object Form1: TForm1\r\n"
              "  Left = 10\r\n"
              "  object Label1: TLabel\r\n"
              "    Caption = 'Nome'\r\n"
              "  end\r\n"
              "  inherited P: TPanel [1]\r\n"
              "    object Label1: TLabel\r\n"
              "      Caption = 'Nome'\r\n"
              "    end\r\n"
              "  end\r\n"
              "  object TTimer\r\n"
              "  end\r\n"
              "end\r\n");
    EXPECT_EQ(read_text(text), root);
}

TEST(FormText, ReaderAcceptsTheVariantsOtherWritersProduce) {
    // Keywords in any letter case, Free Pascal's spacing, the target's later continuation lines.
    const ObjectNode node = read_text(
        "OBJECT F_CLIENTE: TF_CLIENTE\r\n"
        "  Caption = 'abc' +\r\n"
        "    'def'#13#10 +\n"
        "    'g'\n"
        "  F =  1.50000000000000000000E+0000\n"
        "  H = $FF\n"
        "  B = TRUE\n"
        "  N = NIL\n"
        "  Items.Strings = (\n"
        "    'a'\n"
        "  )\n"
        "  Data = {\n"
        "    01 02\n"
        "    ff\n"
        "  }\n"
        "  Col = <  \n"
        "    ITEM\n"
        "      X = 1\n"
        "    End  \n"
        "    item [2]\n"
        "    END>\n"
        "  inline Frame1: TFrame1[3]\n"
        "  end\n"
        "End\n");
    EXPECT_EQ(node.name, "F_CLIENTE");
    EXPECT_EQ(node.class_name, "TF_CLIENTE");
    ASSERT_EQ(node.properties.size(), 8u);
    EXPECT_EQ(node.properties[0].value, Value::string_value("abcdef\r\ng"));
    EXPECT_EQ(node.properties[1].value, Value::extended_value(1.5L));
    EXPECT_EQ(node.properties[2].value, Value::integer_value(255));
    EXPECT_EQ(node.properties[2].value.type(), ValueType::Int16);
    EXPECT_EQ(node.properties[3].value.type(), ValueType::True);
    EXPECT_EQ(node.properties[4].value.type(), ValueType::Nil);
    EXPECT_EQ(node.properties[5].value, Value::strings({"a"}));
    EXPECT_EQ(node.properties[6].value, Value::binary("\x01\x02\xFF"));
    ASSERT_EQ(node.properties[7].value.items().size(), 2u);
    EXPECT_TRUE(node.properties[7].value.items()[1].has_order);
    EXPECT_EQ(node.properties[7].value.items()[1].order, Value::integer_value(2));
    ASSERT_EQ(node.children.size(), 1u);
    EXPECT_EQ(node.children[0].flags, kInline | kChildPos);
    EXPECT_EQ(node.children[0].child_pos, Value::integer_value(3));
}

TEST(FormText, CharacterCodesUpTo255AreBytesOfAOneByteString) {
    // The target's reading: #nnn up to 255 is one byte; only a code above 255 makes a wide string.
    const Value caption = read_value("'Manuten'#231#227'o da tabela CLIENTE (Cliente)'");
    EXPECT_EQ(caption.type(), ValueType::String);
    EXPECT_EQ(caption.bytes(), "Manuten\xE7\xE3o da tabela CLIENTE (Cliente)");
    EXPECT_EQ(read_value("'Giri'#254'leri'"), Value::string_value("Giri\xFEleri"));
    EXPECT_EQ(read_value("'Giri\xFEleri'"), Value::string_value("Giri\xFEleri"));
    EXPECT_EQ(read_value("#$41#66"), Value::string_value("AB"));

    // A wide string: codes are UTF-16 units, raw bytes inside the quotes are Windows-1252 characters.
    EXPECT_EQ(read_value("'\x80'#233#1040"), Value::wide_value(u"\u20AC\u00E9\u0410"));
    // Joined parts decide together.
    EXPECT_EQ(read_value("'a'#233 +\n 'b'#1040"), Value::wide_value(u"a\u00E9b\u0410"));
    // Over 255 bytes: a long string.
    EXPECT_EQ(read_value("'" + std::string(256, 'q') + "'").type(), ValueType::LString);
}

TEST(FormText, AByteOrderMarkMakesTheTextUtf8) {
    const auto caption = [](const std::string& text) { return read_text(text).find("Caption")->value; };
    const std::string form = "object Form1: TForm1\n  Caption = 'Manuten\xC3\xA7\xC3\xA3o \xE2\x82\xAC'\nend\n";
    // As the target reads it, each byte is a character; after the mark, each UTF-8 character is its
    // Windows-1252 byte, in a one-byte string.
    EXPECT_EQ(caption(form), Value::string_value("Manuten\xC3\xA7\xC3\xA3o \xE2\x82\xAC"));
    EXPECT_EQ(caption("\xEF\xBB\xBF" + form), Value::string_value("Manuten\xE7\xE3o \x80"));
    try {
        read_text(form, UnmarkedUtf8::Refused);
        ADD_FAILURE() << "no error";
    } catch (const FormFileError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2: a string holds the UTF-8 character U+00E7"), std::string::npos) << e.what();
    }
}

TEST(FormText, NumbersKeepTheirKind) {
    EXPECT_EQ(read_value("-2147483648"), Value::integer_value(-2147483648LL));
    EXPECT_EQ(read_value("-2147483649").type(), ValueType::Int64);
    EXPECT_EQ(read_value("9223372036854775807").integer(), 9223372036854775807LL);
    EXPECT_EQ(read_value("1E5"), Value::extended_value(1e5L));
    EXPECT_EQ(read_value("-0.0"), Value::extended_value(-0.0L));
    EXPECT_EQ(read_value("0.1s"), Value::single_value(0.1f));
    EXPECT_EQ(read_value("36526.25d"), Value::date_value(36526.25));
    EXPECT_EQ(read_value("-125001c"), Value::currency_value(-125001)) << "currency text is the stored integer";
}

// Forms the target writes that Free Pascal cannot judge: whole numbers with a suffix, a float ending
// in a point, Currency as its stored integer. Each reads to the value, and our text of it reads back.
TEST(FormText, NumbersAsTheTargetWritesThem) {
    const struct {
        const char* text;
        Value value;
        const char* written;
    } cases[] = {
        {"38353d", Value::date_value(38353), "38353.0d"},
        {"0d", Value::date_value(0), "0.0d"},
        {"534s", Value::single_value(534), "534.0s"},
        {"-7S", Value::single_value(-7), "-7.0s"},
        {"25000c", Value::currency_value(25000), "25000c"},  // the Currency 2.5
        {"10000c", Value::currency_value(10000), "10000c"},
        {"2.5c", Value::currency_value(3), "3c"},  // a fraction of the stored integer rounds half away from 0
        {"1.5E4c", Value::currency_value(15000), "15000c"},
        {"-9223372036854775808c", Value::currency_value(INT64_MIN), "-9223372036854775808c"},
        {"99999999999999999999d", Value::date_value(1e20), "1.0E20d"},
        {"2.", Value::extended_value(2.0L), "2.0"},
        {"-2.E3", Value::extended_value(-2000.0L), "-2.0E3"},
        {"1.s", Value::single_value(1), "1.0s"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read_value(c.text), c.value) << c.text;
        EXPECT_EQ(written(c.value), c.written) << c.text;
        EXPECT_EQ(read_value(c.written), c.value) << c.text;
    }
}

TEST(FormText, WriterThenReaderGivesTheSameObjects) {
    // Canonical values only: the text has one notation per value type, so a non-canonical width (an
    // Int32 holding 5) cannot survive any text detour.
    CollectionItem item;
    item.properties = {{"Title.Caption", Value::string_value(std::string(200, '-'))}};
    const ObjectNode root = form_with({
        {"A", Value::extended_value(0.1L)},
        {"B", Value::extended_value(-1234567890.123456789L)},
        {"C", Value::extended_value(1e4000L)},
        {"D", Value::extended_value(3.6451995318824746025e-4951L)},  // smallest denormal
        {"E", Value::single_value(3.4028235e38f)},
        {"F", Value::date_value(-693594.75)},
        {"G", Value::currency_value(-9223372036854775807LL)},
        {"W", Value::wide_value(u"\u4E2D\u6587 'q'")},
        {"S", Value::string_value(std::string("\x01\x7F\xFF#'\x80", 6))},
        {"L", Value::string_value(std::string(5000, 'L'))},
        {"Cols", Value::collection({item})},
        {"Bin", Value::binary(std::string(100, '\xAB'))},
        {"Nested", Value::list_value({Value::list_value({Value::integer_value(1)}), Value::set_value({"a"})})},
    });
    EXPECT_EQ(read_text(write_text(root)), root);
    EXPECT_EQ(read_text(write_text(root, false)), root);
}

TEST(FormText, ValuesWithoutATextNotationAreRefused) {
    const Value nan = Value::extended_of({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F});
    const Value unnormal = Value::extended_of({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F});  // integer bit clear
    const Value bad_ident = Value::bytes_of(ValueType::Ident, "two words");
    const Value true_ident = Value::bytes_of(ValueType::Ident, "True");  // would read back as the single byte True
    const Value cases[] = {nan, unnormal, bad_ident, true_ident, Value::utf8_value("\xC3"),
                           Value::set_value({"no-dash"})};
    for (const Value& v : cases) EXPECT_THROW(write_text(form_with({{"P", v}})), FormFileError);
    EXPECT_THROW(write_text(form_with({{"not a name", Value::integer_value(1)}})), FormFileError);
    // A binary stream may name a property with a word that the text reads as an object's start or end.
    for (const char* keyword : {"inherited", "Object", "inline", "END"})
        EXPECT_THROW(write_text(form_with({{keyword, Value::integer_value(1)}})), FormFileError) << keyword;
    // A collection item's body holds no objects: there only "end" is a keyword, and the other words
    // are written and read back as the properties they are.
    CollectionItem item;
    item.properties = {{"Object", Value::integer_value(1)}, {"inherited", Value::integer_value(2)}};
    const ObjectNode with_item = form_with({{"Items", Value::collection({item})}});
    EXPECT_EQ(read_text(write_text(with_item)), with_item);
    item.properties = {{"End", Value::integer_value(1)}};
    EXPECT_THROW(write_text(form_with({{"Items", Value::collection({item})}})), FormFileError);
}

}  // namespace
