// The SQLite scripts loaded into SQLite itself (the library the project links), with foreign keys on.

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <set>

#include "diagram/model_keys.h"
#include "dialects/reserved_words.h"
#include "dialects/schema_plan.h"
#include "plugin/registros.h"
#include "tests/dialects/catalogue.h"
#include "tests/dialects/dialect_scripts.h"

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

// The diagrams the databases are given reach what the scripts must get right, so that the suites
// above prove it: every field type, composite and self-referring foreign keys, keys that only ALTER
// TABLE can add, counters, and names that are reserved words or hold accents or quotes.
TEST(SqliteScripts, TheTestDiagramsReachEveryCase) {
    std::set<std::int32_t> types;
    int composite = 0, self = 0, after_tables = 0, counters = 0, reserved = 0, accented = 0, quoted = 0;
    for (std::size_t i = 0; i < test_diagram_names().size(); ++i) {
        const Diagram diagram = test_diagram(i);
        const SchemaPlan plan = plan_schema(diagram, model_keys(diagram), Dialect::postgresql, "test.json");
        for (const PlannedForeignKey& key : plan.foreign_keys) {
            composite += key.child_columns.size() > 1;
            self += key.child == key.parent;
            after_tables += key.after_tables;
        }
        const auto name = [&](std::string_view n) {
            reserved += is_reserved_word(Dialect::postgresql, n) && is_reserved_word(Dialect::mysql, n);
            accented += std::any_of(n.begin(), n.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
            quoted += n.find_first_of("\"`'") != std::string_view::npos;
        };
        for (const PlannedTable& table : plan.tables) {
            name(table.name);
            for (const PlannedColumn& column : table.columns) {
                types.insert(column.record->tipo);
                counters += column.counter;
                name(column.name);
            }
        }
    }
    EXPECT_EQ(types.size(), 20u);
    for (int count : {composite, self, after_tables, counters, reserved, accented, quoted}) EXPECT_GE(count, 10);
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
