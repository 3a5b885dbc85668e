// Writing diagrams back to their file format: nothing the format holds may be lost or changed.

#include "diagram/json_writer.h"

#include <array>
#include <climits>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

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
