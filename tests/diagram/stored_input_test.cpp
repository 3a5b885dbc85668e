// Stored diagrams as outside input: how large they may be and how much memory their objects may take,
// how their text is read (byte-order mark, UTF-8, the keywords that open an object), and stream bytes
// that reach messages; and an entity that store cannot take as it streams.

#include <string>

#include <gtest/gtest.h>

#include "diagram/stored_diagram.h"
#include "diagram/stored_limits.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"
#include "plugin/registros.h"
#include "tests/support/random_diagram.h"

namespace {

using formfile::ObjectNode;
using formfile::Value;
using test_support::fields;

std::string example(const char* name) { return std::string(KZR40_SOURCE_DIR "/examples/") + name; }

std::string error_of(std::string_view content) {
    try {
        parse_diagram(content, "d.kzd");
    } catch (const DiagramError& e) {
        return e.what();
    }
    return "no error";
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(StoredInput, TextMayStartWithAByteOrderMarkOrAnyObjectKeywordAndIsNeverMisread) {
    const Diagram cliente = load_diagram(example("cliente.json"));
    const std::string text = stored_diagram_text(cliente, "c.txt", true);
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(fields(parse_diagram(mark + text, "c.txt")), fields(cliente));
    for (const char* keyword : {"inherited", "INLINE"})
        EXPECT_EQ(fields(parse_diagram(replaced(text, "object", keyword), "c.txt")), fields(cliente)) << keyword;

    // After the mark the text is UTF-8: C'#243'digo written as the editor saves it reads the same.
    const std::string utf8 = replaced(text, "titulo = 'C'#243'digo'", "titulo = 'C\xC3\xB3" "digo'");
    EXPECT_EQ(fields(parse_diagram(mark + utf8, "c.txt")), fields(cliente));
    // Without it those two bytes would be two other characters: refused, saying what to do.
    const std::string unmarked = error_of(utf8);
    EXPECT_NE(unmarked.find("d.kzd: line 41: a string holds the UTF-8 character U+00F3"), std::string::npos) << unmarked;
    EXPECT_NE(unmarked.find("byte-order mark"), std::string::npos) << unmarked;
    // A Windows-1252 byte alone is not UTF-8 and reads as the target reads it.
    EXPECT_EQ(fields(parse_diagram(replaced(text, "titulo = 'C'#243'digo'", "titulo = 'C\xF3" "digo'"), "c.txt")),
              fields(cliente));
    EXPECT_NE(error_of(mark + replaced(text, "'C'#243'digo'", "'\xE4\xB8\xAD'")).find("line 41: a string holds the character U+4E2D"),
              std::string::npos);
    EXPECT_NE(error_of(mark + replaced(text, "'C'#243'digo'", "'C\xF3" "digo'")).find("line 41: a string holds byte #243, which is not UTF-8"),
              std::string::npos);
}

// A document holding `count` objects of `class_name` and nothing else, as text.
std::string bare_objects(int count, const char* class_name) {
    std::string text = "object Diagrama: TDiagramDocument\n";
    for (int i = 0; i < count; ++i) text += "  object E" + std::to_string(i) + ": " + class_name + " end\n";
    return text + "end\n";
}

TEST(StoredInput, SizeAndMemoryLimitsAreRefusedNamingTheLimit) {
    const std::string huge = "object Diagrama: TDiagramDocument\n" + std::string(kMaxStoredDiagramBytes, ' ') + "end\n";
    EXPECT_NE(error_of(huge).find("more than the 64 MiB a stored diagram may have"), std::string::npos) << error_of(huge);

    // Empty entities take a few bytes each in the stream and kilobytes each as components.
    const std::string text = bare_objects(7000, "TEntidade");
    const std::string expected = "7001 objects, 0 collection items and 0 list entries: reading them would take about";
    EXPECT_NE(error_of(text).find(expected), std::string::npos) << error_of(text);
    const std::string bytes = formfile::write_form_file(formfile::read_text(text));
    EXPECT_NE(error_of(bytes).find(expected), std::string::npos) << error_of(bytes);
    // The same number of objects with what store writes for each is read (and refused only by the
    // diagram's own checks).
    EXPECT_EQ(error_of(bare_objects(2000, "TEntidade")).find("reading them would take"), std::string::npos);
}

TEST(StoredInput, ControlBytesOfStreamNamesAreEscapedInMessages) {
    const auto stream_with = [](const char* class_name, const char* name, const char* property, Value value) {
        ObjectNode entity;
        entity.class_name = class_name;
        entity.name = name;
        entity.properties.push_back({property, std::move(value)});
        ObjectNode root;
        root.class_name = "TDiagramDocument";
        root.name = "Diagrama";
        root.children.push_back(std::move(entity));
        return formfile::write_stream(root);
    };
    const std::string cases[] = {
        stream_with("TEnt\x1B[31m", "E1", "Tag", Value::integer_value(1)),
        stream_with("TEntidade", "E\x07", "Tag", Value::integer_value(1)),
        stream_with("TEntidade", "E1", "tabela\x1B]0;x\x07", Value::string_value("T")),
        stream_with("TEntidade", "E1", "Modo", Value::ident("tm\x1B[2J")),
        stream_with("TEntidade", "E1", "Cursor", Value::ident("cr\x07")),
        stream_with("TEntidade", "E1", "FonteTitulo.Style", Value::set_value({"fs\x1B"})),
        "TPF0" + std::string("\x11TDiagramDocument\x1B\x08" "Diagrama\x00\x00", 29),
    };
    for (const std::string& stream : cases) {
        const std::string e = error_of(stream);
        EXPECT_EQ(e.find_first_of(std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x1B\x7F", 10)), std::string::npos) << e;
        EXPECT_TRUE(e.find("#27") != std::string::npos || e.find("#7") != std::string::npos) << e;
    }
}

TEST(StoredInput, AnEntityWhoseKeysDoNotStandFirstIsStoredAsItReadsBack) {
    // A key bit set in place on the last attribute: reading puts that attribute first, and so must the
    // stored form, or storing what was read would give other bytes.
    Diagram vendas = load_diagram(example("vendas.json"));
    const StringList& attributes = vendas.entities[0].entity->atributos();
    ASSERT_GT(attributes.Count(), 2);
    static_cast<TAtributo*>(attributes.Objects(attributes.Count() - 1))->chave |= kChavePrimaria;
    const std::string bytes = stored_diagram_bytes(vendas, "v.kzd");
    EXPECT_EQ(stored_diagram_bytes(parse_stored_diagram(bytes, "v.kzd"), "v.kzd"), bytes);
}

}  // namespace
