// Stored diagrams: everything a JSON diagram holds survives both stored forms; damaged or foreign
// streams are errors that name the file and the object, never crashes.

#include "diagram/stored_diagram.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "diagram/json_writer.h"
#include "plugin/registros.h"
#include "tests/support/run_host.h"
#include "tests/support/random_diagram.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;

namespace {

using test_support::fields;

std::string example(const char* name) { return std::string(KZR40_SOURCE_DIR "/examples/") + name; }

// The error a stored diagram gives when read, or "no error".
std::string error_of(std::string_view content) {
    try {
        parse_stored_diagram(content, "d.kzd");
    } catch (const DiagramError& e) {
        return e.what();
    }
    return "no error";
}

TEST(StoredDiagram, ExamplesAndRandomDiagramsRoundTripThroughBothForms) {
    const auto check = [](const Diagram& d, const std::string& what) {
        const std::string bytes = stored_diagram_bytes(d, "d.kzd");
        const std::string text = stored_diagram_text(d, "d.txt");
        const Diagram from_bytes = parse_stored_diagram(bytes, "d.kzd");
        const Diagram from_text = parse_diagram(text, "d.txt");
        EXPECT_EQ(fields(from_bytes), fields(d)) << what;
        EXPECT_EQ(fields(from_text), fields(d)) << what << "\n" << text;
        EXPECT_EQ(diagram_to_json(from_bytes, "d.json"), diagram_to_json(d, "d.json")) << what;
        EXPECT_EQ(stored_diagram_bytes(from_bytes, "d.kzd"), bytes) << what;  // reproducible
    };
    for (const char* name : {"cliente.json", "vendas.json"}) check(load_diagram(example(name)), name);
    for (unsigned seed = 1; seed <= 150; ++seed) {
        Diagram d = test_support::RandomDiagram(seed).make();
        for (std::size_t i = 0; i < d.relationships.size(); ++i) d.relationships[i].name = "R" + std::to_string(i);
        check(d, "seed " + std::to_string(seed));
        if (HasFailure()) break;
    }
}

TEST(StoredDiagram, EveryLoaderTellsTheFormsApartByContent) {
    EXPECT_EQ(diagram_file_kind("TPF0\x10TDiagramDocument"), DiagramFileKind::StoredBinary);
    EXPECT_EQ(diagram_file_kind(std::string("\xFF\x0A\x00", 3)), DiagramFileKind::StoredBinary);
    EXPECT_EQ(diagram_file_kind("\xEF\xBB\xBF\r\n  OBJECT D: TDiagramDocument"), DiagramFileKind::StoredText);
    EXPECT_EQ(diagram_file_kind("objects"), DiagramFileKind::Json);
    EXPECT_EQ(diagram_file_kind(" {\"entities\": []}"), DiagramFileKind::Json);

    // load_diagram, which every command uses, reads all three forms of the same diagram alike.
    const fs::path dir = fs::temp_directory_path() / ("kzr40-stored-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const Diagram vendas = load_diagram(example("vendas.json"));
    std::ofstream(dir / "v.kzd", std::ios::binary) << stored_diagram_bytes(vendas, "v.kzd");
    std::ofstream(dir / "v.txt", std::ios::binary) << stored_diagram_text(vendas, "v.txt");
    EXPECT_EQ(fields(load_diagram(dir / "v.kzd")), fields(vendas));
    EXPECT_EQ(fields(load_diagram(dir / "v.txt")), fields(vendas));
    fs::remove_all(dir);
}

TEST(StoredDiagram, DamagedOrForeignStreamsAreErrorsNamingFileAndObject) {
    const Diagram cliente = load_diagram(example("cliente.json"));
    const std::string bytes = stored_diagram_bytes(cliente, "c.kzd");
    // Every truncation of the binary form is refused (and, under the sanitizers, without a fault).
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const std::string e = error_of(bytes.substr(0, n));
        ASSERT_EQ(e.rfind("d.kzd: ", 0), 0u) << n << ": " << e;
    }
    const std::string text = stored_diagram_text(cliente, "c.txt", true);
    const auto changed = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const std::size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return error_of(t.replace(at, from.size(), to));
    };
    EXPECT_NE(changed("object Entidade1: TEntidade", "object Entidade1: TMisterio").find("TMisterio"), std::string::npos);
    EXPECT_NE(changed("    tabela = ", "    tabelas = ").find("Entidade1.tabelas"), std::string::npos);
    EXPECT_NE(changed("        tipo = 3\n", "        tipo = 'x'\n").find("Entidade1.AttributeRecords[0].tipo"),
              std::string::npos);
    EXPECT_NE(changed("    atributos.Strings = (\n      'CODIGO'\n", "    atributos.Strings = (\n").find("Entidade1.atributos"),
              std::string::npos);
    EXPECT_NE(changed("        tipo = 3\n", "        tipo = 99\n").find("tipo"), std::string::npos);  // JSON's checks
    EXPECT_NE(changed("object Diagrama: TDiagramDocument", "object Diagrama: TDiagramSurface").find("not a stored diagram"),
              std::string::npos);
    EXPECT_NE(changed("object Entidade1: TEntidade", "object Entidade1: TnoxSizeableShape\n    Escala = 100\n  end\n"
                                                     "  object Entidade9: TEntidade")
                  .find("Entidade1: a stored diagram holds entities"),
              std::string::npos);
    EXPECT_NE(changed("    Escala = 100\n", "    Escala = 150\n").find("Entidade1.Escala"), std::string::npos);
    EXPECT_NE(changed("  nome_projeto", "  Escala = 5\n  nome_projeto").find("Diagrama.Escala"), std::string::npos);
}

TEST(StoredDiagram, RelationshipsAndCaptionsMustFitTheStreamsRules) {
    const Diagram vendas = load_diagram(example("vendas.json"));
    const std::string text = stored_diagram_text(vendas, "v.txt", true);
    const auto changed = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        return error_of(t.replace(t.find(from), from.size(), to));
    };
    EXPECT_NE(changed("    EndConn.Shape = Entidade3\n", "    EndConn.Shape = Texto1\n").find("Cliente_Pedido.EndConn.Shape"),
              std::string::npos);
    EXPECT_NE(changed("  object Texto1: Ttexto", "  object Legenda9: tnoxCaption\n    Escala = 100\n  end\n  object Texto1: Ttexto")
                  .find("Legenda9: a caption that no entity"),
              std::string::npos);
    // Within the ranges the JSON form allows, so that zoomed coordinates stay within 32 bits.
    EXPECT_NE(changed("    Left = 40\n", "    Left = 2147483000\n").find("Entidade1.Left: must lie between -10000000 and 10000000 (got 2147483000)"),
              std::string::npos);
    EXPECT_NE(changed("    EndConn.perc = 50\n", "    EndConn.perc = 101\n").find("EndConn.perc: must lie between 0 and 100 (got 101)"),
              std::string::npos);
    EXPECT_NE(changed("    EndConn.perc = 50\n", "    EndConn.perc = 50\n    meioperc = 101\n").find("meioperc: must lie between 0 and 100 (got 101)"),
              std::string::npos);
    EXPECT_NE(changed("    EndConn.perc = 50\n", "    EndConn.perc = 50\n    LineWidth = 0\n").find("LineWidth: must lie between 1 and 100 (got 0)"),
              std::string::npos);
    EXPECT_NE(changed("    Relacao = tr1xn\n", "    Relacao = tr9x9\n").find("Cliente_Pedido.Relacao"), std::string::npos);
    EXPECT_NE(changed("    Chave = tckey\n", "    Chave = tcnada\n").find("Chave (tcnada)"), std::string::npos);

    Diagram renamed = load_diagram(example("vendas.json"));
    renamed.relationships[1].name = "Pedido itens";
    EXPECT_THROW(stored_diagram_bytes(renamed, "v.kzd"), DiagramError);
    renamed.relationships[1].name = "CLIENTE_pedido";  // names compare without regard to case
    try {
        stored_diagram_bytes(renamed, "v.kzd");
        ADD_FAILURE() << "no error";
    } catch (const DiagramError& e) {
        EXPECT_NE(std::string(e.what()).find("v.kzd: relationship \"CLIENTE_pedido\" (#2)"), std::string::npos) << e.what();
    }
    Diagram far = load_diagram(example("vendas.json"));
    far.texts[0].shape.left = -10'000'001;
    try {
        stored_diagram_bytes(far, "v.kzd");
        ADD_FAILURE() << "no error";
    } catch (const DiagramError& e) {
        EXPECT_STREQ(e.what(), "v.kzd: text #1: \"shape.left\" must lie between -10000000 and 10000000 (-10000001)");
    }
}

// The sales example with captions on its first two entities (Legenda1, Legenda2) and its first
// relationship (Legenda3), as stored text with LF line ends; `edit` replaces `from` by `to` in it.
struct CaptionedVendas {
    std::string text;
    CaptionedVendas() {
        Diagram d = load_diagram(example("vendas.json"));
        for (std::optional<DiagramCaption>* c : {&d.entities[0].caption, &d.entities[1].caption, &d.relationships[0].caption}) {
            c->emplace();
            (*c)->text = "legenda";
        }
        text = stored_diagram_text(d, "v.txt", true);
    }
    std::string edit(const std::string& from, const std::string& to) const {
        std::string t = text;
        const std::size_t at = t.find(from);
        if (at == std::string::npos) return "anchor not found: " + from;
        return error_of(t.replace(at, from.size(), to));
    }
};

TEST(StoredDiagram, CaptionRingsAndMisplacedCaptionsAreRefusedBeforeTheShapesRecurse) {
    const CaptionedVendas v;
    EXPECT_EQ(v.edit("", ""), "no error");
    const std::string l1 = "  object Legenda1: tnoxCaption\n", l2 = "  object Legenda2: tnoxCaption\n",
                      l3 = "  object Legenda3: tnoxCaption\n";
    // Two captions that caption each other recursed until the stack overflowed.
    std::string ring = v.text;
    ring.replace(ring.find(l1), l1.size(), l1 + "    Caption = Legenda2\n");
    ring.replace(ring.find(l2), l2.size(), l2 + "    Caption = Legenda1\n");
    EXPECT_EQ(error_of(ring), "d.kzd: Legenda1.Caption: Legenda1 and Legenda2 caption each other (only an entity or a "
                              "relationship has a caption)");
    ring.replace(ring.find(l3), l3.size(), l3 + "    Caption = LEGENDA1\n");  // names compare without regard to case
    ring.replace(ring.find(l2 + "    Caption = Legenda1\n"), l2.size() + 23, l2 + "    Caption = Legenda3\n");
    EXPECT_EQ(error_of(ring), "d.kzd: Legenda1.Caption: captions form a ring: Legenda1 captions Legenda2, Legenda2 "
                              "captions Legenda3 and Legenda3 captions Legenda1 (only an entity or a relationship has a caption)");
    EXPECT_NE(v.edit(l1, l1 + "    Caption = Legenda1\n").find("Legenda1.Caption: Legenda1 captions itself"), std::string::npos);
    // A caption given to a free text or a caption was dropped while its own shape kept it.
    EXPECT_NE(v.edit("  object Texto1: Ttexto\n", "  object Texto1: Ttexto\n    Caption = Legenda1\n")
                  .find("Texto1.Caption: a free text has no caption"),
              std::string::npos);
    EXPECT_NE(v.edit(l1, l1 + "    Caption = Legenda3\n").find("Legenda1.Caption: a caption has no caption of its own"),
              std::string::npos);
    // A relationship's end names which end.
    EXPECT_EQ(v.edit("    EndConn.Shape = Entidade3\n", "    EndConn.Shape = Nada\n"),
              "d.kzd: Cliente_Pedido.EndConn.Shape: must name an entity of the diagram (Nada is no object of the stream)");
    EXPECT_NE(v.edit("    StartConn.Shape = Entidade1\n", "    StartConn.Shape = Legenda2\n")
                  .find("Cliente_Pedido.StartConn.Shape: must name an entity of the diagram (Legenda2 is a tnoxCaption)"),
              std::string::npos);
}

TEST(StoredDiagram, WhatADiagramDoesNotHoldIsRefusedInsteadOfDropped) {
    const CaptionedVendas v;
    const std::string entity = "    tabela = 'CLIENTE'\n";
    struct Case {
        std::string anchor, inserted;  // `inserted` goes right after `anchor`
        const char* expected;
    };
    const Case refused[] = {
        {entity, "    Tag = 999\n", "Entidade1.Tag: is not part of a diagram and would be lost: leave it out (got 999)"},
        {entity, "    Hint = 'dica'\n", "Entidade1.Hint: is not part of a diagram"},
        {entity, "    Cursor = crHandPoint\n", "Entidade1.Cursor: is not part of a diagram"},
        {entity, "    OnClick = Entidade1Click\n", "Entidade1.OnClick: a diagram binds no events"},
        {"    Relacao = tr1xn\n", "    ondelete = Apaga\n", "Cliente_Pedido.ondelete: a diagram binds no events"},
        {"  object Texto1: Ttexto\n", "    Hint = 'x'\n", "Texto1.Hint: is not part of a diagram"},
        {"  object Legenda1: tnoxCaption\n    Tag = 99", "5", "Legenda1.Tag: a caption's tag is 999, which the shape it "
                                                             "captions gives it; another value would be lost (got 9959)"},
        {"object Diagrama: TDiagramDocument\n", "  Color = clRed\n", "Diagrama.Color: is not part of a diagram"},
        // A description line that the plug-in would cut at the NUL.
        {"    descricao.Strings = (\n", "      'cortada'#0'aqui'\n", "\"descricao\" holds the control character U+0000"},
    };
    for (const Case& c : refused) {
        const std::string e = v.edit(c.anchor, c.anchor + c.inserted);
        EXPECT_NE(e.find(c.expected), std::string::npos) << c.inserted << " -> " << e;
    }
    // Zero is what every component starts with: nothing is lost, and the stream reads as before.
    EXPECT_EQ(v.edit(entity, entity + "    Tag = 0\n    Cursor = crDefault\n    Hint = ''\n"), "no error");
}

// The entity's stored form carries the records' reserved fields (the host modeller's): a stored
// diagram keeps them, and the JSON form, which has no place for them, refuses them.
TEST(StoredDiagram, ReservedRecordFieldsSurviveStoredDiagramsAndAreRefusedByJson) {
    Diagram d = load_diagram(example("vendas.json"));
    auto& attribute = *static_cast<TAtributo*>(d.entities[0].entity->atributos().Objects(0));
    attribute.reservado_12 = 5;
    attribute.reservado_36[11] = 1;
    attribute.reservado_56 = -1;
    static_cast<TChaveSecundaria*>(d.entities[0].entity->ChavesSecundarias().Objects(1))->reservado_8 = 8;
    const std::string text = stored_diagram_text(d, "d.txt", true);
    ASSERT_NE(text.find("reservado_36 = {"), std::string::npos);
    const Diagram back = parse_stored_diagram(text, "d.txt");
    EXPECT_EQ(stored_diagram_text(back, "d.txt", true), text);
    const std::string bytes = stored_diagram_bytes(d, "d.kzd");
    EXPECT_EQ(stored_diagram_bytes(parse_stored_diagram(bytes, "d.kzd"), "d.kzd"), bytes);
    try {
        diagram_to_json(back, "d.json");
        ADD_FAILURE() << "no error";
    } catch (const DiagramError& e) {
        EXPECT_STREQ(e.what(), "d.json: entity \"Cliente\" (#1), attribute \"CODIGO\" (#1): \"reservado_12\" is a reserved "
                               "field that holds 5, which only a stored diagram keeps: write the diagram with kzr40 store, "
                               "or set the field to 0 in the stored diagram");
    }
    attribute.reservado_12 = 0;
    attribute.reservado_56 = 0;
    EXPECT_THROW(diagram_to_json(d, "d.json"), DiagramError);  // reservado_36
    attribute.reservado_36[11] = 0;
    try {
        diagram_to_json(d, "d.json");
        ADD_FAILURE() << "no error";
    } catch (const DiagramError& e) {
        EXPECT_NE(std::string(e.what()).find("secondary key \"IDX_CLIENTE_CPF\" (#2): \"reservado_8\" is a reserved"),
                  std::string::npos) << e.what();
    }
}

TEST(StoredDiagram, ValuesTheJsonFormRefusesAreRefusedWithItsWords) {
    const CaptionedVendas v;
    const std::string entity = "    Alturaform = 300\n";
    EXPECT_EQ(v.edit(entity, entity + "    Tipoform = 3\n"), "d.kzd: Entidade1.Tipoform: must lie between 0 and 2 (got 3)");
    EXPECT_EQ(v.edit(entity, entity + "    Tipoform = -1\n"), "d.kzd: Entidade1.Tipoform: must not be negative (got -1)");
    EXPECT_EQ(v.edit("    FonteTitulo.Charset = DEFAULT_CHARSET\n", "    FonteTitulo.Charset = 300\n"),
              "d.kzd: Entidade1.FonteTitulo.Charset: must lie between 0 and 255 (got 300)");
    EXPECT_EQ(v.edit("    Relacao = tr1xn\n", "    Relacao = tr1xn\n    LineColour = 4294967296\n"),
              "d.kzd: Cliente_Pedido.LineColour: must lie between -2147483648 and 4294967295 (got 4294967296)");
    EXPECT_NE(v.edit("    Font.Color = clWindowText\n", "    Font.Color = -2147483649\n").find("Legenda1.Font.Color: must lie"),
              std::string::npos);
    EXPECT_EQ(v.edit("    Width = 320\n", "    Width = 4294967296\n"),
              "d.kzd: Cliente_Pedido.Width: must lie between -2147483648 and 2147483647 (got 4294967296)");
    EXPECT_EQ(v.edit("  nome_projeto", "  Escala = 5\n  nome_projeto"), "d.kzd: Diagrama.Escala: must lie between 10 and 1000 (got 5)");
    // The JSON form words the problem alike.
    std::string json = test_support::read_file(example("vendas.json"));
    json.replace(json.find("\"Relacao\": \"tr1xn\""), 18, "\"Relacao\": \"tr1xn\", \"LineColour\": 4294967296");
    try {
        parse_diagram(json, "d.json");
        ADD_FAILURE() << "no error";
    } catch (const DiagramError& e) {
        EXPECT_NE(std::string(e.what()).find("\"LineColour\" must lie between -2147483648 and 4294967295 (got 4294967296)"),
                  std::string::npos)
            << e.what();
    }
}

TEST(StoredDiagram, ObjectsAreNamedOnceAndEveryIdentifierNamesARelationship) {
    const CaptionedVendas v;
    // A Name property renamed the object halfway: the reader then found another object by the name.
    EXPECT_EQ(v.edit("  object Texto1: Ttexto\n", "  object Texto1: Ttexto\n    Name = 'Legenda1'\n"),
              "d.kzd: Texto1.Name: an object is named by its header (object Texto1: Ttexto), not by a Name property, "
              "which would rename it halfway through the stream");
    EXPECT_NE(v.edit("    Escala = 100\n", "    Escala = 100\n    Name = 'Entidade9'\n").find("Entidade1.Name: "),
              std::string::npos);
    // So is each property: the second value would pass unchecked (the layout setter ignores 3).
    EXPECT_EQ(v.edit("    Alturaform = 300\n", "    Alturaform = 300\n    Tipoform = 1\n    Tipoform = 3\n"),
              "d.kzd: Entidade1.Tipoform: is given twice: an object gives each property once");
    // Of several given twice, the first repeated in the stream is named, whatever the names' order.
    EXPECT_EQ(v.edit("    Alturaform = 300\n", "    Alturaform = 300\n    Tipoform = 1\n    tipoform = 1\n    ALTURAFORM = 300\n"),
              "d.kzd: Entidade1.tipoform: is given twice: an object gives each property once");
    EXPECT_NE(v.edit("        nome = 'CODIGO'\n", "        nome = 'CODIGO'\n        NOME = 'X'\n")
                  .find("Entidade1.AttributeRecords[0].NOME: is given twice"),
              std::string::npos);

    // A relationship may take the document's usual name: the document then takes another.
    Diagram d = load_diagram(example("vendas.json"));
    d.relationships[0].name = "diagrama";
    const std::string bytes = stored_diagram_bytes(d, "d.kzd");
    EXPECT_EQ(fields(parse_stored_diagram(bytes, "d.kzd")), fields(d));
    EXPECT_NE(stored_diagram_text(d, "d.txt").find("object Diagrama1: TDiagramDocument"), std::string::npos);

    // A name that is no identifier: the message says the rule and what else must change.
    d.relationships[0].name = "Ger\xEAncia";
    static_cast<TAtributo*>(d.entities[2].entity->atributos().Objects(2))->origem = "Ger\xEAncia";
    try {
        stored_diagram_bytes(d, "d.kzd");
        ADD_FAILURE() << "no error";
    } catch (const DiagramError& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("relationship \"Gerência\" (#1): a stored diagram names a relationship by its own name"),
                  std::string::npos) << m;
        EXPECT_NE(m.find("an ASCII letter or _, then ASCII letters, digits and _"), std::string::npos) << m;
        EXPECT_NE(m.find("\"origem\" of its foreign keys too (Pedido.CLIENTE)"), std::string::npos) << m;
    }
}

TEST(StoredDiagramCommands, StoreAndConvertRoundTripAndFailWithoutOutput) {
    const fs::path dir = fs::temp_directory_path() / ("kzr40-store-cmd-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string stored = (dir / "v.kzd").string(), text = (dir / "v.txt").string(), json = (dir / "v.json").string();
    ASSERT_EQ(run_host({"store", example("vendas.json"), "-o", stored}).status, 0);
    ASSERT_EQ(run_host({"store", stored, "--text", "-o", text}).status, 0);
    EXPECT_EQ(test_support::read_file(text).rfind("object Diagrama: TDiagramDocument\r\n", 0), 0u);
    ASSERT_EQ(run_host({"convert", text, "-o", json}).status, 0);
    EXPECT_EQ(test_support::read_file(json), diagram_to_json(load_diagram(example("vendas.json")), json));
    // A command that reads diagrams takes the stored form too. The script's banner carries the time,
    // so both runs are pinned to one instant.
    ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    EXPECT_EQ(run_host({"sql", stored}).out, run_host({"sql", example("vendas.json")}).out);
    ::unsetenv("SOURCE_DATE_EPOCH");

    std::ofstream(dir / "bad.kzd", std::ios::binary) << test_support::read_file(stored).substr(0, 200);
    const HostRun bad = run_host({"store", (dir / "bad.kzd").string(), "-o", (dir / "out.kzd").string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("bad.kzd: "), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(dir / "out.kzd"));
    fs::remove_all(dir);
}

}  // namespace
