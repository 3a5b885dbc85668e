// `kzr40 forms` and `kzr40 generate` through the built program.

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/appgen/form_fixture.h"
#include "tests/host/run_host.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const std::string kExamples = std::string(KZR40_SOURCE_DIR) + "/examples/";

void write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// Two entities; the table "ain" gives the menu item MMain, which the main form already has.
const char* const kTwoEntities = R"({
  "project": "Teste",
  "entities": [
    { "entidade": "Bom", "tabela": "BOM", "atributos": [ { "nome": "A", "tipo": "Integer", "key": true } ] },
    { "entidade": "Ruim", "tabela": "ain", "atributos": [ { "nome": "B", "tipo": "Integer" } ] }
  ]
})";

TEST(FormsCommand, WritesOneUnitAndFormFilePerEntity) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "new" / "forms";  // created when missing
    const HostRun run = run_host({"forms", kExamples + "cliente.json", "--dir", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "wrote " + (out / "MCLIENTE.PAS").string() + "\nwrote " + (out / "MCLIENTE.dfm").string() + "\n");
    Names files;
    for (const auto& entry : fs::directory_iterator(out)) files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Names{"MCLIENTE.PAS", "MCLIENTE.dfm"}));
    EXPECT_EQ(fixture::read_form(out / "MCLIENTE.dfm").class_name, "TF_CLIENTE");
}

TEST(FormsCommand, GoesOnAfterAFailingEntityAndSaysSo) {
    fixture::ScratchDir dir;
    write(dir.path() / "d.json", kTwoEntities);
    fs::create_directories(dir.path() / "out" / "Main.PAS");  // a directory where Ruim's unit should go
    const HostRun run = run_host({"forms", (dir.path() / "d.json").string(), "--dir", (dir.path() / "out").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("entity \"Ruim\": form not generated: Erro de I/O 5"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(dir.path() / "out" / "MBOM.dfm"));
    EXPECT_NE(run.out.find("MBOM.PAS"), std::string::npos);
}

TEST(GenerateCommand, WritesTheWholeApplicationIntoTheDirectory) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "app";
    const fs::path before = fs::current_path();
    const HostRun run = run_host({"generate", kExamples + "vendas.json", "--dir", out.string(), "--title", "Vendas Já"});
    ASSERT_EQ(run.status, 0) << run.err;
    Names files;
    for (const auto& entry : fs::directory_iterator(out)) files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Names{"GerarDBs.pas", "MCLIENTE.PAS", "MCLIENTE.dfm", "MItens_Pedido.PAS", "MItens_Pedido.dfm",
                            "MPEDIDO.PAS", "MPEDIDO.dfm", "MPRODUTO.PAS", "MPRODUTO.dfm", "Princ.PAS", "Princ.dfm",
                            "Vendas_J_.DPR", "schema.sql"}));
    EXPECT_EQ(fs::current_path(), before);
    for (const std::string& file : files) EXPECT_NE(run.out.find((out / file).string()), std::string::npos) << file;
    // The title reaches the project as Windows-1252 text.
    const std::vector<std::string> project = fixture::lines(fixture::read(out / "Vendas_J_.DPR"));
    EXPECT_EQ(project[0], "Program Vendas_J_;");
    EXPECT_NE(std::find(project.begin(), project.end(), "  Application.Title := 'Vendas J\xE1';"), project.end());
    // The menu opens the forms that were written, under the same names.
    EXPECT_NE(std::find(project.begin(), project.end(), "    MItens_Pedido in 'MItens_Pedido.pas';"), project.end());
}

TEST(GenerateCommand, AFailedRunLeavesTheDirectoryAsItWas) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "app";
    fs::create_directories(out);
    write(out / "MBOM.PAS", "old unit");
    write(dir.path() / "d.json", kTwoEntities);
    const HostRun run = run_host({"generate", (dir.path() / "d.json").string(), "--dir", out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("main project not generated: Um componente chamado MMain j\xC3\xA1 existe"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << run.err;
    Names files;
    for (const auto& entry : fs::directory_iterator(out)) files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, (Names{"MBOM.PAS"}));
    EXPECT_EQ(fixture::read(out / "MBOM.PAS"), "old unit");
    Names beside;  // no scratch directory left next to it
    for (const auto& entry : fs::directory_iterator(dir.path())) beside.push_back(entry.path().filename().string());
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (Names{"app", "d.json"}));
}

// A menu entry cannot carry an empty table name: the fields would shift and the project would open a
// unit that was never written.
TEST(GenerateCommand, RefusesAnEntityWithoutTableName) {
    fixture::ScratchDir dir;
    const std::string diagram = std::string(KZR40_SOURCE_DIR) + "/tests/compile/diagrams/tabela_vazia.json";
    const HostRun run = run_host({"generate", diagram, "--dir", (dir.path() / "app").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("entity \"Sem nome de tabela\" (#1) has no table name"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "app"));
}

TEST(GenerateCommand, WarnsAboutTitlesTheProjectCannotCarry) {
    fixture::ScratchDir dir;
    const HostRun run = run_host(
        {"generate", kExamples + "cliente.json", "--dir", (dir.path() / "app").string(), "--title", "2024 d'Oeste"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("gives the program name \"2024_d_Oeste\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("apostrophe"), std::string::npos) << run.err;
}

TEST(GenerateCommand, ADirectoryInTheWayStopsTheRunBeforeAnyFileMoves) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "app";
    fs::create_directories(out / "Princ.dfm");
    const HostRun run = run_host({"generate", kExamples + "cliente.json", "--dir", out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Princ.dfm: is a directory; nothing was written"), std::string::npos) << run.err;
    Names files;
    for (const auto& entry : fs::directory_iterator(out)) files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, (Names{"Princ.dfm"}));
}

TEST(ApplicationCommands, OutputDirectoryThatCannotBeCreated) {
    fixture::ScratchDir dir;
    write(dir.path() / "file", "");
    for (const char* command : {"forms", "generate"}) {
        const HostRun run = run_host({command, kExamples + "cliente.json", "--dir", (dir.path() / "file" / "out").string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("cannot create the output directory"), std::string::npos) << command << ": " << run.err;
    }
}

TEST(ApplicationCommands, HelpAndMissingOptions) {
    for (const char* command : {"forms", "generate"}) {
        const HostRun help = run_host({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("--dir"), std::string::npos);
        const HostRun missing = run_host({command, kExamples + "cliente.json"});
        EXPECT_NE(missing.status, 0);
        EXPECT_NE(missing.err.find("--dir"), std::string::npos) << missing.err;
    }
}

}  // namespace
