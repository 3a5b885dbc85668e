// What the plan and the command decide before a database sees the script: the table order, what is
// left out with a warning, what is refused, and the command line.

#include <sqlite3.h>

#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "diagram/model_keys.h"
#include "dialects/schema_plan.h"
#include "dialects/script_writer.h"
#include "dialects/table_order.h"
#include "tests/support/entity_builder.h"
#include "tests/support/run_host.h"

namespace {

using test_support::Attribute;
using test_support::SecondaryKey;
using ::testing::HasSubstr;

Diagram diagram_of(std::vector<std::unique_ptr<TEntidade>> entities, std::vector<DiagramRelationship> relationships = {}) {
    Diagram d;
    for (auto& e : entities) d.entities.push_back(DiagramEntity{std::move(e), {}, std::nullopt, std::nullopt});
    d.relationships = std::move(relationships);
    return d;
}

DiagramRelationship relationship(const char* name, std::size_t from, std::size_t to) {
    DiagramRelationship r;
    r.name = name, r.from = from, r.to = to;
    return r;
}

// An end entity "Item" whose attributes `references` name relationship R from entity "Head".
Diagram head_and_item(const std::vector<Attribute>& head_key, std::vector<Attribute> references) {
    std::vector<std::unique_ptr<TEntidade>> entities;
    entities.push_back(test_support::make_entity("Head", "head", head_key));
    references.insert(references.begin(), {.nome = "id", .tipo = 3, .chave = true});
    entities.push_back(test_support::make_entity("Item", "item", references));
    for (int i = 1; i < entities[1]->atributos().Count(); ++i)
        static_cast<TAtributo*>(entities[1]->atributos().Objects(i))->origem = "R";
    std::vector<DiagramRelationship> relationships;
    relationships.push_back(relationship("R", 0, 1));
    return diagram_of(std::move(entities), std::move(relationships));
}

SchemaPlan plan(const Diagram& d, Dialect dialect) { return plan_schema(d, model_keys(d), dialect, "d.json"); }

TEST(TableOrder, ParentsComeFirstAndOnlyACycleWaitsForAlterTable) {
    // 1 -> 0, 0 -> 2 -> 0 (a cycle), 3 -> 3 (itself), 1 -> 3.
    const std::vector<TableReference> references = {{1, 0}, {0, 2}, {2, 0}, {3, 3}, {1, 3}};
    const TableOrder order = order_tables(4, references);
    EXPECT_EQ(order.tables, (std::vector<std::size_t>{1, 3, 0, 2}));
    EXPECT_EQ(order.after_tables, (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(order_tables(3, {}).tables, (std::vector<std::size_t>{0, 1, 2}));
}

TEST(DialectPlan, ForeignKeysADatabaseCannotHoldAreLeftOutWithAWarning) {
    // A SmallInt cannot refer to an Integer key in MySQL; the other dialects are held to the same.
    for (Dialect dialect : kDialects) {
        const SchemaPlan p = plan(head_and_item({{.nome = "k", .tipo = 3, .chave = true}}, {{.nome = "k", .tipo = 2}}), dialect);
        EXPECT_TRUE(p.foreign_keys.empty());
        EXPECT_THAT(p.warnings, ::testing::ElementsAre(HasSubstr("relationship \"R\" (#1): no foreign key written: its attribute \"k\" is SMALLINT")));
    }
    // Half of a two-column key.
    const SchemaPlan half = plan(head_and_item({{.nome = "a", .tipo = 3, .chave = true}, {.nome = "b", .tipo = 3, .chave = true}},
                                               {{.nome = "a", .tipo = 3}}),
                                 Dialect::postgresql);
    EXPECT_TRUE(half.foreign_keys.empty());
    EXPECT_THAT(half.warnings, ::testing::ElementsAre(HasSubstr("holds attributes for 1 of the 2 key attributes")));
    // A String of another length is the same type.
    const SchemaPlan strings = plan(head_and_item({{.nome = "k", .tipo = 1, .tamanho = 10, .chave = true}},
                                                  {{.nome = "k", .tipo = 1, .tamanho = 20}}),
                                    Dialect::mysql);
    EXPECT_EQ(strings.foreign_keys.size(), 1u);
    EXPECT_TRUE(strings.warnings.empty());
}

TEST(DialectPlan, WhatTheDatabaseWouldRefuseIsAnErrorNamingTheItem) {
    const auto refusal = [](Diagram d, Dialect dialect) {
        try {
            plan(d, dialect);
        } catch (const DialectError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const auto one = [](std::vector<Attribute> attributes, std::vector<SecondaryKey> keys = {}, std::string table = "t") {
        std::vector<std::unique_ptr<TEntidade>> entities;
        entities.push_back(test_support::make_entity("E", table, attributes, keys));
        return diagram_of(std::move(entities));
    };
    const Attribute id{.nome = "id", .tipo = 3, .chave = true};
    EXPECT_EQ(refusal(one({id}, {{"ix", "id+nome"}}), Dialect::sqlite),
              "d.json: entity \"E\" (#1), secondary key \"ix\" (#1): \"campos\" names \"nome\", which is no attribute of the entity");
    EXPECT_EQ(refusal(one({{.nome = "m", .tipo = 16, .chave = true}}), Dialect::mysql),
              "d.json: entity \"E\" (#1), attribute \"m\": a column of type LONGTEXT cannot be part of the primary key in MySQL/MariaDB");
    EXPECT_EQ(refusal(one({id}, {}, ""), Dialect::postgresql),
              "d.json: entity \"E\" (#1): the table name is empty (PostgreSQL)");
    // 32 letters of two bytes each in UTF-8.
    EXPECT_THAT(refusal(one({id}, {}, std::string(32, '\xE7')), Dialect::postgresql), HasSubstr("longer than the 63 bytes"));
    EXPECT_EQ(refusal(one({{.nome = "Id", .tipo = 3}, {.nome = "ID", .tipo = 3}}), Dialect::sqlite),
              "d.json: entity \"E\" (#1), attribute \"ID\": the attribute \"Id\" has the same column name in SQLite");
    EXPECT_EQ(refusal(one({{.nome = "Id", .tipo = 3}, {.nome = "ID", .tipo = 3}}), Dialect::postgresql), "no error");
    EXPECT_EQ(refusal(one({}), Dialect::mysql),
              "d.json: entity \"E\" (#1): the entity has no attributes, and MySQL/MariaDB makes no table without columns");
    // An expression is no list of names: the index is left out, with a warning.
    const SchemaPlan p = plan(one({id}, {{"ix", "UPPER(id)", kIndiceExpressao}}), Dialect::sqlite);
    EXPECT_TRUE(p.tables[0].indexes.empty());
    EXPECT_THAT(p.warnings, ::testing::ElementsAre(HasSubstr("no index written: its expression \"UPPER(id)\"")));
}

TEST(DialectPlan, MysqlRowsStayWithinTheirBytes) {
    std::vector<Attribute> attributes = {{.nome = "id", .tipo = 3, .chave = true}, {.nome = "short", .tipo = 1, .tamanho = 10}};
    for (int i = 0; i < 5; ++i) attributes.push_back({.nome = "s" + std::to_string(i), .tipo = 1, .tamanho = 4000 + i, .nulo = true});
    std::vector<std::unique_ptr<TEntidade>> entities;
    entities.push_back(test_support::make_entity("E", "t", attributes, {{"ix", "short"}}));
    const SchemaPlan p = plan(diagram_of(std::move(entities)), Dialect::mysql);
    std::vector<std::string> types;
    for (const PlannedColumn& c : p.tables[0].columns) types.push_back(c.type);
    // 5 x 16,000 bytes and more: the widest leaves the row.
    EXPECT_EQ(types, (std::vector<std::string>{"INT", "VARCHAR(10)", "VARCHAR(4000)", "VARCHAR(4001)", "VARCHAR(4002)",
                                               "VARCHAR(4003)", "LONGTEXT"}));
    EXPECT_THAT(p.warnings, ::testing::ElementsAre(HasSubstr("attribute \"s4\": written as LONGTEXT instead of VARCHAR(4004)")));
}

// SQLite counts an AutoInc key only as the table's one INTEGER PRIMARY KEY AUTOINCREMENT.
TEST(DialectPlan, SqliteCountsTheSingleAutoIncKey) {
    std::vector<std::unique_ptr<TEntidade>> entities;
    entities.push_back(test_support::make_entity("E", "t", {{.nome = "id", .tipo = 14, .chave = true}, {.nome = "n", .tipo = 14, .nulo = true}}));
    const Diagram d = diagram_of(std::move(entities));
    const std::string script = write_script(d, plan(d, Dialect::sqlite), false);
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    EXPECT_EQ(sqlite3_exec(db, (script + "INSERT INTO t (n) VALUES (5); INSERT INTO t (n) VALUES (6);").c_str(), nullptr, nullptr, nullptr),
              SQLITE_OK)
        << script;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT group_concat(id) FROM t", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "1,2");
    sqlite3_finalize(statement);
    sqlite3_close(db);
    EXPECT_THAT(script, HasSubstr("    id INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, -- id\n    n INTEGER -- n\n);"));
}

TEST(SqlDialectCommand, WritesUtf8WithLfAndTheBannerAndRefusesKindBesideIt) {
    ::setenv("SOURCE_DATE_EPOCH", "86400", 1);
    const std::string vendas = KZR40_SOURCE_DIR "/examples/vendas.json";
    const HostRun run = run_host({"sql", vendas, "--dialect", "PostgreSQL", "--drop"});
    ::unsetenv("SOURCE_DATE_EPOCH");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    EXPECT_THAT(run.out, ::testing::StartsWith("-- PostgreSQL schema written by kzr40\n-- Date: 02/01/1970 00:00:00\n"
                                               "-- Project: Vendas\n-- Server: SRV-VENDAS\n\nSET client_encoding = 'UTF8';\nBEGIN;\n\n"
                                               "DROP TABLE IF EXISTS \"Itens Pedido\";\n"));
    EXPECT_THAT(run.out, HasSubstr("    \"Preço Unitário\" NUMERIC(19,4) NOT NULL,\n"));
    EXPECT_THAT(run.out, HasSubstr("    CONSTRAINT \"Pedido_Itens\" FOREIGN KEY (\"PEDIDO\") REFERENCES \"PEDIDO\" (\"NUMERO\"),\n"));

    const HostRun both = run_host({"sql", vendas, "--dialect", "sqlite", "--kind", "oracle"});
    EXPECT_EQ(both.status, 2);
    EXPECT_THAT(both.err, HasSubstr("--dialect: cannot be given with --kind"));
    const HostRun unknown = run_host({"sql", vendas, "--dialect", "oracle"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_THAT(unknown.err, HasSubstr("--dialect: oracle not in {sqlite,postgresql,mysql,mariadb}"));
}

}  // namespace
