// The command line as people type it, through the built program: standard input as the diagram, the
// form a diagram is written back in, and messages that name what to act on.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "diagram/diagram.h"
#include "diagram/stored_diagram.h"
#include "platform/utf8_cp1252.h"
#include "tests/appgen/form_fixture.h"
#include "tests/support/read_file.h"
#include "tests/support/run_host.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;

const std::string kVendas = KZR40_SOURCE_DIR "/examples/vendas.json";
const std::string kCliente = KZR40_SOURCE_DIR "/examples/cliente.json";

fs::path write(const fs::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1); }
    fixture::ScratchDir dir;
};

// "-" reads the diagram from standard input, in any of its forms, for every command that reads one;
// what goes wrong is said of "standard input".
TEST_F(CommandLine, DashReadsTheDiagramFromStandardInput) {
    const std::string json = read_file(kVendas);
    const fs::path stored = dir.path() / "v.kzd";
    ASSERT_EQ(run_host({"store", kVendas, "-o", stored.string()}).status, 0);
    const std::string binary = read_file(stored);
    ASSERT_EQ(diagram_file_kind(binary), DiagramFileKind::StoredBinary);

    const std::vector<std::vector<std::string>> commands = {
        {"sql"}, {"sql", "--dialect", "postgresql"}, {"unit"}, {"tables"}, {"convert"}, {"store", "--text"}, {"layout"}};
    for (const auto& command : commands) {
        for (const std::string& file : {kVendas, stored.string()}) {
            std::vector<std::string> from_file = command, from_input = command;
            from_file.insert(from_file.begin() + 1, file);
            from_input.insert(from_input.begin() + 1, "-");
            const HostRun expected = run_host(from_file);
            ASSERT_EQ(expected.status, 0) << command[0] << ": " << expected.err;
            const HostRun run = run_host(from_input, read_file(file));
            EXPECT_EQ(run.status, 0) << command[0] << ": " << run.err;
            EXPECT_EQ(run.out, expected.out) << command[0] << " " << file;
        }
    }
    const fs::path picture = dir.path() / "v.svg";
    ASSERT_EQ(run_host({"draw", "-", "-o", picture.string()}, binary).status, 0);
    ASSERT_EQ(run_host({"draw", kVendas, "-o", (dir.path() / "f.svg").string()}).status, 0);
    EXPECT_EQ(read_file(picture), read_file(dir.path() / "f.svg"));
    const HostRun generated = run_host({"generate", "-", "--dir", (dir.path() / "app").string()}, json);
    EXPECT_EQ(generated.status, 0) << generated.err;
    EXPECT_TRUE(fs::exists(dir.path() / "app" / "Vendas.DPR"));

    const HostRun checked = run_host({"check", "-"}, json);
    EXPECT_TRUE(checked.out.ends_with("\nstandard input: 2 warnings\n")) << checked.out;
    const HostRun dialect = run_host({"sql", "-", "--dialect", "sqlite"},
                                     R"({"entities": [{"entidade": "A", "tabela": "A", "atributos": [{"nome": "X", "tipo": "Integer"}]}]})");
    EXPECT_TRUE(has(dialect.err, "kzr40: warning: standard input: entity")) << dialect.err;
    const HostRun broken = run_host({"sql", "-"}, "{\"entities\": [{\"entidade\": 1}]}");
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.starts_with("kzr40: error: standard input: ")) << broken.err;
    const HostRun edit = run_host({"edit", "-"}, json);
    EXPECT_EQ(edit.status, 2);
    EXPECT_TRUE(has(edit.err, "standard input cannot be edited")) << edit.err;

    // The form-file converters take "-" both ways; -o - is standard output, never a file named "-".
    const std::string form = read_file(dir.path() / "app" / "Princ.dfm");
    const HostRun text = run_host({"dfm2txt", "-", "-o", "-"}, form);
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_TRUE(text.out.starts_with("object ")) << text.out.substr(0, 40);
    const HostRun back = run_host({"txt2dfm", "-"}, text.out);
    EXPECT_EQ(back.out, form);
    EXPECT_FALSE(fs::exists("-"));
    EXPECT_TRUE(has(run_host({"sql", "--help"}).out, "- reads standard input"));
}

// layout writes the diagram back in the form it was read in, as the editor saves it, unless the
// output's name ends in .json.
TEST_F(CommandLine, LayoutWritesBackInTheFormItRead) {
    const fs::path binary = dir.path() / "v.kzd", crlf = dir.path() / "crlf.txt", lf = dir.path() / "lf.txt";
    ASSERT_EQ(run_host({"store", kVendas, "-o", binary.string()}).status, 0);
    ASSERT_EQ(run_host({"store", kVendas, "--text", "-o", crlf.string()}).status, 0);
    ASSERT_EQ(run_host({"store", kVendas, "--text", "--lf", "-o", lf.string()}).status, 0);
    const std::string laid_out_json = run_host({"layout", kVendas}).out;
    const Diagram expected = parse_diagram(laid_out_json, "expected");

    for (const fs::path& file : {binary, crlf, lf}) {
        const DiagramFileKind kind = diagram_file_kind(read_file(file));
        const bool had_lf = read_file(file).find("\r\n") == std::string::npos;
        const HostRun run = run_host({"layout", file.string(), "-o", file.string()});
        ASSERT_EQ(run.status, 0) << file << ": " << run.err;
        const std::string written = read_file(file);
        EXPECT_EQ(diagram_file_kind(written), kind) << file;
        EXPECT_EQ(written.find("\r\n") == std::string::npos, had_lf) << file;
        EXPECT_EQ(parse_diagram(written, file.string()).entities[2].shape.top, expected.entities[2].shape.top) << file;
        EXPECT_EQ(run_host({"layout", file.string()}).out, written) << file << ": standard output alike";
    }
    const fs::path named_json = dir.path() / "v.JSON";
    ASSERT_EQ(run_host({"layout", binary.string(), "-o", named_json.string()}).status, 0);
    EXPECT_EQ(read_file(named_json), laid_out_json);
    EXPECT_TRUE(has(run_host({"layout", "--help"}).out, "keeps the form it was read"));
}

// Messages name the file to act on: the input, whatever the output; once, without repeating the
// place; and a zoom that is no number is said to be none.
TEST_F(CommandLine, MessagesNameTheInputAndSayWhatIsWrong) {
    // Laid out, six boxes this large reach beyond the coordinates a diagram may hold, in rows or in
    // columns alike.
    std::string wide = R"({"version": 2, "entities": [)";
    for (int i = 0; i < 6; ++i)
        wide += std::string(i ? "," : "") + R"({"entidade": "E)" + std::to_string(i) + R"(", "tabela": "T)" +
                std::to_string(i) + R"(", "shape": {"width": 9000000, "height": 9000000}})";
    const fs::path too_wide = write(dir.path() / "wide.json", wide + "]}");
    for (const std::vector<std::string>& output : {std::vector<std::string>{}, {"-o", "-"}, {"-o", "out.json"}}) {
        std::vector<std::string> arguments = {"layout", too_wide.string()};
        arguments.insert(arguments.end(), output.begin(), output.end());
        const HostRun run = run_host(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.starts_with("kzr40: error: " + too_wide.string() + ": entity \"E2\" (#3): \"shape.left\""))
            << run.err;
        EXPECT_TRUE(has(run.err, "once laid out")) << run.err;
    }

    const fs::path spaced = write(dir.path() / "spaced.json", R"({"entities": [{"entidade": "A", "tabela": "A"}],
        "relationships": [{"name": "a b", "from": "A", "to": "A"}]})");
    const fs::path out = dir.path() / "out.kzd";
    for (const std::string& to : {out.string(), std::string("-")}) {
        const HostRun run = run_host({"store", spaced.string(), "-o", to});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.starts_with("kzr40: error: " + spaced.string() + ": relationship \"a b\"")) << run.err;
    }
    EXPECT_FALSE(fs::exists(out));

    const fs::path fonts = write(dir.path() / "fonts.json", R"({"entities": [{"entidade": "A", "tabela": "A",
        "FonteTitulo": {"name": "Tahoma"}}]})");
    const HostRun edit = run_host({"edit", fonts.string()});
    EXPECT_EQ(edit.status, 1);
    EXPECT_TRUE(edit.err.starts_with("kzr40: error: " + fonts.string() + ": entity \"A\" (#1): \"FonteTitulo\": font"))
        << edit.err;

    // A property of a collection item: its place is said once.
    const fs::path text = dir.path() / "c.txt";
    ASSERT_EQ(run_host({"store", kCliente, "--text", "--lf", "-o", text.string()}).status, 0);
    std::string stored = read_file(text);
    stored.replace(stored.find("tipo = 3"), 8, "tipo = 'x'");
    write(text, stored);
    const HostRun collection = run_host({"sql", text.string()});
    EXPECT_EQ(collection.status, 1);
    EXPECT_EQ(collection.err, "kzr40: error: " + text.string() + ": Erro ao ler Entidade1.AttributeRecords[0].tipo: " +
                                  cp1252_to_utf8("Valor inv\xE1lido para a propriedade tipo (String)") + "\n");

    const std::string picture = (dir.path() / "p.png").string();
    const HostRun word = run_host({"draw", kVendas, "-o", picture, "--zoom", "abc"});
    EXPECT_EQ(word.status, 2);
    EXPECT_TRUE(has(word.err, "--zoom: \"abc\" is not a whole number")) << word.err;
    const HostRun small = run_host({"draw", kVendas, "-o", picture, "--zoom", "5"});
    EXPECT_EQ(small.status, 2);
    EXPECT_TRUE(has(small.err, "not in range 10 to 1000")) << small.err;
}

// --mode takes readable names beside the files' own; --encoding utf-8 gives the listing in UTF-8 with
// its CR LF, and without it the listing stays Windows-1252.
TEST_F(CommandLine, ReadableModesAndAListingInUtf8) {
    const auto draw = [&](const std::string& mode) {
        const fs::path picture = dir.path() / (mode + ".svg");
        const HostRun run = run_host({"draw", kVendas, "-o", picture.string(), "--mode", mode});
        EXPECT_EQ(run.status, 0) << mode << ": " << run.err;
        return read_file(picture);
    };
    for (const auto& [readable, own] : {std::pair{"attributes", "tmAtributo"}, {"schema", "tmEsquema"},
                                        {"keys", "tmChave"}, {"entity", "tmEntidade"}, {"table", "tmTabela"}})
        EXPECT_EQ(draw(readable), draw(own)) << readable;
    EXPECT_NE(draw("entity"), draw("schema"));
    EXPECT_TRUE(has(run_host({"draw", "--help"}).out, "entity (tmEntidade)"));

    const fs::path accented = write(dir.path() / "a.json", R"({"project": "Ger\u00eancia", "entities": [
        {"entidade": "Pre\u00e7o", "tabela": "PRECO", "atributos": [{"nome": "VALOR", "tipo": "Integer", "key": true}]}]})");
    for (const char* command : {"sql", "unit"}) {
        const std::string plain = run_host({command, accented.string()}).out;
        ASSERT_TRUE(has(plain, "Ger\xEAncia")) << command;
        EXPECT_EQ(run_host({command, accented.string(), "--encoding", "windows-1252"}).out, plain) << command;
        const HostRun utf8 = run_host({command, accented.string(), "--encoding", "UTF-8"});
        EXPECT_EQ(utf8.status, 0) << utf8.err;
        EXPECT_EQ(utf8.out, cp1252_to_utf8(plain)) << command;
        EXPECT_TRUE(has(utf8.out, "Ger\xC3\xAAncia")) << command;
    }
    EXPECT_EQ(run_host({"sql", kVendas, "--encoding", "latin-1"}).status, 2);
    EXPECT_TRUE(has(run_host({"sql", "--help"}).out, "Windows-1252 text with CR LF"));
    EXPECT_TRUE(has(run_host({"edit", "--help"}).out, "stored diagram"));
}

}  // namespace
