// The SQLite scripts loaded into SQLite itself (the library the project links), with foreign keys on.

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "tests/dialects/catalogue.h"
#include "tests/dialects/dialect_scripts.h"
#include "dialects/reserved_words.h"

namespace dialect_tests {
namespace {

class SqliteDatabase {
public:
    SqliteDatabase() {
        sqlite3_open(":memory:", &db_);
        run("PRAGMA foreign_keys = ON");
    }
    ~SqliteDatabase() { sqlite3_close(db_); }
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    sqlite3* get() { return db_; }
    // The error, or the empty text.
    std::string run(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return {};
        std::string text = error ? error : "?";
        sqlite3_free(error);
        return text;
    }

private:
    sqlite3* db_ = nullptr;
};

TEST(SqliteScripts, EveryDiagramLoadsTwiceAndTheCatalogueHoldsIt) {
    const auto names = test_diagram_names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const Diagram diagram = test_diagram(i);
        SqliteDatabase db;
        const std::string script = dialect_script(diagram, Dialect::sqlite, false);
        ASSERT_EQ(db.run(script), "") << script;
        ASSERT_EQ(db.run(dialect_script(diagram, Dialect::sqlite, true)), "");
        EXPECT_EQ(catalogue_difference(sqlite_catalogue(db.get()), expected_catalogue(diagram, Dialect::sqlite)), "") << script;
    }
}

TEST(SqliteScripts, RowsThatBreakAForeignKeyAreRefusedAndDescriptionsKept) {
    SqliteDatabase db;
    ASSERT_EQ(db.run(dialect_script(test_diagram(1), Dialect::sqlite, false)), "");
    EXPECT_EQ(db.run("INSERT INTO CLIENTE (CODIGO, NOME, ATIVO) VALUES (1, 'Ana', 1)"), "");
    EXPECT_EQ(db.run("INSERT INTO PEDIDO (NUMERO, DATA, CLIENTE) VALUES (10, '2026-01-02', 1)"), "");
    EXPECT_EQ(db.run("INSERT INTO PEDIDO (NUMERO, DATA, CLIENTE) VALUES (11, '2026-01-02', 99)"), "FOREIGN KEY constraint failed");
    // Two key columns, one of them from the order.
    EXPECT_EQ(db.run("INSERT INTO PRODUTO (CODIGO, DESCRICAO, \"Preço\") VALUES (5, 'Caneta', 2.5)"), "");
    EXPECT_EQ(db.run("INSERT INTO \"Itens Pedido\" VALUES (10, 1, 5, 2, 2.5)"), "");
    EXPECT_EQ(db.run("INSERT INTO \"Itens Pedido\" VALUES (12, 1, 5, 2, 2.5)"), "FOREIGN KEY constraint failed");
    EXPECT_EQ(db.run("DELETE FROM CLIENTE"), "FOREIGN KEY constraint failed");
    // SQLite keeps a table's text, and with it the descriptions written as comments.
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db.get(), "SELECT sql FROM sqlite_schema WHERE name = 'CLIENTE'", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    const std::string sql = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    EXPECT_NE(sql.find("-- Quem compra: pessoa física ou jurídica."), std::string::npos) << sql;
    EXPECT_NE(sql.find("CODIGO INTEGER NOT NULL, -- Código"), std::string::npos) << sql;
}

// Every keyword SQLite knows either works bare as a table and column name or is on the list.
TEST(SqliteScripts, ReservedWordsAreTheOnesSqliteRefusesBare) {
    SqliteDatabase db;
    for (int i = 0; i < sqlite3_keyword_count(); ++i) {
        const char* name = nullptr;
        int size = 0;
        sqlite3_keyword_name(i, &name, &size);
        const std::string word(name, static_cast<std::size_t>(size));
        const bool refused = !db.run("CREATE TABLE " + word + " (x INT); DROP TABLE " + word).empty() ||
                             !db.run("CREATE TABLE t (" + word + " INT); DROP TABLE t").empty();
        db.run("DROP TABLE IF EXISTS t");
        EXPECT_EQ(refused, is_reserved_word(Dialect::sqlite, word)) << word;
    }
}

}  // namespace
}  // namespace dialect_tests
