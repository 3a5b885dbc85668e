// Reading diagram files into entities.

#include "diagram/diagram.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/utf8_cp1252.h"
#include "plugin/registros.h"
#include "tests/support/read_file.h"

namespace {

const TAtributo& atributo(const TEntidade& e, int i) { return *static_cast<const TAtributo*>(e.atributos().Objects(i)); }
const TChaveSecundaria& chave(const TEntidade& e, int i) {
    return *static_cast<const TChaveSecundaria*>(e.ChavesSecundarias().Objects(i));
}

TEST(Diagram, LoadsTheSalesExample) {
    const Diagram d = load_diagram(KZR40_SOURCE_DIR "/examples/vendas.json");
    EXPECT_EQ(d.project, "Vendas");
    EXPECT_EQ(d.server, "SRV-VENDAS");
    ASSERT_EQ(d.entities.size(), 4u);

    const TEntidade& produto = *d.entities[1].entity;
    EXPECT_EQ(produto.entidade(), "Produto");
    EXPECT_EQ(produto.Tipoform(), 1);
    EXPECT_EQ(produto.Alturaform(), 300);  // declared defaults for what the file leaves out
    EXPECT_EQ(produto.Larguraform(), 400);
    EXPECT_EQ(produto.atributos().Count(), 5);
    EXPECT_STREQ(produto.atributos().Get(2), "Pre\xE7o");  // one Windows-1252 byte
    const TAtributo& foto = atributo(produto, 4);
    EXPECT_EQ(foto.tipo, 17);
    EXPECT_EQ(foto.componente, 10);
    EXPECT_EQ(foto.opcoes, kOpcaoAceitaNulo | kOpcaoForaDoFormulario);
    EXPECT_EQ(chave(produto, 0).tipo_indice, kIndiceDescendente);
    EXPECT_EQ(d.entities[1].shape.top, 320);

    const TEntidade& pedido = *d.entities[2].entity;
    EXPECT_EQ(pedido.Primaria(), 4);
    EXPECT_EQ(atributo(pedido, 2).chave, kChaveEstrangeira);
    EXPECT_EQ(atributo(pedido, 2).origem, "Cliente_Pedido");
    EXPECT_EQ(atributo(pedido, 3).tamanho, 12);
    EXPECT_EQ(atributo(pedido, 3).decimais, 2);
    EXPECT_STREQ(pedido.ChavesSecundarias().Get(1), "IDX_PEDIDO_CLIENTE");
    EXPECT_EQ(chave(pedido, 1).campos, "CLIENTE+DATA");
    EXPECT_EQ(chave(pedido, 0).tipo_indice, kIndiceDuplicados | kIndiceNaoMantido);

    const TEntidade& cliente = *d.entities[0].entity;
    EXPECT_EQ(chave(cliente, 0).campos, "NOME+CIDADE");
    EXPECT_EQ(chave(cliente, 2).tipo_indice, kIndiceMaiusculas);
    EXPECT_EQ(atributo(cliente, 0).titulo, "C\xF3" "digo");
    EXPECT_EQ(cliente.descricao().Count(), 1);

    ASSERT_EQ(d.relationships.size(), 3u);
    EXPECT_EQ(d.relationships[2].from, 1u);
    EXPECT_EQ(d.relationships[2].to, 3u);
    EXPECT_EQ(d.relationships[2].relacao, trelacao::tr0xn);
    EXPECT_EQ(d.relationships[2].meioperc, 50);
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_EQ(d.texts[0].text, "Sistema de vendas\nmodelo de exemplo");
    EXPECT_EQ(d.texts[0].font->Name(), "Arial");
}

// The example in the format's documentation must stay a valid diagram.
TEST(Diagram, DocumentedExampleLoads) {
    const std::string doc = test_support::read_file(KZR40_SOURCE_DIR "/docs/diagram-format.md");
    const std::size_t start = doc.find("```json\n");
    ASSERT_NE(start, std::string::npos);
    const std::size_t end = doc.find("```", start + 8);
    const Diagram d = parse_diagram(doc.substr(start + 8, end - start - 8), "docs/diagram-format.md");
    ASSERT_EQ(d.entities.size(), 2u);
    EXPECT_EQ(d.entities[0].entity->Primaria(), 4);
    EXPECT_EQ(d.entities[0].entity->FonteTitulo().Size(), 10);
    EXPECT_EQ(d.relationships.size(), 1u);
    EXPECT_EQ(d.texts.size(), 1u);
}

TEST(Diagram, ValuesByIndexFontsAndKeysFirst) {
    const Diagram d = parse_diagram(R"({"entities": [{
        "entidade": "E", "tabela": "T", "Tipoform": 2, "Alturaform": 0, "Modo": "tmTabela", "Primaria": 5,
        "FonteTitulo": {"name": "Tahoma", "size": 10, "style": ["bold", "underline"], "color": 255, "charset": 0},
        "FonteExtrangeiras": {"height": -11, "color": 2147483656},
        "atributos": [
          {"nome": "N", "tipo": 1, "tamanho": 5, "componente": 8, "largura": 150, "rotulo": "R\u00f3tulo"},
          {"nome": "K", "tipo": "AutoInc", "key": true, "foreign_key": true}
        ],
        "ChavesSecundarias": [{"nome": "I", "campos": "N", "duplicates": true, "case_sensitive": true, "expression": true}]
      }]})",
                                     "mem.json");
    const TEntidade& e = *d.entities[0].entity;
    EXPECT_EQ(e.Tipoform(), 2);
    EXPECT_EQ(e.Alturaform(), 0);
    EXPECT_EQ(e.Modo(), tmodo::tmTabela);
    EXPECT_EQ(e.Primaria(), 5);
    EXPECT_EQ(e.FonteTitulo().Name(), "Tahoma");
    EXPECT_EQ(e.FonteTitulo().Size(), 10);
    EXPECT_TRUE(e.FonteTitulo().Style().contains(TFontStyle::fsUnderline));
    EXPECT_FALSE(e.FonteTitulo().Style().contains(TFontStyle::fsItalic));
    EXPECT_EQ(e.FonteTitulo().Color(), 255);
    EXPECT_EQ(e.FonteExtrangeiras().Color(), clWindowText);
    EXPECT_EQ(e.FonteExtrangeiras().Name(), "Arial");
    EXPECT_EQ(e.FonteAtributos().Name(), "Arial");
    // Keys first, as the entity keeps them.
    EXPECT_STREQ(e.atributos().Get(0), "K");
    EXPECT_EQ(atributo(e, 0).tipo, 14);
    EXPECT_EQ(atributo(e, 0).chave, kChavePrimaria | kChaveEstrangeira);
    EXPECT_EQ(atributo(e, 0).componente, 1);
    EXPECT_EQ(atributo(e, 1).componente, 8);
    EXPECT_EQ(atributo(e, 1).largura, 150);
    EXPECT_EQ(atributo(e, 1).rotulo, "R\xF3tulo");
    EXPECT_EQ(chave(e, 0).tipo_indice, kIndiceDuplicados | kIndiceMaiusculas | kIndiceExpressao);
}

// Each bad diagram gives one message that names the file, the item and the problem.
TEST(Diagram, BadInputIsReportedWithFileItemAndProblem) {
    const std::string entidade = R"({"entities": [{"entidade": "Cliente", "tabela": "C", "atributos": [)";
    struct Caso {
        std::string json;
        std::string mensagem;
    };
    const Caso casos[] = {
        {R"({"entities": [)", "f.json: is not valid JSON: "},
        {R"([1, 2])", "f.json: the diagram must be an object, not an array"},
        {R"({})", "f.json: \"entities\" is missing"},
        {R"({"entities": {}})", "f.json: \"entities\" must be an array, not an object"},
        {R"({"version": 3, "entities": []})", "f.json: \"version\" must lie between 1 and 2 (got 3)"},
        {R"({"entities": [], "entity": []})", "f.json: the diagram has an unknown key \"entity\""},
        {R"({"entities": [{"tabela": "T"}]})", "f.json: entity #1: \"entidade\" is missing"},
        {R"({"entities": [{"entidade": "E"}]})", "f.json: entity \"E\" (#1): \"tabela\" is missing"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "tabela": "U"}]})",
         "f.json: entity \"E\" (#1): the entity has the key \"tabela\" twice"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "Tipoform": "diagonal"}]})",
         "f.json: entity \"E\" (#1): \"Tipoform\" names no known value: \"diagonal\" (use one of vertical, horizontal, grid, "
         "or an index 0..2)"},
        {entidade + R"({"nome": "A", "tipo": "Strng"}]}]})",
         "f.json: entity \"Cliente\" (#1), attribute \"A\" (#1): \"tipo\" names no known value: \"Strng\" (use one of "
         "Desconhecido, String, "},
        {entidade + R"({"nome": "A", "tipo": 3}, {"nome": "B", "tipo": 20}]}]})",
         "f.json: entity \"Cliente\" (#1), attribute \"B\" (#2): \"tipo\" must be a name or an index from 0 to 19 (got 20)"},
        {entidade + R"({"nome": "A", "tipo": -1}]}]})", "\"tipo\" must be a name or an index from 0 to 19 (got -1)"},
        {entidade + R"({"nome": "A", "tipo": "String", "componente": "TEdit"}]}]})",
         "attribute \"A\" (#1): \"componente\" names no known value: \"TEdit\" (use one of TDBEdit, "},
        {entidade + R"({"nome": "A", "tipo": "String", "componente": 11}]}]})",
         "\"componente\" must be a name or an index from 1 to 10 (got 11)"},
        {entidade + R"({"nome": "A", "tipo": "String", "tamanho": -5}]}]})",
         "f.json: entity \"Cliente\" (#1), attribute \"A\" (#1): \"tamanho\" must not be negative (got -5)"},
        {entidade + R"({"nome": "A", "tipo": "String", "tamanho": 4.5}]}]})",
         "\"tamanho\" must be a whole number, not a number with a fraction"},
        {entidade + R"({"nome": "A", "tipo": "Float", "decimais": "2"}]}]})", "\"decimais\" must be a whole number, not a text"},
        {entidade + R"({"nome": "A", "tipo": "String", "tamanho": 3000000000}]}]})",
         "\"tamanho\" must lie between 0 and 2147483647 (got 3000000000)"},
        {entidade + R"({"tipo": "String"}]}]})", "f.json: entity \"Cliente\" (#1), attribute #1: \"nome\" is missing"},
        {entidade + R"({"nome": "A"}]}]})", "attribute \"A\" (#1): \"tipo\" is missing"},
        {entidade + R"({"nome": "", "tipo": 1}]}]})", "attribute #1: \"nome\" must not be empty"},
        {entidade + R"({"nome": "A", "tipo": 1, "key": "yes"}]}]})", "\"key\" must be true or false, not a text"},
        {entidade + R"({"nome": "A", "tipo": 1, "chave": true}]}]})", "the attribute has an unknown key \"chave\""},
        {entidade + R"({"nome": "Codigo", "tipo": 3}, {"nome": "C\u00f3digo", "tipo": 3}, {"nome": "CODIGO", "tipo": 3}]}]})",
         "f.json: entity \"Cliente\" (#1), attribute \"CODIGO\" (#3): \"nome\" gives the column CODIGO, which attribute #1 "
         "already has"},
        {entidade + R"({"nome": "Nota Fiscal", "tipo": 3}, {"nome": "Nota_Fiscal", "tipo": 3}]}]})",
         "attribute \"Nota_Fiscal\" (#2): \"nome\" gives the column NOTA_FISCAL, which attribute #1 already has"},
        {entidade + R"({"nome": "Snow\u2603", "tipo": 3}]}]})",
         "attribute \"Snow\xE2\x98\x83\" (#1): \"nome\" holds the character U+2603 '\xE2\x98\x83', which has no Windows-1252 byte"},
        {entidade + R"({"nome": "A\nB", "tipo": 3}]}]})", "\"nome\" holds the control character U+000A, which a name cannot hold"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "ChavesSecundarias": [{"nome": "I", "campos": []}]}]})",
         "f.json: entity \"E\" (#1), secondary key \"I\" (#1): \"campos\" must name at least one field"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "ChavesSecundarias": [{"nome": "I"}]}]})",
         "secondary key \"I\" (#1): \"campos\" is missing"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "ChavesSecundarias": [{"nome": "I", "campos": ["A+B"]}]}]})",
         "\"campos\" lists a field name that is empty or holds \"+\""},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "Primaria": {"desc": true}}]})",
         "entity \"E\" (#1): \"Primaria\" has an unknown key \"desc\""},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "FonteTitulo": {"size": 8, "height": -11}}]})",
         "entity \"E\" (#1): \"FonteTitulo.size\" and \"height\" say the same thing: give one of them"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "FonteAtributos": {"color": 18446744073709551615}}]})",
         "\"FonteAtributos.color\" must lie between -2147483648 and 4294967295 (got 18446744073709551615)"},
        {entidade + R"({"nome": "A", "tipo": "String", "tamanho": 18446744073709551615}]}]})",
         "\"tamanho\" must lie between 0 and 2147483647 (got 18446744073709551615)"},
        {entidade + R"({"nome": "A", "tipo": 18446744073709551615}]}]})",
         "\"tipo\" must be a name or an index from 0 to 19 (got 18446744073709551615)"},
        {R"({"entities": [{"entidade": "Cliente", "tabela": "Nota Fiscal"}, {"entidade": "X", "tabela": "X"},
                          {"entidade": "Nota", "tabela": "NOTA_fiscal"}]})",
         "f.json: entity \"Nota\" (#3): \"tabela\" gives the table NOTA_FISCAL, which entity \"Cliente\" (#1) already has"},
        {R"({"entities": [{"entidade": "E", "tabela": "T"}], "relationships": [{"name": "R", "from": "E", "to": "F"}]})",
         "f.json: relationship \"R\" (#1): \"to\" names no entity of the diagram (\"F\")"},
        {R"({"entities": [], "texts": [{"shape": {"left": 1}}]})", "f.json: text #1: \"text\" is missing"},
        {R"({"Escala": 9, "entities": []})", "f.json: \"Escala\" must lie between 10 and 1000 (got 9)"},
        {R"({"entities": [{"entidade": "E", "tabela": "T"}], "relationships": [{"name": "R", "from": 2, "to": 1}]})",
         "f.json: relationship \"R\" (#1): \"from\" must lie between 1 and 1 (got 2)"},
        {R"({"entities": [{"entidade": "E", "tabela": "T"}], "relationships": [{"name": "R", "from": true, "to": 1}]})",
         "\"from\" must be an entity's name or number, not true or false"},
        {R"({"entities": [{"entidade": "E", "tabela": "T"}], "relationships": [{"name": "R", "from": 1, "to": 1,
             "StartConn": {"perc": 101}}]})",
         "relationship \"R\" (#1): \"StartConn.perc\" must lie between 0 and 100 (got 101)"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "caption": {"shape": {}}}]})",
         "entity \"E\" (#1): \"caption.text\" is missing"},
        // Beyond ten million pixels the zoomed coordinates would leave 32 bits.
        {R"({"entities": [{"entidade": "E", "tabela": "T", "shape": {"left": -10000001}}]})",
         "entity \"E\" (#1): \"shape.left\" must lie between -10000000 and 10000000 (got -10000001)"},
        {R"({"entities": [], "texts": [{"text": "t", "shape": {"height": 2147483647}}]})",
         "text #1: \"shape.height\" must lie between 0 and 10000000 (got 2147483647)"},
    };
    for (const Caso& caso : casos) {
        try {
            parse_diagram(caso.json, "f.json");
            ADD_FAILURE() << "accepted: " << caso.json;
        } catch (const DiagramError& e) {
            const std::string mensagem = e.what();
            EXPECT_NE(mensagem.find(caso.mensagem), std::string::npos) << mensagem << "\n  for " << caso.json;
            EXPECT_EQ(mensagem.find('\n'), std::string::npos) << mensagem;
        }
    }
}

// What version 2 added reads as given, and a file that leaves it out means what version 1 meant.
TEST(Diagram, NewerKeysReadAndTheirAbsenceKeepsTheOldMeaning) {
    const Diagram d = parse_diagram(R"({"version": 2, "Escala": 250, "entities": [{"entidade": "E", "tabela": "T",
        "caption": {"text": "a\nb", "shape": {"left": 3, "top": 4}, "font": {"size": 12}}}],
        "relationships": [{"name": "R", "from": 1, "to": "E", "StartConn": {"perc": 0}, "EndConn": {"perc": 100},
        "LineWidth": 3, "LineColour": 4294967295, "caption": {"text": "", "autosize": false}}]})",
                                    "v2.json");
    EXPECT_EQ(d.escala, 250);
    const DiagramCaption& caption = *d.entities[0].caption;
    EXPECT_EQ(caption.text, "a\nb");
    EXPECT_EQ(caption.shape.top, 4);
    EXPECT_EQ(caption.font->Size(), 12);
    EXPECT_EQ(caption.font->Name(), "Arial");
    EXPECT_TRUE(caption.autosize);
    const DiagramRelationship& r = d.relationships[0];
    EXPECT_EQ(r.start_perc + r.end_perc + r.line_width, 103);
    EXPECT_EQ(r.line_colour, -1);
    EXPECT_FALSE(r.caption->autosize);

    const Diagram old = load_diagram(KZR40_SOURCE_DIR "/examples/vendas.json");
    const DiagramRelationship& o = old.relationships[0];
    EXPECT_EQ(old.escala, 100);
    EXPECT_FALSE(old.entities[0].caption || o.caption);
    EXPECT_EQ(std::tuple(o.start_perc, o.end_perc, o.line_width, o.line_colour), std::tuple(50, 50, 1, clBlack));
    EXPECT_TRUE(old.texts[0].autosize);
}

// Large diagrams are read by two threads: the result keeps file order, and of several bad entities the
// first in the file is reported.
TEST(Diagram, LargeDiagramsKeepOrderAndReportTheFirstProblem) {
    auto diagrama = [](int entidades, const std::vector<int>& ruins) {
        std::string json = "{\"entities\": [";
        for (int i = 1; i <= entidades; ++i) {
            const bool ruim = std::find(ruins.begin(), ruins.end(), i) != ruins.end();
            json += (i > 1 ? "," : "") + std::string("{\"entidade\": \"E") + std::to_string(i) + "\", \"tabela\": \"T" +
                    std::to_string(i) + "\", \"atributos\": [{\"nome\": \"A\", \"tipo\": " + (ruim ? "-3" : "3") + "}]}";
        }
        return json + "]}";
    };
    const Diagram d = parse_diagram(diagrama(1500, {}), "big.json");
    ASSERT_EQ(d.entities.size(), 1500u);
    for (std::size_t i : {0u, 749u, 750u, 1499u}) EXPECT_EQ(d.entities[i].entity->entidade().view(), "E" + std::to_string(i + 1));

    const std::pair<std::vector<int>, const char*> casos[] = {
        {{1200}, "entity \"E1200\" (#1200)"}, {{1400, 9}, "entity \"E9\" (#9)"}, {{751, 1499}, "entity \"E751\" (#751)"}};
    for (const auto& [ruins, esperado] : casos) {
        try {
            parse_diagram(diagrama(1500, ruins), "big.json");
            ADD_FAILURE();
        } catch (const DiagramError& e) {
            EXPECT_NE(std::string(e.what()).find(esperado), std::string::npos) << e.what();
        }
    }
}

// The entity has the most keys of any object: all of them read, and one more is refused by name.
TEST(Diagram, AnEntityWithEveryKeyReadsAndOneMoreIsRefused) {
    const std::string todas = R"("entidade": "E", "tabela": "T", "Tituloform": "F", "Tipoform": 1, "Alturaform": 1,
        "Larguraform": 2, "Menu": "M", "Primaria": 4, "Modo": 1, "descricao": ["d"], "FonteTitulo": {},
        "FonteAtributos": {}, "FonteExtrangeiras": {}, "shape": {}, "caption": {"text": ""}, "atributos": [], "ChavesSecundarias": [])";
    const Diagram d = parse_diagram("{\"entities\": [{" + todas + "}]}", "f.json");
    EXPECT_EQ(d.entities[0].entity->Larguraform(), 2);
    EXPECT_EQ(d.entities[0].entity->Menu(), "M");
    try {
        parse_diagram("{\"entities\": [{" + todas + ", \"z\": 1}]}", "f.json");
        ADD_FAILURE();
    } catch (const DiagramError& e) {
        EXPECT_STREQ(e.what(), "f.json: entity \"E\" (#1): the entity has an unknown key \"z\"");
    }
}

// A byte-order mark is skipped; a file over the size limit is refused before it is read whole, also
// when it is not a regular file and never ends.
TEST(Diagram, ByteOrderMarkAndSizeLimit) {
    EXPECT_EQ(parse_diagram("\xEF\xBB\xBF{\"entities\": []}", "bom.json").entities.size(), 0u);
    const std::string grande = ::testing::TempDir() + "kzr40-grande.json";
    {
        std::ofstream arquivo(grande, std::ios::binary);
        arquivo.seekp(static_cast<std::streamoff>(kMaxDiagramBytes));
        arquivo.put(' ');  // sparse: one byte past the limit
    }
    for (const std::string& arquivo : {grande, std::string("/dev/zero")}) {
        try {
            load_diagram(arquivo);
            ADD_FAILURE() << arquivo;
        } catch (const DiagramError& e) {
            EXPECT_EQ(std::string(e.what()), arquivo + ": is larger than 256 MiB, the most a diagram file may hold");
        }
    }
    std::remove(grande.c_str());
}

// A pipe has no size to read by: it is read in pieces, and the diagram is the same as from the file.
TEST(Diagram, APipeReadsAsTheFile) {
    const std::string exemplo = KZR40_SOURCE_DIR "/examples/vendas.json";
    const std::string fifo = ::testing::TempDir() + "kzr40-diagram-pipe-" + std::to_string(::getpid());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto escritor = std::async(std::launch::async, [&] {
        std::ofstream(fifo, std::ios::binary) << test_support::read_file(exemplo);
    });
    const Diagram pelo_pipe = load_diagram(fifo);
    escritor.get();
    std::remove(fifo.c_str());
    const Diagram pelo_arquivo = load_diagram(exemplo);
    ASSERT_EQ(pelo_pipe.entities.size(), pelo_arquivo.entities.size());
    for (std::size_t i = 0; i < pelo_arquivo.entities.size(); ++i) {
        EXPECT_EQ(pelo_pipe.entities[i].entity->tabela().view(), pelo_arquivo.entities[i].entity->tabela().view());
        EXPECT_EQ(pelo_pipe.entities[i].entity->atributos().Count(), pelo_arquivo.entities[i].entity->atributos().Count());
    }
    EXPECT_EQ(pelo_pipe.project, pelo_arquivo.project);
}

TEST(Diagram, UnreadableFilesAreNamed) {
    EXPECT_THROW(
        {
            try {
                load_diagram("/nonexistent/d.json");
            } catch (const DiagramError& e) {
                EXPECT_STREQ(e.what(), "/nonexistent/d.json: cannot open: No such file or directory");
                throw;
            }
        },
        DiagramError);
    EXPECT_THROW(load_diagram(KZR40_SOURCE_DIR "/examples"), DiagramError);
}

TEST(Cp1252, ConvertsEveryDefinedCharacterBothWays) {
    std::string todos;
    for (int b = 0x20; b <= 0xFF; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) todos += static_cast<char>(b);
    const std::string utf8 = cp1252_to_utf8(todos);
    EXPECT_NE(utf8.find("\xE2\x82\xAC"), std::string::npos);  // 0x80 is the euro sign
    EXPECT_EQ(utf8_to_cp1252(utf8), todos);
    EXPECT_EQ(utf8_to_cp1252("Pre\xC3\xA7o"), "Pre\xE7o");
    EXPECT_EQ(cp1252_to_utf8("a\x81z"), "a\xEF\xBF\xBDz");
    try {
        utf8_to_cp1252("x\xE2\x82\xB9");  // the rupee sign
        ADD_FAILURE();
    } catch (const UnmappableCharacter& c) {
        EXPECT_EQ(c.code_point(), 0x20B9u);
        EXPECT_EQ(describe_character(c), "U+20B9 '\xE2\x82\xB9'");
    }
    EXPECT_THROW(utf8_to_cp1252("bad \xC3"), std::runtime_error);
}

}  // namespace
