// `kzr40 check`, and the same findings from the commands that generate, through the built program.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "diagram/diagram.h"
#include "host/schema_run.h"
#include "platform/string_list.h"
#include "tests/support/read_file.h"
#include "tests/support/run_host.h"

namespace {

namespace fs = std::filesystem;

const std::string kVendas = KZR40_SOURCE_DIR "/examples/vendas.json";
const std::string kCliente = KZR40_SOURCE_DIR "/examples/cliente.json";

std::size_t lines(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

class CheckCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
        dir = fs::temp_directory_path() / ("kzr40-check-" + std::to_string(getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        ::unsetenv("SOURCE_DATE_EPOCH");
        fs::remove_all(dir);
    }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }
    fs::path dir;
};

TEST_F(CheckCommand, WarningsPassAndStrictMakesThemErrors) {
    const HostRun warned = run_host({"check", kVendas});
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_EQ(warned.err, "");
    const std::string first = "kzr40: warning: " + kVendas + ": entity \"Produto\" (#2), attribute \"Preço\" (#3): ";
    EXPECT_EQ(warned.out.rfind(first, 0), 0u) << warned.out;
    EXPECT_EQ(lines(warned.out), 3u) << warned.out;
    EXPECT_NE(warned.out.find("\n" + kVendas + ": 2 warnings\n"), std::string::npos) << warned.out;

    const HostRun strict = run_host({"check", kVendas, "--strict"});
    EXPECT_EQ(strict.status, 1);
    EXPECT_EQ(strict.out.rfind("kzr40: error: " + kVendas + ": entity \"Produto\"", 0), 0u) << strict.out;
    EXPECT_EQ(lines(strict.out), 2u) << strict.out;
    EXPECT_EQ(strict.err, "kzr40: error: " + kVendas + ": 2 findings, which --strict makes errors\n");

    const HostRun clean = run_host({"check", kCliente, "--strict"});
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(clean.out, kCliente + ": no findings\n");

    // Reserved words count only for the dialect asked for.
    const std::string reserved = write("reserved.json", R"({"entities": [{"entidade": "Ordem", "tabela": "ORDER",
        "atributos": [{"nome": "select", "tipo": "Integer", "key": true}, {"nome": "GRUPO", "tipo": "Integer"}]}]})");
    EXPECT_EQ(run_host({"check", reserved}).out, reserved + ": no findings\n");
    const HostRun postgresql = run_host({"check", reserved, "--dialect", "postgresql"});
    EXPECT_EQ(postgresql.out, "kzr40: warning: " + reserved +
                                  ": entity \"Ordem\" (#1): \"tabela\" gives the table ORDER, a reserved word in PostgreSQL: "
                                  "rename it, or every statement must quote it\n"
                                  "kzr40: warning: " + reserved +
                                  ": entity \"Ordem\" (#1), attribute \"select\" (#1): \"nome\" gives the column select, a "
                                  "reserved word in PostgreSQL: rename it, or every statement must quote it\n" +
                                  reserved + ": 2 warnings\n");
    EXPECT_EQ(run_host({"check", reserved, "--dialect", "oracle"}).status, 2);

    // A diagram that does not load is an error whatever --strict says; a JSON syntax error names its place.
    const std::string broken = write("broken.json", "{\"entities\": [\n  {\"entidade\": \"Á\" \"tabela\": \"T\"}\n]}");
    const HostRun bad = run_host({"check", broken});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err.rfind("kzr40: error: " + broken + ": is not valid JSON: line 2, column 20: ", 0), 0u) << bad.err;
    EXPECT_EQ(lines(bad.err), 1u) << bad.err;
}

// sql, unit and generate print check's findings on standard error and write what they always wrote;
// with --strict they refuse and write nothing.
TEST_F(CheckCommand, GeneratorsWarnAlikeAndStrictWritesNothing) {
    const std::string check = run_host({"check", kVendas}).out;
    const std::string findings = check.substr(0, check.rfind(kVendas + ": 2 warnings"));

    const Diagram diagram = load_diagram(kVendas);
    StringList listing;
    run_schema(diagram, SchemaRunOptions{kLanguageSql, 0, false}, listing);
    const HostRun sql = run_host({"sql", kVendas});
    EXPECT_EQ(sql.status, 0);
    EXPECT_EQ(sql.out, listing_text(listing));
    EXPECT_EQ(sql.err, findings);
    EXPECT_EQ(run_host({"unit", kVendas}).err, findings);

    const fs::path out = dir / "out.sql";
    const HostRun refused = run_host({"sql", kVendas, "--strict", "-o", out.string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_NE(refused.err.find("kzr40: error: " + kVendas + ": entity \"Produto\""), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("2 findings, which --strict makes errors; nothing was written\n"), std::string::npos)
        << refused.err;

    const HostRun generated = run_host({"generate", kVendas, "--dir", (dir / "app").string(), "--strict"});
    EXPECT_EQ(generated.status, 1);
    EXPECT_FALSE(fs::exists(dir / "app" / "schema.sql"));
    EXPECT_EQ(run_host({"generate", kCliente, "--dir", (dir / "app").string(), "--strict"}).status, 0);
    EXPECT_TRUE(fs::exists(dir / "app" / "schema.sql"));
}

}  // namespace
