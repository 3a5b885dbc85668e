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
    EXPECT_NE(changed("    Left = 40\n", "    Left = 2147483000\n").find("Entidade1.Left: must lie within -10000000..10000000"),
              std::string::npos);
    EXPECT_NE(changed("    EndConn.perc = 50\n", "    EndConn.perc = 101\n").find("EndConn.perc: must lie within 0..100"),
              std::string::npos);
    EXPECT_NE(changed("    EndConn.perc = 50\n", "    EndConn.perc = 50\n    meioperc = 101\n").find("meioperc: must lie within 0..100"),
              std::string::npos);
    EXPECT_NE(changed("    EndConn.perc = 50\n", "    EndConn.perc = 50\n    LineWidth = 0\n").find("LineWidth: must lie within 1..100"),
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
