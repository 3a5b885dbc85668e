// `kzr40 forms` and `kzr40 generate` through the built program.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "platform/utf8_cp1252.h"

#include "tests/appgen/form_fixture.h"
#include "tests/support/run_host.h"

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
    const Names files = fixture::files_in(out);
    EXPECT_EQ(files, (Names{"MCLIENTE.PAS", "MCLIENTE.dfm"}));
    EXPECT_EQ(fixture::read_form(out / "MCLIENTE.dfm").class_name, "TF_CLIENTE");
}

// A failed entity leaves neither of its two files, whatever failed: the plug-in (a file name the
// system refuses, with the path and the reason added to its message) or the move into place.
TEST(FormsCommand, GoesOnAfterAFailingEntityAndSaysWhichWereWritten) {
    fixture::ScratchDir dir;
    const std::string long_table(300, 'L');
    write(dir.path() / "d.json", R"({ "entities": [
        { "entidade": "Bom", "tabela": "BOM", "atributos": [ { "nome": "A", "tipo": "Integer", "key": true } ] },
        { "entidade": "Longo", "tabela": ")" + long_table + R"(", "atributos": [ { "nome": "A", "tipo": "Integer" } ] },
        { "entidade": "Ruim", "tabela": "ain", "atributos": [ { "nome": "B", "tipo": "Integer" } ] } ] })");
    const fs::path out = dir.path() / "out";
    fs::create_directories(out / "Main.PAS");  // a directory where Ruim's unit should go
    const HostRun run = run_host({"forms", (dir.path() / "d.json").string(), "--dir", out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("entity \"Longo\": form not generated: Erro de I/O 206 (" + (out / ("M" + long_table)).string() +
                           ".PAS: File name too long)"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("entity \"Ruim\": form not generated: " + (out / "Main.PAS").string() + ": is a directory"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("2 forms were not generated (see above); the 1 other was written"), std::string::npos) << run.err;
    EXPECT_EQ(fixture::files_in(out), (Names{"MBOM.PAS", "MBOM.dfm", "Main.PAS"}));

    write(dir.path() / "long.json", R"({ "entities": [
        { "entidade": "Longo", "tabela": ")" + long_table + R"(", "atributos": [ { "nome": "A", "tipo": "Integer" } ] } ] })");
    const HostRun none = run_host({"forms", (dir.path() / "long.json").string(), "--dir", out.string()});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("; no form was written"), std::string::npos) << none.err;
}

// Files of an earlier run are replaced, never written through: a link planted in the directory is
// replaced by the file and its target stays as it was; a replaced file keeps its permissions.
TEST(FormsCommand, ReplacesLinksInsteadOfFollowingThem) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "out";
    fs::create_directories(out);
    write(dir.path() / "victim", "keep me");
    fs::create_symlink(dir.path() / "victim", out / "MCLIENTE.PAS");
    write(out / "MCLIENTE.dfm", "old form");
    fs::permissions(out / "MCLIENTE.dfm", fs::perms::owner_read | fs::perms::owner_write);
    const HostRun run = run_host({"forms", kExamples + "cliente.json", "--dir", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fs::status(out / "MCLIENTE.dfm").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fixture::read_file(dir.path() / "victim"), "keep me");
    EXPECT_FALSE(fs::is_symlink(out / "MCLIENTE.PAS"));
    EXPECT_EQ(fixture::lines(fixture::read_file(out / "MCLIENTE.PAS"))[0], "unit MCLIENTE;");
}

// The path crosses into the plug-in as Windows-1252 and back out as the system's UTF-8 name.
TEST(ApplicationCommands, NonAsciiDirectories) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "sa\xC3\xAD" "da";
    const HostRun forms = run_host({"forms", kExamples + "cliente.json", "--dir", out.string()});
    ASSERT_EQ(forms.status, 0) << forms.err;
    const formfile::ObjectNode form = fixture::read_form(out / "MCLIENTE.dfm");
    const formfile::ObjectNode* table = form.child("Table1");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(fixture::text(*table, "DatabaseName"), utf8_to_cp1252(out.string() + "/"));

    write(out / "CLIENTE.DB", "");
    const HostRun tables = run_host({"tables", kExamples + "cliente.json", "--dir", out.string(), "--keep"});
    EXPECT_NE(tables.out.find("left alone: its table file exists"), std::string::npos) << tables.out;
}

// Two runs into one directory give the same bytes (each stages in a scratch directory of its own),
// and the forms are those that `forms` writes: they name the output directory, never the scratch one.
TEST(GenerateCommand, RunsAreReproducibleAndAgreeWithTheFormsCommand) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "app";
    ::setenv("SOURCE_DATE_EPOCH", "86400", 1);
    const auto contents = [&] {
        std::map<std::string, std::string> files;
        for (const std::string& file : fixture::files_in(out)) files[file] = fixture::read_file(out / file);
        return files;
    };
    const HostRun forms = run_host({"forms", kExamples + "vendas.json", "--dir", out.string()});
    const auto from_forms = contents();
    const HostRun once = run_host({"generate", kExamples + "vendas.json", "--dir", out.string()});
    const auto first = contents();
    const HostRun twice = run_host({"generate", kExamples + "vendas.json", "--dir", out.string()});
    ::unsetenv("SOURCE_DATE_EPOCH");
    ASSERT_EQ(forms.status + once.status + twice.status, 0) << forms.err << once.err << twice.err;
    ASSERT_EQ(from_forms.size(), 8u);
    for (const auto& [file, bytes] : from_forms) EXPECT_EQ(first.at(file), bytes) << file;
    EXPECT_EQ(contents(), first);
    EXPECT_EQ(fixture::text(*fixture::read_form(out / "MPEDIDO.dfm").child("Table1"), "DatabaseName"), out.string() + "/");
}

TEST(GenerateCommand, WritesTheWholeApplicationIntoTheDirectory) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "app";
    const HostRun run = run_host({"generate", kExamples + "vendas.json", "--dir", out.string(), "--title", "Vendas Já"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Names files = fixture::files_in(out);
    EXPECT_EQ(files, (Names{"GerarDBs.pas", "MCLIENTE.PAS", "MCLIENTE.dfm", "MItens_Pedido.PAS", "MItens_Pedido.dfm",
                            "MPEDIDO.PAS", "MPEDIDO.dfm", "MPRODUTO.PAS", "MPRODUTO.dfm", "Princ.PAS", "Princ.dfm",
                            "Vendas_J_.DPR", "schema.sql"}));
    for (const std::string& file : files) EXPECT_NE(run.out.find((out / file).string()), std::string::npos) << file;
    // The title reaches the project as Windows-1252 text.
    const std::vector<std::string> project = fixture::lines(fixture::read_file(out / "Vendas_J_.DPR"));
    EXPECT_EQ(project[0], "Program Vendas_J_;");
    EXPECT_NE(std::find(project.begin(), project.end(), "  Application.Title := 'Vendas J\xE1';"), project.end());
    // The menu opens the forms that were written, under the same names.
    EXPECT_NE(std::find(project.begin(), project.end(), "    MItens_Pedido in 'MItens_Pedido.pas';"), project.end());
}

TEST(GenerateCommand, AFailedRunLeavesTheDirectoryAsItWasAndNamesTheClash) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "app";
    fs::create_directories(out);
    write(out / "MBOM.PAS", "old unit");
    write(dir.path() / "d.json", kTwoEntities);
    const HostRun run = run_host({"generate", (dir.path() / "d.json").string(), "--dir", out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("main project not generated: Um componente chamado MMain j\xC3\xA1 existe: the main form's own "
                           "MMain and the menu item of table \"ain\" (entity \"Ruim\") both take that name"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << run.err;
    EXPECT_EQ(fixture::files_in(out), (Names{"MBOM.PAS"}));
    EXPECT_EQ(fixture::read_file(out / "MBOM.PAS"), "old unit");
    EXPECT_EQ(fixture::files_in(dir.path()), (Names{"app", "d.json"}));
    // A group item is named after the table of its first entry, so tables A and MA in two groups clash.
    write(dir.path() / "groups.json", R"({ "entities": [
        { "entidade": "Um", "tabela": "A", "Menu": "G1;", "atributos": [ { "nome": "X", "tipo": "Integer" } ] },
        { "entidade": "Dois", "tabela": "MA", "Menu": "G2;", "atributos": [ { "nome": "X", "tipo": "Integer" } ] } ] })");
    const HostRun groups = run_host({"generate", (dir.path() / "groups.json").string(), "--dir", out.string()});
    EXPECT_NE(groups.err.find("Um componente chamado MMMA j\xC3\xA1 existe: the menu \"G1\", named after table \"A\" "
                              "(entity \"Um\") and the menu item of table \"MA\" (entity \"Dois\") both take that name"),
              std::string::npos)
        << groups.err;
    // An output directory the run had to make goes again.
    EXPECT_EQ(run_host({"generate", (dir.path() / "d.json").string(), "--dir", (dir.path() / "new" / "app").string()}).status, 1);
    EXPECT_FALSE(fs::exists(dir.path() / "new"));
}

// The menu entry carries the table name the form files were written under, ";" and all.
TEST(GenerateCommand, MenuOpensTheFormsOfTablesWithSeparatorsInTheirNames) {
    fixture::ScratchDir dir;
    write(dir.path() / "d.json", R"({ "entities": [
        { "entidade": "Cliente", "tabela": "CLI;ENTE", "atributos": [ { "nome": "A", "tipo": "Integer", "key": true } ] } ] })");
    const HostRun run = run_host({"generate", (dir.path() / "d.json").string(), "--dir", (dir.path() / "app").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> project = fixture::lines(fixture::read_file(dir.path() / "app" / "Projeto.DPR"));
    EXPECT_EQ(project[6], "    MCLI_ENTE in 'MCLI_ENTE.pas';");
    EXPECT_TRUE(fs::exists(dir.path() / "app" / "MCLI_ENTE.dfm"));
}

// A menu entry cannot carry an empty table name: the fields would shift and the project would open a
// unit that was never written.
TEST(GenerateCommand, RefusesAnEntityWithoutTableName) {
    fixture::ScratchDir dir;
    const std::string diagram = std::string(KZR40_SOURCE_DIR) + "/tests/appgen/compile/diagrams/tabela_vazia.json";
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
    EXPECT_EQ(fixture::files_in(out), (Names{"Princ.dfm"}));
}

// A diagram large enough that generate is still at work when the test interrupts it.
std::string many_entities(int count) {
    std::string json = R"({ "entities": [)";
    for (int i = 0; i < count; ++i)
        json += std::string(i ? "," : "") + R"({ "entidade": "E", "tabela": "T)" + std::to_string(i) +
                R"(", "atributos": [ { "nome": "A", "tipo": "Integer", "key": true }, { "nome": "B", "tipo": "Memo" } ] })";
    return json + "] }";
}

// Starts generate into `out`, and once its scratch directory is there, sends `signal`; answers how the
// process ended (the wait status) and whether the scratch directory had been seen.
std::pair<int, bool> interrupt_generate(const fs::path& diagram, const fs::path& out, int signal) {
    const Names before = fixture::files_in(out);
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "wb", stdout) || !std::freopen("/dev/null", "wb", stderr)) _exit(127);
        execl(KZR40_HOST_PATH, KZR40_HOST_PATH, "generate", diagram.c_str(), "--dir", out.c_str(), nullptr);
        _exit(127);
    }
    bool seen = false;
    for (int tries = 0; tries < 20000 && !seen; ++tries) {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(out, ignored)) {
            const std::string name = entry.path().filename().string();
            seen = seen || (name.starts_with(".kzr40-") && std::find(before.begin(), before.end(), name) == before.end() &&
                            fs::exists(entry.path() / ".kzr40-run", ignored));
        }
        if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    if (seen) std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let it write a few files
    kill(child, signal);
    int status = 0;
    waitpid(child, &status, 0);
    return {status, seen};
}

TEST(GenerateCommand, AnInterruptedRunRemovesItsScratchDirectory) {
    fixture::ScratchDir dir;
    write(dir.path() / "d.json", many_entities(1500));
    const fs::path out = dir.path() / "app";
    fs::create_directories(out);
    for (int signal : {SIGINT, SIGTERM}) {
        const auto [status, seen] = interrupt_generate(dir.path() / "d.json", out, signal);
        ASSERT_TRUE(seen) << "the run ended before it could be interrupted";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(fixture::files_in(out), Names{}) << strsignal(signal);
    }
}

// After a SIGKILL the scratch directory stays, marked; the next run into the directory removes it,
// and leaves alone a directory of a similar name without the mark.
TEST(GenerateCommand, TheNextRunRemovesWhatAKilledRunLeft) {
    fixture::ScratchDir dir;
    write(dir.path() / "d.json", many_entities(1500));
    const fs::path out = dir.path() / "app";
    fs::create_directories(out / ".kzr40-notour");
    const auto [status, seen] = interrupt_generate(dir.path() / "d.json", out, SIGKILL);
    ASSERT_TRUE(seen);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(fixture::files_in(out).size(), 2u);

    const HostRun run = run_host({"forms", kExamples + "cliente.json", "--dir", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fixture::files_in(out), (Names{".kzr40-notour", "MCLIENTE.PAS", "MCLIENTE.dfm"}));
}

// Runs kzr40 as a user without privileges, so that directory permissions apply: through setpriv as
// "nobody" when the tests run as root.
HostRun run_host_unprivileged(const std::vector<std::string>& arguments) {
    if (::geteuid() != 0) return run_host(arguments);
    std::vector<std::string> all = {"--reuid=65534", "--regid=65534", "--clear-groups", KZR40_HOST_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return run_program("/usr/bin/setpriv", all);
}

// Only the output directory needs to be writable: the files are staged inside it. When it is not,
// nothing is generated and the message says why.
TEST(ApplicationCommands, OnlyTheOutputDirectoryNeedsToBeWritable) {
    if (::geteuid() == 0 && !fs::exists("/usr/bin/setpriv")) {
        GTEST_SKIP() << "needs setpriv to drop root";
    }
    fixture::ScratchDir dir;
    const fs::path parent = dir.path() / "p", out = parent / "out";
    fs::create_directories(out);
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(parent, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_exec);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(out.c_str(), 65534, 65534), 0);
    }
    const HostRun run = run_host_unprivileged({"generate", kExamples + "cliente.json", "--dir", out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fixture::files_in(out).size(), 7u);

    fs::permissions(out, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
    const HostRun refused = run_host_unprivileged({"forms", kExamples + "cliente.json", "--dir", out.string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(out.string() + ": cannot write into the output directory: Permission denied"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.err.find("were written"), std::string::npos) << refused.err;
    fs::permissions(parent, fs::perms::owner_all);
    fs::permissions(out, fs::perms::all);
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

TEST(ApplicationCommands, UsageErrorsExitWithStatusTwoAndNameTheOption) {
    for (const char* command : {"forms", "generate"}) {
        const HostRun help = run_host({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("--dir"), std::string::npos);
        const HostRun missing = run_host({command, kExamples + "cliente.json"});
        EXPECT_EQ(missing.status, 2);
        EXPECT_NE(missing.err.find("--dir"), std::string::npos) << missing.err;
    }
    const std::string cliente = kExamples + "cliente.json";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"generate", cliente, "--dir", ""}, "--dir: must not be empty"},
        {{"forms", cliente, "--dir", "sa\xE4\xB8\xAD"}, "--dir: the character U+4E2D '\xE4\xB8\xAD'"},
        {{"generate", cliente, "--dir", "x", "--title", "\xE4\xB8\xAD"}, "--title: the character U+4E2D"},
        {{"generate", cliente, "--dir", "x", "--title", "two\nlines"}, "--title: a line break cannot stand in the title"},
        {{"forms", cliente, "--dir", "x", "--bogus"}, "--bogus"},
        {{"generate", cliente, "--dir", "x", "--kind", "access"}, "--kind: expected paradox"},
    };
    for (const auto& [arguments, message] : cases) {
        const HostRun run = run_host(arguments);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists("x"));
    const HostRun version = run_host({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "kzr40 " KZR40_VERSION "\n");
}

}  // namespace
