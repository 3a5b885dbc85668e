#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/formfile/binary.h"
#include "tests/platform/formfile/bytes.h"

using namespace formfile;

namespace {

// The stream of an object of class TF named F holding one property P with `value`.
std::string stream_with(const Value& value) {
    ObjectNode node;
    node.class_name = "TF";
    node.name = "F";
    node.properties.push_back({"P", value});
    return write_stream(node);
}

// The bytes of the value alone: what follows "TPF0" 02 'TF' 01 'F' 01 'P' and precedes the two zero bytes.
std::string value_bytes(const Value& value) {
    const std::string s = stream_with(value);
    return s.substr(4 + 3 + 2 + 2, s.size() - 11 - 2);
}

TEST(BinaryFormat, IntegersTakeTheSmallestWidthThatHoldsThem) {
    const struct {
        std::int64_t value;
        ValueType type;
        std::string encoded;
    } cases[] = {
        {0, ValueType::Int8, bytes({2, 0})},
        {-128, ValueType::Int8, bytes({2, 0x80})},
        {127, ValueType::Int8, bytes({2, 0x7F})},
        {128, ValueType::Int16, bytes({3, 0x80, 0})},
        {-129, ValueType::Int16, bytes({3, 0x7F, 0xFF})},
        {32767, ValueType::Int16, bytes({3, 0xFF, 0x7F})},
        {32768, ValueType::Int32, bytes({4, 0, 0x80, 0, 0})},
        {-2147483648LL, ValueType::Int32, bytes({4, 0, 0, 0, 0x80})},
        {2147483648LL, ValueType::Int64, bytes({19, 0, 0, 0, 0x80, 0, 0, 0, 0})},
    };
    for (const auto& c : cases) {
        const Value v = Value::integer_value(c.value);
        EXPECT_EQ(v.type(), c.type) << c.value;
        EXPECT_EQ(value_bytes(v), c.encoded) << c.value;
    }
}

TEST(BinaryFormat, EveryValueTypeHasItsEncoding) {
    CollectionItem ordered;
    ordered.has_order = true;
    ordered.order = Value::integer_value(3);
    ordered.properties.push_back({"X", Value::integer_value(1)});
    const struct {
        const char* what;
        Value value;
        std::string encoded;
    } cases[] = {
        {"short string", Value::string_value("ab"), bytes({6, 2, 'a', 'b'})},
        {"empty string", Value::string_value(""), bytes({6, 0})},
        {"identifier", Value::ident("alTop"), bytes({7, 5, 'a', 'l', 'T', 'o', 'p'})},
        {"False", Value::ident("false"), bytes({8})},
        {"True", Value::ident("TRUE"), bytes({9})},
        {"nil", Value::ident("Nil"), bytes({13})},
        {"Null", Value::ident("null"), bytes({0})},
        {"set", Value::set_value({"fsBold", "fsItalic"}),
         bytes({11, 6, 'f', 's', 'B', 'o', 'l', 'd', 8, 'f', 's', 'I', 't', 'a', 'l', 'i', 'c', 0})},
        {"empty set", Value::set_value({}), bytes({11, 0})},
        {"list", Value::strings({"a", "b"}), bytes({1, 6, 1, 'a', 6, 1, 'b', 0})},
        {"binary", Value::binary(bytes({1, 2, 0xFF})), bytes({10, 3, 0, 0, 0, 1, 2, 0xFF})},
        {"wide string", Value::wide_value(u"a\u0410"), bytes({18, 2, 0, 0, 0, 'a', 0, 0x10, 0x04})},
        {"UTF-8 string", Value::utf8_value("\xC3\xA9"), bytes({20, 2, 0, 0, 0, 0xC3, 0xA9})},
        {"extended 1.5", Value::extended_value(1.5L), bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F})},
        {"single 1.5", Value::single_value(1.5f), bytes({15, 0, 0, 0xC0, 0x3F})},
        {"currency 12.5", Value::currency_value(125000), bytes({16, 0x48, 0xE8, 0x01, 0, 0, 0, 0, 0})},
        {"date 3.25", Value::date_value(3.25), bytes({17, 0, 0, 0, 0, 0, 0, 0x0A, 0x40})},
        {"collection", Value::collection({ordered, CollectionItem{}}),
         bytes({14, 2, 3, 1, 1, 'X', 2, 1, 0, 1, 0, 0})},
    };
    for (const auto& c : cases) EXPECT_EQ(value_bytes(c.value), c.encoded) << c.what;

    const Value long_string = Value::string_value(std::string(300, 'x'));
    EXPECT_EQ(long_string.type(), ValueType::LString);
    EXPECT_EQ(value_bytes(long_string).substr(0, 5), bytes({12, 0x2C, 1, 0, 0}));
}

TEST(BinaryFormat, ObjectRecordsNestWithFlagsAndZeroTerminators) {
    ObjectNode root;
    root.class_name = "TF";
    root.name = "F";
    ObjectNode child;
    child.class_name = "TL";
    child.name = "L";
    child.flags = kInherited | kChildPos;
    child.child_pos = Value::integer_value(2);
    root.children.push_back(child);
    EXPECT_EQ(write_stream(root), "TPF0" + bytes({2, 'T', 'F', 1, 'F', 0, 0xF3, 2, 2, 2, 'T', 'L', 1, 'L', 0, 0, 0}));
    EXPECT_EQ(read_stream(write_stream(root)), root);
}

TEST(BinaryFormat, ResourceHeaderNamesTheRootClassInUpperCase) {
    ObjectNode root;
    root.class_name = "TF_Cliente";
    root.name = "F_Cliente";
    const std::string file = write_form_file(root);
    const std::string stream = write_stream(root);
    const std::string header = bytes({0xFF, 10, 0}) + "TF_CLIENTE" + bytes({0, 0x30, 0x10}) +
                               bytes({static_cast<int>(stream.size()), 0, 0, 0});
    EXPECT_EQ(file, header + stream);

    ResourceHeader read;
    EXPECT_EQ(read_form_file(file, &read), root);
    EXPECT_EQ(read.name, "TF_CLIENTE");
    EXPECT_EQ(read.flags, 0x1030);
    EXPECT_EQ(read.size, stream.size());
    EXPECT_EQ(read.header_size, header.size());
    // A bare stream is read as well.
    EXPECT_EQ(read_form_file(stream), root);
}

// Byte sequences worked out by hand from the format (little-endian numbers, IEEE 754 and 80-bit
// extended floats), so that the reader and the writer are each held to the format rather than only to
// one another.
TEST(BinaryFormat, HandCheckedBytesReadAndWriteBothWays) {
    const std::string z256(256, 'z');
    const struct {
        const char* what;
        Value value;
        std::string encoded;
    } cases[] = {
        {"Int8 -5", Value::integer_value(-5), bytes({2, 0xFB})},
        {"Int16 -300", Value::integer_value(-300), bytes({3, 0xD4, 0xFE})},
        {"Int32 100000", Value::integer_value(100000), bytes({4, 0xA0, 0x86, 0x01, 0x00})},
        {"Int64 -5000000000", Value::integer_value(-5000000000LL), bytes({19, 0x00, 0x0E, 0xFA, 0xD5, 0xFE, 0xFF, 0xFF, 0xFF})},
        {"string", Value::string_value("it's"), bytes({6, 4, 'i', 't', '\'', 's'})},
        {"long string", Value::string_value(z256), bytes({12, 0x00, 0x01, 0x00, 0x00}) + z256},
        {"wide string", Value::wide_value(u"\u0416x"), bytes({18, 2, 0, 0, 0, 0x16, 0x04, 'x', 0})},
        {"UTF-8 string", Value::utf8_value("\xE2\x82\xAC"), bytes({20, 3, 0, 0, 0, 0xE2, 0x82, 0xAC})},
        {"extended 0.1", Value::extended_value(0.1L), bytes({5, 0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F})},
        {"extended -0", Value::extended_value(-0.0L), bytes({5, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x80})},
        {"single -2.5", Value::single_value(-2.5f), bytes({15, 0x00, 0x00, 0x20, 0xC0})},
        {"currency -0.0001", Value::currency_value(-1), bytes({16, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"date 36526.5", Value::date_value(36526.5), bytes({17, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xD5, 0xE1, 0x40})},
        {"binary", Value::binary(bytes({0, 0xFF, 7})), bytes({10, 3, 0, 0, 0, 0, 0xFF, 7})},
        {"set", Value::set_value({"akRight"}), bytes({11, 7, 'a', 'k', 'R', 'i', 'g', 'h', 't', 0})},
        {"nested list", Value::list_value({Value::integer_value(1), Value::strings({"x"})}),
         bytes({1, 2, 1, 1, 6, 1, 'x', 0, 0})},
        {"True", Value::boolean(true), bytes({9})},
        {"nil", Value::nil(), bytes({13})},
        {"Null", Value::ident("Null"), bytes({0})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(value_bytes(c.value), c.encoded) << c.what;
        const std::string stream = "TPF0" + bytes({2, 'T', 'F', 1, 'F', 1, 'P'}) + c.encoded + bytes({0, 0});
        const ObjectNode read = read_stream(stream);
        ASSERT_EQ(read.properties.size(), 1u) << c.what;
        EXPECT_EQ(read.properties[0].value, c.value) << c.what;
    }
}

TEST(BinaryFormat, EveryValueSurvivesARoundTrip) {
    ObjectNode root;
    root.class_name = "TForm1";
    root.name = "Form1";
    CollectionItem item;
    item.properties = {{"FieldName", Value::string_value("NOME")}, {"Title.Caption", Value::string_value("Nome")}};
    Value nested = Value::list_value({Value::integer_value(1), Value::strings({"x"}), Value::extended_value(-0.0L)});
    root.properties = {
        {"I8", Value::integer_value(-5)},       {"I64", Value::integer_value(-5000000000LL)},
        {"S", Value::string_value("it's")},     {"L", Value::string_value(std::string(70000, 'z'))},
        {"W", Value::wide_value(u"\u0416x")},   {"U", Value::utf8_value("\xE2\x82\xAC")},
        {"E", Value::extended_value(0.1L)},     {"F", Value::single_value(-2.5f)},
        {"C", Value::currency_value(-1)},       {"D", Value::date_value(36526.5)},
        {"B", Value::binary(std::string(1000, '\0'))},
        {"Set", Value::set_value({"akRight"})}, {"Items.Strings", nested},
        {"Cols", Value::collection({item, item})}, {"N", Value::nil()},
        {"Z", Value::ident("Null")},
    };
    // A Single or Date equal to itself only by bits: NaN.
    float nan = 0;
    const std::uint32_t nan_bits = 0x7FC00001;
    std::memcpy(&nan, &nan_bits, sizeof nan);
    root.properties.push_back({"NaN", Value::single_value(nan)});
    ObjectNode child = root;
    child.name = "Child";
    child.class_name = "TChild";
    child.children.clear();
    root.children.push_back(child);
    EXPECT_EQ(read_form_file(write_form_file(root)), root);
}

// Short texts stand inside the value, longer ones in a block of their own: every length on both sides
// of the limit, with zero and high bytes, keeps its bytes through copies, moves, assignments and the
// stream.
TEST(BinaryFormat, TextsKeepTheirBytesOnBothSidesOfTheInlineLimit) {
    const std::string source = std::string("\0\xFF", 2) + "abcdefghij" + std::string(300, 'q');
    for (const std::size_t length : {0, 1, 2, 6, 7, 8, 9, 15, 16, 255, 256}) {
        const std::string text = source.substr(0, length);
        SCOPED_TRACE(length);
        for (const ValueType type : {ValueType::String, ValueType::LString, ValueType::Ident, ValueType::Binary,
                                     ValueType::UTF8String}) {
            if ((type == ValueType::String || type == ValueType::Ident) && length > 255) continue;
            const Value original = Value::bytes_of(type, text);
            Value copy = original;
            EXPECT_EQ(copy.bytes(), text);
            Value moved = std::move(copy);
            EXPECT_EQ(moved.bytes(), text);
            EXPECT_TRUE(copy.bytes().empty());  // NOLINT(bugprone-use-after-move): a moved-from text is empty
            Value assigned = Value::bytes_of(type, std::string(20, 'x'));
            assigned = moved;
            EXPECT_EQ(assigned, original);
            assigned = Value::bytes_of(type, "y");
            EXPECT_EQ(assigned.bytes(), "y");
            ObjectNode node;
            node.class_name = "TF";
            node.properties = {{"P", original}, {"Q", assigned}};
            EXPECT_EQ(read_stream(write_stream(node)), node);
        }
        const std::u16string wide(length, u'\u0416');
        Value wide_copy = Value::wide_value(wide);
        const Value wide_moved = std::move(wide_copy);
        EXPECT_EQ(wide_moved.wide(), wide);
        EXPECT_EQ(value_bytes(wide_moved).size(), 5 + 2 * length);
    }
    EXPECT_EQ(value_bytes(Value::string_value("1234567")), bytes({6, 7, '1', '2', '3', '4', '5', '6', '7'}));
    EXPECT_NE(Value::string_value("1234567"), Value::string_value("1234568"));
}

TEST(BinaryFormat, ShortStringsOverTheLimitAreRefusedNotCut) {
    const std::string name255(255, 'a'), name256(256, 'a');
    ObjectNode ok;
    ok.class_name = "T" + std::string(254, 'x');
    ok.name = name255;
    ok.properties.push_back({name255, Value::ident(name255)});
    EXPECT_EQ(read_stream(write_stream(ok)), ok);

    const auto refuses = [](const ObjectNode& node, const std::string& what) {
        try {
            write_stream(node);
            ADD_FAILURE() << what << " was written";
        } catch (const FormFileError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(what), std::string::npos) << message;
            EXPECT_NE(message.find("256 bytes"), std::string::npos) << message;
            EXPECT_NE(message.find("255"), std::string::npos) << message;
        }
    };
    ObjectNode node = ok;
    node.class_name = "T" + std::string(255, 'x');
    refuses(node, "class name");
    node = ok;
    node.name = name256;
    refuses(node, "object name");
    node = ok;
    node.properties[0].name = name256;
    refuses(node, "property name");
    node = ok;
    node.properties[0].value = Value::ident(name256);
    refuses(node, "identifier");
    node = ok;
    node.properties[0].value = Value::set_value({name256});
    refuses(node, "set member");
    node = ok;
    node.properties[0].value = Value::bytes_of(ValueType::String, name256);
    refuses(node, "value of property");
}

TEST(BinaryFormat, ValuesReadOtherTypesAsEmptyAndKeepStoredWidths) {
    // Callers read an absent or differently typed property as empty or zero.
    const Value null;
    EXPECT_EQ(null.bytes(), "");
    EXPECT_EQ(null.integer(), 0);
    EXPECT_TRUE(null.list().empty());
    EXPECT_EQ(Value::ident("alTop").integer(), 0);
    EXPECT_EQ(Value::integer_value(7).bytes(), "");
    EXPECT_EQ(Value::currency_value(25000).integer(), 25000);
    // A width or string type that a writer would not choose is kept.
    EXPECT_EQ(value_bytes(Value::integer_of(ValueType::Int32, 5)), bytes({4, 5, 0, 0, 0}));
    EXPECT_EQ(value_bytes(Value::bytes_of(ValueType::LString, "a")), bytes({12, 1, 0, 0, 0, 'a'}));
    EXPECT_THROW(Value::bytes_of(ValueType::Int8, "a"), FormFileError);
    EXPECT_THROW(Value::integer_of(ValueType::String, 1), FormFileError);
}

TEST(BinaryFormat, ValuesTheStreamCannotHoldAreRefused) {
    ObjectNode node;
    node.class_name = "TF";
    node.properties.push_back({"P", Value::list_value({Value::ident("Null")})});
    EXPECT_THROW(write_stream(node), FormFileError) << "Null would end the list early";
    EXPECT_THROW(Value::integer_of(ValueType::Int8, 300), FormFileError) << "300 does not fit 8 bits";
    node.properties[0] = {"", Value::integer_value(1)};
    EXPECT_THROW(write_stream(node), FormFileError) << "empty property name ends the property list";
    node.properties[0] = {"P", Value::set_value({""})};
    EXPECT_THROW(write_stream(node), FormFileError) << "empty member ends the set";
    node.properties.clear();
    node.class_name.clear();
    EXPECT_THROW(write_stream(node), FormFileError);
}

}  // namespace

namespace {

TEST(BinaryFormat, SomeClassNamesCannotNameTheResource) {
    // Read from a stream it is a valid short string, but the header's name would end early.
    ObjectNode node;
    node.class_name = std::string("T\0F", 3);
    node.name = "F";
    EXPECT_EQ(read_stream(write_stream(node)), node);
    EXPECT_THROW(write_form_file(node), FormFileError);
    node.class_name = "\xFFTF";  // $FF starts a numbered resource
    EXPECT_EQ(read_stream(write_stream(node)), node);
    EXPECT_THROW(write_form_file(node), FormFileError);
}

}  // namespace
