// `kzr40 sql`, `kzr40 unit` and `kzr40 tables` through the built program.

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/run_host.h"
#include "tests/schema/exemplos.h"
#include "tests/support/read_file.h"

namespace {

namespace fs = std::filesystem;

const std::string kCliente = KZR40_SOURCE_DIR "/examples/cliente.json";
const std::string kVendas = KZR40_SOURCE_DIR "/examples/vendas.json";

using test_support::read_file;

std::string crlf(const std::vector<std::string>& linhas) {
    std::string texto;
    for (const std::string& l : linhas) texto += l + "\r\n";
    return texto;
}

// A scratch folder per test, and a fixed banner date.
class Comandos : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
        pasta = fs::temp_directory_path() /
                ("kzr40-cmd-" + std::to_string(getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(pasta);
    }
    void TearDown() override {
        ::unsetenv("SOURCE_DATE_EPOCH");
        fs::remove_all(pasta);
    }
    fs::path escrever(const std::string& nome, const std::string& conteudo) {
        std::ofstream(pasta / nome, std::ios::binary) << conteudo;
        return pasta / nome;
    }
    std::vector<std::string> arquivos() const {
        std::vector<std::string> nomes;
        for (const auto& item : fs::directory_iterator(pasta)) nomes.push_back(item.path().filename().string());
        std::sort(nomes.begin(), nomes.end());
        return nomes;
    }
    fs::path pasta;
};

TEST_F(Comandos, SqlOfTheCustomerExampleAfterItsBanner) {
    const HostRun run = run_host({"sql", kCliente, "--drop"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<std::string> esperado = {
        "/*  Esquema gerado por VELQUORANTIS v 0.1.0 Lite */",
        "/* em 14/11/2023 22:13:20                       */",
        " ",
        "/*  Projeto : Clientes              */",
        "/*  Servidor : LOCAL       */",
        " ",
        "/*   Coloque aqui seus procedimentos de login para  */",
        "/*   conec\xE7\xE3o ao servidor do banco de dados         */",
        " ",
        "",
    };
    esperado.insert(esperado.end(), sql_de_cliente().begin(), sql_de_cliente().end());
    esperado.push_back("");
    EXPECT_EQ(run.out, crlf(esperado));
}

TEST_F(Comandos, UnitOfTheCustomerExampleHoldsItsProcedureInTheFrame) {
    const HostRun run = run_host({"unit", kCliente});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> fim = procedimento_de_cliente();
    fim.insert(fim.end(), {"", "End.  //CriarDBs"});
    const std::string procedimento = crlf(fim);
    ASSERT_GE(run.out.size(), procedimento.size());
    EXPECT_EQ(run.out.substr(run.out.size() - procedimento.size()), procedimento);
    EXPECT_EQ(run.out.rfind("\r\n// Unit gerada por Velquorantis v 0.1.0 Lite\r\n// em 14/11/2023 22:13:20\r\n", 0), 0u);
    EXPECT_NE(run.out.find("\r\nprocedure CriarCLIENTE(Diretorio:string);\r\n \r\nImplementation\r\n"), std::string::npos);
}

TEST_F(Comandos, UnitWarnsOfApostrophesItQuotesAsTheyAre) {
    const fs::path diagrama = escrever("aspas.json", R"({"entities": [{"entidade": "E", "tabela": "T",
        "atributos": [{"nome": "A", "tipo": 1}],
        "ChavesSecundarias": [{"nome": "IDX_D'AGUA", "campos": "A"}, {"nome": "IDX_EXPR", "campos": "A+'X'", "expression": true},
                              {"nome": "IDX_OK", "campos": "A"}]}]})");
    const HostRun run = run_host({"unit", diagrama.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Add('IDX_D'AGUA', 'A', [ixUnique,ixCaseInsensitive]);"), std::string::npos);  // as the plug-in writes it
    EXPECT_NE(run.err.find("aspas.json: entity \"E\" (#1), secondary key \"IDX_D'AGUA\": the apostrophe in its name"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("secondary key \"IDX_EXPR\": the apostrophe in its expression"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("IDX_OK"), std::string::npos) << run.err;
    EXPECT_EQ(run_host({"sql", diagrama.string()}).err.find("apostrophe"), std::string::npos);  // SQL does not quote them
}

TEST_F(Comandos, KindsReachTheExports) {
    EXPECT_NE(run_host({"unit", kCliente, "--kind", "dbase"}).out.find("TableType := ttdBase;"), std::string::npos);
    EXPECT_NE(run_host({"unit", kCliente, "--kind", "Oracle"}).out.find("'CLIENTE.DBG'"), std::string::npos);
    EXPECT_NE(run_host({"sql", kCliente, "--kind", "1"}).out.find("CREATE TABLE \"CLIENTE.DBF\""), std::string::npos);
    EXPECT_NE(run_host({"sql", kCliente, "--kind", "7"}).out.find("CREATE TABLE \"CLIENTE.DB\""), std::string::npos);
    const HostRun ruim = run_host({"sql", kCliente, "--kind", "access"});
    EXPECT_EQ(ruim.status, 2);  // a usage error
    EXPECT_EQ(ruim.err.substr(0, ruim.err.find('\n')), "--kind: expected paradox, dbase, oracle or a number, not \"access\"");
}

TEST_F(Comandos, OutputFileIsTheSameBytesAndNothingElseIsLeft) {
    const HostRun saida = run_host({"sql", kVendas});
    const fs::path destino = pasta / "vendas.sql";
    const HostRun arquivo = run_host({"sql", kVendas, "-o", destino.string()});
    ASSERT_EQ(arquivo.status, 0) << arquivo.err;
    EXPECT_EQ(arquivo.out, "");
    EXPECT_EQ(read_file(destino), saida.out);
    EXPECT_EQ(arquivos(), std::vector<std::string>{"vendas.sql"});
    EXPECT_EQ(fs::status(destino).permissions() & fs::perms::owner_read, fs::perms::owner_read);
    // Reproducible: the same input and SOURCE_DATE_EPOCH give the same bytes.
    EXPECT_EQ(run_host({"sql", kVendas}).out, saida.out);
}

TEST_F(Comandos, BadDiagramsFailWithOneLineAndLeaveTheOutputAlone) {
    struct Caso {
        std::string conteudo;
        std::string mensagem;
    };
    const Caso casos[] = {
        {"{\"entities\": [", ": is not valid JSON: "},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "atributos": [{"nome": "A", "tipo": "Texto"}]}]})",
         ": entity \"E\" (#1), attribute \"A\" (#1): \"tipo\" names no known value: \"Texto\""},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "atributos": [{"nome": "A", "tipo": 99}]}]})",
         "\"tipo\" must be a name or an index from 0 to 19 (got 99)"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "atributos": [{"nome": "A", "tipo": 1, "tamanho": -1}]}]})",
         "\"tamanho\" must not be negative (got -1)"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "atributos": [{"nome": "A", "tipo": 1, "componente": "X"}]}]})",
         "\"componente\" names no known value: \"X\""},
        {R"({"entities": [{"tabela": "T"}]})", ": entity #1: \"entidade\" is missing"},
        {R"({"entities": [{"entidade": "E", "tabela": "T", "atributos": [{"nome": "A", "tipo": 1}, {"nome": "a", "tipo": 2}]}]})",
         "attribute \"a\" (#2): \"nome\" gives the column A, which attribute #1 already has"},
        {R"({"entities": [{"entidade": "Caf\u00e9 \u263a", "tabela": "T"}]})",
         "entity \"Caf\xC3\xA9 \xE2\x98\xBA\" (#1): \"entidade\" holds the character U+263A"},
    };
    const fs::path destino = escrever("saida.sql", "old");
    for (const Caso& caso : casos) {
        const fs::path diagrama = escrever("ruim.json", caso.conteudo);
        for (const char* comando : {"sql", "unit"}) {
            const HostRun run = run_host({comando, diagrama.string(), "-o", destino.string()});
            EXPECT_EQ(run.status, 1) << caso.conteudo;
            EXPECT_EQ(run.err.rfind("kzr40: error: " + diagrama.string() + ": ", 0), 0u) << run.err;
            EXPECT_NE(run.err.find(caso.mensagem), std::string::npos) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_EQ(run.out, "");
        }
        EXPECT_EQ(read_file(destino), "old");
        EXPECT_EQ(arquivos(), (std::vector<std::string>{"ruim.json", "saida.sql"}));
    }
}

TEST_F(Comandos, UnreadableInputsAndUnwritableOutputsAreNamed) {
    HostRun run = run_host({"sql", (pasta / "falta.json").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "kzr40: error: " + (pasta / "falta.json").string() + ": cannot open: No such file or directory\n");

    run = run_host({"sql", pasta.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(pasta.string() + ": cannot read: Is a directory"), std::string::npos) << run.err;

    const fs::path sem_pasta = pasta / "nao" / "existe.sql";
    run = run_host({"sql", kCliente, "-o", sem_pasta.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "kzr40: error: " + sem_pasta.string() + ": cannot write: No such file or directory\n");

    run = run_host({"unit", kCliente, "-o", pasta.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "kzr40: error: " + pasta.string() + ": cannot write: Is a directory\n");

    if (::geteuid() != 0) {  // root writes everywhere
        fs::create_directories(pasta / "fechada");
        fs::permissions(pasta / "fechada", fs::perms::owner_read | fs::perms::owner_exec);
        run = run_host({"sql", kCliente, "-o", (pasta / "fechada" / "x.sql").string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("cannot write: Permission denied"), std::string::npos);
        fs::permissions(pasta / "fechada", fs::perms::owner_all);
    }
    EXPECT_TRUE(fs::is_empty(pasta) || arquivos() == std::vector<std::string>{"fechada"});

    ::setenv("SOURCE_DATE_EPOCH", "last week", 1);
    run = run_host({"sql", kCliente});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "kzr40: error: SOURCE_DATE_EPOCH must be a whole number of seconds since 1970, not \"last week\"\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(Comandos, TablesShowsTheDefinitionsAndLeavesExistingTablesAlone) {
    HostRun run = run_host({"tables", kCliente, "--kind", "dbase", "--dir", pasta.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "entity Cliente\n"
                       "  table CLIENTE.DBF, type ttDBase, directory \"" + pasta.string() + "/\"\n"
                       "    field CODIGO: Integer, required\n"
                       "    field NOME: String, size 40\n"
                       "    index IDX_NOME on \"NOME\" []\n");
    escrever("CLIENTE.DB", "");
    run = run_host({"tables", kCliente, "--dir", pasta.string(), "--keep"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "entity Cliente\n  left alone: its table file exists in \"" + pasta.string() + "/\"\n");
    run = run_host({"tables", kVendas});
    EXPECT_NE(run.out.find("entity Itens do pedido\n  table Itens_Pedido.DB, type ttParadox"), std::string::npos);
    EXPECT_NE(run.out.find("    index (primary) on \"PEDIDO;ITEM\" [ixPrimary,ixUnique]\n"), std::string::npos);
}

TEST_F(Comandos, EveryCommandHasHelp) {
    for (const char* comando : {"sql", "unit", "tables"}) {
        const HostRun run = run_host({comando, "--help"});
        EXPECT_EQ(run.status, 0) << comando;
        EXPECT_NE(run.out.find("--kind"), std::string::npos) << comando;
    }
    EXPECT_NE(run_host({"sql", "--help"}).out.find("--drop"), std::string::npos);
    EXPECT_NE(run_host({"unit", kCliente, "--drop"}).status, 0);  // not an option of unit
}

}  // namespace
