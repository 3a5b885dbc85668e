// Writing diagrams back to their file format: nothing the format holds may be lost or changed.

#include "diagram/json_writer.h"

#include <array>
#include <climits>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "diagram/stored_diagram.h"
#include "plugin/registros.h"
#include "tests/support/random_diagram.h"

namespace {

using test_support::fields;
using test_support::RandomDiagram;

std::string file_text(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Load, write, load gives an equal diagram; writing that again gives the same bytes.
TEST(DiagramWriter, ExamplesAndRandomDiagramsRoundTrip) {
    for (const char* name : {"cliente.json", "vendas.json"}) {
        const Diagram loaded = load_diagram(std::string(KZR40_SOURCE_DIR "/examples/") + name);
        const std::string json = diagram_to_json(loaded, name);
        const Diagram again = parse_diagram(json, name);
        EXPECT_EQ(fields(again), fields(loaded)) << name;
        EXPECT_EQ(diagram_to_json(again, name), json) << name;
    }
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const Diagram d = RandomDiagram(seed).make();
        const std::string json = diagram_to_json(d, "r.json");
        const Diagram back = parse_diagram(json, "r.json");
        ASSERT_EQ(fields(back), fields(d)) << "seed " << seed << "\n" << json;
        ASSERT_EQ(diagram_to_json(back, "r.json"), json) << "seed " << seed;
    }
}

// Meant for people too: documented key order, two-blank indentation, UTF-8, defaults left out.
TEST(DiagramWriter, OutputIsIndentedUtf8InDocumentedKeyOrder) {
    const Diagram d = parse_diagram(R"({"entities": [{"tabela": "T", "Alturaform": 300, "entidade": "Pre\u00e7o"},
        {"entidade": "Pre\u00e7o", "tabela": "U"}], "relationships": [{"to": 2, "from": 1, "name": "R", "EndConn": {"perc": 3}}]})",
                                    "in.json");
    EXPECT_EQ(diagram_to_json(d, "out.json"), "{\n  \"version\": 2,\n  \"entities\": [\n    {\n      \"entidade\": \"Pre\xC3\xA7o\",\n"
                                              "      \"tabela\": \"T\"\n    },\n    {\n      \"entidade\": \"Pre\xC3\xA7o\",\n"
                                              "      \"tabela\": \"U\"\n    }\n  ],\n  \"relationships\": [\n    {\n"
                                              "      \"name\": \"R\",\n      \"from\": \"Pre\xC3\xA7o\",\n      \"to\": 2,\n"
                                              "      \"EndConn\": {\n        \"perc\": 3\n      }\n    }\n  ]\n}\n");
}

// What the format cannot hold is refused with the item named, and the file already there stays as it was.
TEST(DiagramWriter, RefusesWhatWouldNotReadBackAndLeavesTheFileAlone) {
    const std::string path = ::testing::TempDir() + "kzr40-writer.json";
    const std::string json = R"({"entities": [{"entidade": "E", "tabela": "T", "atributos": [{"nome": "A", "tipo": 1}]}]})";
    save_diagram(parse_diagram(json, "in"), path);
    const std::string before = file_text(path);
    EXPECT_EQ(fields(load_diagram(path)), fields(parse_diagram(json, "in")));
    const std::pair<void (*)(Diagram&, TAtributo&), std::string> cases[] = {
        {[](Diagram&, TAtributo& a) { a.rotulo = "a\x81z"; },
         ": entity \"E\" (#1), attribute \"A\" (#1): \"rotulo\" holds the byte 0x81, which Windows-1252 leaves undefined"},
        {[](Diagram&, TAtributo& a) { a.rotulo = "a\nb"; }, "\"rotulo\" holds the control character U+000A"},
        {[](Diagram&, TAtributo& a) { a.chave = 8; }, "\"chave\" has bits the format cannot hold (8)"},
        {[](Diagram& d, TAtributo&) { d.escala = 5; }, ": \"Escala\" must lie between 10 and 1000 (5)"},
        {[](Diagram& d, TAtributo&) { d.entities[0].shape.top = 10'000'001; },
         ": entity \"E\" (#1): \"shape.top\" must lie between -10000000 and 10000000 (10000001)"},
        {[](Diagram& d, TAtributo&) {
             TFont font;
             font.SetHeight(INT_MIN);  // a stored diagram may hold any height; its size in points is out of range too
             d.entities[0].entity->SetFonteTitulo(font);
         },
         "\"FonteTitulo.height\" lies outside -1000..1000 (-2147483648)"},
    };
    for (const auto& [spoil, message] : cases) {
        Diagram d = parse_diagram(json, "in");
        spoil(d, *static_cast<TAtributo*>(d.entities[0].entity->atributos().Objects(0)));
        try {
            save_diagram(d, path);
            ADD_FAILURE() << message;
        } catch (const DiagramError& e) {
            EXPECT_NE(std::string(e.what()).find(path + ":"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
        EXPECT_EQ(file_text(path), before);
    }
    std::remove(path.c_str());
}

}  // namespace

namespace {

// The modern style's keys read, write back and read again alike; a stored diagram refuses them by name,
// and a colour not written as #RRGGBB is refused where it stands.
TEST(DiagramWriter, StyleThemeAndColourRoundTripInJsonAndAreRefusedByTheStoredForm) {
    const std::string json =
        R"({"version": 2, "style": "modern", "theme": "dark", "entities": [{"entidade": "A", "tabela": "A", "colour": "#12AB9f"},)"
        R"({"entidade": "B", "tabela": "B"}]})";
    const Diagram d = parse_diagram(json, "m.json");
    EXPECT_EQ(d.style, DiagramStyle::modern);
    EXPECT_EQ(d.theme, DiagramTheme::dark);
    ASSERT_TRUE(d.entities[0].colour);
    EXPECT_EQ(*d.entities[0].colour, 0x9FAB12) << "blue in the high byte, as TColor holds it";
    EXPECT_FALSE(d.entities[1].colour);
    const std::string written = diagram_to_json(d, "m.json");
    EXPECT_NE(written.find(R"("colour": "#12AB9F")"), std::string::npos) << written;
    const Diagram back = parse_diagram(written, "m.json");
    EXPECT_EQ(back.style, DiagramStyle::modern);
    EXPECT_EQ(back.theme, DiagramTheme::dark);
    EXPECT_EQ(back.entities[0].colour, d.entities[0].colour);
    EXPECT_EQ(diagram_to_json(parse_diagram(R"({"entities": []})", "f.json"), "f.json").find("style"), std::string::npos);

    try {
        stored_diagram_bytes(back, "m.kzd");
        ADD_FAILURE() << "a stored diagram took the style";
    } catch (const DiagramError& e) {
        EXPECT_NE(std::string(e.what()).find("m.kzd: the diagram has \"style\""), std::string::npos) << e.what();
    }
    Diagram plain = parse_diagram(R"({"entities": [{"entidade": "A", "tabela": "A"}, {"entidade": "Bé", "tabela": "B", "colour": "#000000"}]})", "p.json");
    try {
        stored_diagram_text(plain, "p.kzd");
        ADD_FAILURE() << "a stored diagram took the colour";
    } catch (const DiagramError& e) {
        EXPECT_NE(std::string(e.what()).find("p.kzd: entity \"Bé\" (#2) has \"colour\""), std::string::npos) << e.what();
    }
    plain.entities[1].colour.reset();
    EXPECT_FALSE(stored_diagram_text(plain, "p.kzd").empty());

    for (const char* bad : {R"("#12345")", R"("12AB9F0")", R"("#12AB9G")", "1234"}) {
        try {
            parse_diagram(std::string(R"({"entities": [{"entidade": "A", "tabela": "A", "colour": )") + bad + "}]}", "c.json");
            ADD_FAILURE() << bad;
        } catch (const DiagramError& e) {
            EXPECT_NE(std::string(e.what()).find("colour"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("#RRGGBB"), std::string::npos) << e.what();
        }
    }
}

}  // namespace
