// The generated SQL scripts loaded into a real database.
//
// The script's dialect goes beyond SQLite in two places, which the test adapts before loading:
// - a descending primary key is a line "DESCENDING" between the PRIMARY KEY clause and ");";
// - a descending secondary index reads "CREATE UNIQUE, DESCENDING INDEX" or "CREATE DESCENDING INDEX".
// Both lose the word DESCENDING; everything else (quoted "T.DB" table names, the type names, the
// comments and the Windows-1252 bytes in them) SQLite takes as written.

#include <sqlite3.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "diagram/diagram.h"
#include "host/schema_run.h"
#include "platform/string_list.h"

namespace {

std::string script(const char* exemplo, std::int32_t kind) {
    const Diagram diagram = load_diagram(std::string(KZR40_SOURCE_DIR "/examples/") + exemplo);
    StringList listing;
    run_schema(diagram, SchemaRunOptions{kLanguageSql, kind, false}, listing);
    return listing_text(listing);
}

std::string para_sqlite(std::string texto) {
    auto trocar = [&](const std::string& de, const std::string& para) {
        for (std::size_t p; (p = texto.find(de)) != std::string::npos;) texto.replace(p, de.size(), para);
    };
    trocar(" )\r\nDESCENDING\r\n);", " )\r\n);");
    trocar("CREATE   UNIQUE, DESCENDING INDEX", "CREATE UNIQUE INDEX");
    trocar("CREATE   DESCENDING INDEX", "CREATE INDEX");
    return texto;
}

struct Banco {
    sqlite3* db = nullptr;
    Banco() { sqlite3_open(":memory:", &db); }
    ~Banco() { sqlite3_close(db); }

    std::string executar(const std::string& sql) {
        char* erro = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &erro) == SQLITE_OK) return {};
        std::string texto = erro ? erro : "?";
        sqlite3_free(erro);
        return texto;
    }
    // Rows of a query, each row its columns joined by "|".
    std::vector<std::string> linhas(const std::string& sql) {
        std::vector<std::string> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return {"error: " + std::string(sqlite3_errmsg(db))};
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::string row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                if (c) row += '|';
                const auto* v = sqlite3_column_text(st, c);
                row += v ? reinterpret_cast<const char*>(v) : "";
            }
            out.push_back(row);
        }
        sqlite3_finalize(st);
        return out;
    }
    // name|type|notnull|pk of every column.
    std::vector<std::string> colunas(const std::string& tabela) {
        return linhas("SELECT name, type, \"notnull\", pk FROM pragma_table_info('" + tabela + "') ORDER BY cid");
    }
    // name|unique|columns of every index the script created (not the automatic ones).
    std::vector<std::string> indices(const std::string& tabela) {
        std::vector<std::string> out;
        for (const std::string& row : linhas("SELECT name, \"unique\" FROM pragma_index_list('" + tabela +
                                             "') WHERE origin = 'c' ORDER BY name")) {
            const std::string nome = row.substr(0, row.find('|'));
            std::string campos;
            for (const std::string& c : linhas("SELECT name FROM pragma_index_info('" + nome + "') ORDER BY seqno"))
                campos += (campos.empty() ? "" : ",") + c;
            out.push_back(row + "|" + campos);
        }
        return out;
    }
};

using Texto = std::vector<std::string>;

TEST(SqlNoBanco, CustomerExampleLoadsAsWritten) {
    Banco b;
    const std::string texto = script("cliente.json", 0);
    EXPECT_EQ(para_sqlite(texto), texto);  // nothing to adapt
    ASSERT_EQ(b.executar(texto), "");
    EXPECT_EQ(b.colunas("CLIENTE.DB"), (Texto{"CODIGO|INTEGER|1|1", "NOME|CHARACTER (40)|0|0"}));
    EXPECT_EQ(b.indices("CLIENTE.DB"), Texto{"IDX_NOME|1|NOME"});
}

TEST(SqlNoBanco, SalesExampleLoadsWithItsKeysNullsAndIndexes) {
    for (std::int32_t kind : {0, 1, 2}) {
        Banco b;
        ASSERT_EQ(b.executar(para_sqlite(script("vendas.json", kind))), "") << kind;
        const std::string ext = kind == 1 ? ".DBF" : kind == 2 ? ".DBG" : ".DB";
        EXPECT_EQ(b.linhas("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name"),
                  (Texto{"CLIENTE" + ext, "Itens_Pedido" + ext, "PEDIDO" + ext, "PRODUTO" + ext}));
        EXPECT_EQ(b.colunas("CLIENTE" + ext),
                  (Texto{"CODIGO|INTEGER|1|1", "NOME|CHARACTER (60)|1|0", "CPF|CHARACTER (18)|0|0", "CIDADE|CHARACTER (40)|0|0",
                         "UF|CHARACTER (2)|0|0", "EMAIL|CHARACTER (80)|0|0", "DESDE|DATE|0|0", "ATIVO|BOOLEAN|1|0"}));
        EXPECT_EQ(b.indices("CLIENTE" + ext), (Texto{"IDX_CLIENTE_CPF|1|CPF", "IDX_CLIENTE_EMAIL|1|EMAIL",
                                                     "IDX_CLIENTE_NOME|0|NOME,CIDADE"}));
        EXPECT_EQ(b.colunas("PRODUTO" + ext),
                  (Texto{"CODIGO|INTEGER|1|1", "DESCRICAO|CHARACTER (60)|1|0", "Pre_o|MONEY|1|0", "ESTOQUE|INTEGER|0|0",
                         "FOTO|BYTES (0)|0|0"}));
        EXPECT_EQ(b.indices("PRODUTO" + ext), Texto{"IDX_PRODUTO_DESCRICAO|1|DESCRICAO"});
        EXPECT_EQ(b.colunas("PEDIDO" + ext), (Texto{"NUMERO|INTEGER|1|1", "DATA|DATE|1|0", "CLIENTE|INTEGER|1|0",
                                                    "TOTAL|NUMERIC (12,2)|0|0", "OBS|BYTES (240)|0|0"}));
        EXPECT_EQ(b.indices("PEDIDO" + ext), (Texto{"IDX_PEDIDO_CLIENTE|0|CLIENTE,DATA", "IDX_PEDIDO_DATA|0|DATA"}));
        // Two key columns, a table name with a blank and a column name with an accent, sanitised.
        EXPECT_EQ(b.colunas("Itens_Pedido" + ext),
                  (Texto{"PEDIDO|INTEGER|1|1", "ITEM|SMALLINT|1|2", "PRODUTO|INTEGER|1|0", "QUANTIDADE|DECIMAL (10,3)|1|0",
                         "Pre_o_Unit_rio|MONEY|1|0"}));
        EXPECT_EQ(b.indices("Itens_Pedido" + ext), Texto{"IDX_ITENS_PRODUTO|0|PRODUTO"});
        // The primary key is enforced.
        EXPECT_EQ(b.executar("INSERT INTO \"Itens_Pedido" + ext + "\" VALUES (1, 1, 7, 2, 9.5)"), "");
        EXPECT_NE(b.executar("INSERT INTO \"Itens_Pedido" + ext + "\" VALUES (1, 1, 8, 1, 1)"), "");
    }
}

// Names are data: a comment-closing "*/" in a name cannot smuggle statements into the script, and an
// index on a column whose name was sanitised names the column the table has.
TEST(SqlNoBanco, NamesNeitherBreakOutOfCommentsNorMissTheirColumns) {
    const Diagram diagram = parse_diagram(R"({
        "project": "P */ CREATE TABLE projeto_invadido (a INTEGER); /*",
        "server": "S*/ CREATE TABLE servidor_invadido (a INTEGER); /**",
        "entities": [{"entidade": "E */ CREATE TABLE entidade_invadida (a INTEGER); /* x/", "tabela": "PRODUTO",
                      "atributos": [{"nome": "Pre\u00e7o", "tipo": "Integer", "key": true}, {"nome": "Nome", "tipo": "Integer"}],
                      "ChavesSecundarias": [{"nome": "IDX_PRECO_NOME", "campos": ["Pre\u00e7o", "Nome"]}]}]})",
                                          "injecao.json");
    StringList listing;
    run_schema(diagram, SchemaRunOptions{kLanguageSql, 0, false}, listing);
    Banco b;
    ASSERT_EQ(b.executar(listing_text(listing)), "");
    EXPECT_EQ(b.linhas("SELECT name FROM sqlite_schema WHERE type = 'table'"), Texto{"PRODUTO.DB"});
    EXPECT_EQ(b.indices("PRODUTO.DB"), Texto{"IDX_PRECO_NOME|1|Pre_o,Nome"});
    EXPECT_EQ(listing.Get(3), std::string("/*  Projeto : P * / CREATE TABLE projeto_invadido (a INTEGER); / *              */"));
}

TEST(SqlNoBanco, DroppingScriptRunsTwiceOverItsOwnTables) {
    Banco b;
    const Diagram diagram = load_diagram(KZR40_SOURCE_DIR "/examples/vendas.json");
    ASSERT_EQ(b.executar(para_sqlite(script("vendas.json", 0))), "");
    StringList listing;
    run_schema(diagram, SchemaRunOptions{kLanguageSql, 0, true}, listing);
    EXPECT_EQ(b.executar(para_sqlite(listing_text(listing))), "");
    EXPECT_EQ(b.linhas("SELECT count(*) FROM sqlite_schema WHERE type = 'table'"), Texto{"4"});
}

}  // namespace
