// The PostgreSQL and MySQL scripts loaded into servers of the suite's own (tests/dialects/scratch_server.h):
// one server per suite, each diagram in a schema (PostgreSQL) or database (MariaDB) of its own. ctest
// runs each suite as one test (tests/CMakeLists.txt); without the server installed it is skipped with
// what to install.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "tests/dialects/catalogue.h"
#include "tests/dialects/dialect_scripts.h"
#include "dialects/reserved_words.h"
#include "tests/dialects/scratch_server.h"

namespace dialect_tests {
namespace {

namespace fs = std::filesystem;

template <class Server>
class ServerSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new Server;
        missing_ = server_->missing().value_or("");
        if (missing_.empty()) problem_ = server_->start();
        char pattern[] = "/tmp/kzr40-scripts-XXXXXX";
        scripts_ = mkdtemp(pattern);
    }
    static void TearDownTestSuite() {
        delete server_;  // stops the server and removes its directory
        server_ = nullptr;
        std::error_code ignored;
        fs::remove_all(scripts_, ignored);
    }
    // Skipped where the server is not installed; a server that is there but does not start fails.
    void SetUp() override {
        if (!missing_.empty()) GTEST_SKIP() << missing_;
        if (!problem_.empty()) FAIL() << problem_;
    }

    static std::string write(const std::string& name, const std::string& text) {
        const fs::path file = scripts_ / name;
        std::ofstream(file, std::ios::binary) << text;
        return file.string();
    }
    static std::string schema(std::size_t i) { return "d" + std::to_string(1000 + i); }

    // Loads every test diagram's script, and its dropping script over it, each into a schema of its
    // own, then compares each schema's catalogue with the diagram.
    void every_diagram_loads_twice_and_the_catalogue_holds_it(Dialect dialect,
                                                              std::map<std::string, Catalogue> (*catalogues)(Server&, const std::string&)) {
        const auto names = test_diagram_names();
        std::vector<Catalogue> expected;
        std::vector<std::pair<std::string, std::string>> scripts, dropping;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const Diagram diagram = test_diagram(i);
            scripts.emplace_back(schema(i), dialect_script(diagram, dialect, false));
            dropping.emplace_back(schema(i), dialect_script(diagram, dialect, true));
            expected.push_back(expected_catalogue(diagram, dialect));
        }
        ASSERT_EQ(server_->load_all(scripts, scripts_ / "all.sql"), "");
        ASSERT_EQ(server_->load_all(dropping, scripts_ / "all-drop.sql"), "");
        const auto found = catalogues(*server_, "d1");
        EXPECT_FALSE(found.contains("error")) << found.at("error").front();
        for (std::size_t i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i] + ", in " + schema(i));
            EXPECT_EQ(catalogue_difference(found.contains(schema(i)) ? found.at(schema(i)) : Catalogue{}, expected[i]), "")
                << scripts[i].second;
        }
    }

    inline static Server* server_ = nullptr;
    inline static std::string missing_, problem_;
    inline static fs::path scripts_;
};

class PostgresqlServer : public ServerSuite<ScratchPostgresql> {};
class MariadbServer : public ServerSuite<ScratchMariadb> {};

TEST_F(PostgresqlServer, EveryDiagramLoadsTwiceAndTheCatalogueHoldsIt) {
    every_diagram_loads_twice_and_the_catalogue_holds_it(Dialect::postgresql, &postgresql_catalogues);
}

TEST_F(MariadbServer, EveryDiagramLoadsTwiceAndTheCatalogueHoldsIt) {
    every_diagram_loads_twice_and_the_catalogue_holds_it(Dialect::mysql, &mariadb_catalogues);
}

TEST_F(PostgresqlServer, RowsThatBreakAForeignKeyAreRefused) {
    ASSERT_EQ(server_->load("vendas", write("vendas.sql", dialect_script(test_diagram(1), Dialect::postgresql, false))), "");
    std::string errors;
    server_->query("vendas", "INSERT INTO \"CLIENTE\" VALUES (1, 'Ana', NULL, NULL, NULL, NULL, NULL, true); "
                             "INSERT INTO \"PEDIDO\" VALUES (10, '2026-01-02', 1, NULL, NULL)", &errors);
    EXPECT_EQ(errors, "");
    server_->query("vendas", "INSERT INTO \"PEDIDO\" VALUES (11, '2026-01-02', 99, NULL, NULL)", &errors);
    EXPECT_NE(errors.find("violates foreign key constraint \"Cliente_Pedido\""), std::string::npos) << errors;
    server_->query("vendas", "INSERT INTO \"Itens Pedido\" VALUES (12, 1, 5, 2, 2.5)", &errors);
    EXPECT_NE(errors.find("violates foreign key constraint"), std::string::npos) << errors;
    const auto comments = server_->query("vendas", "SELECT obj_description('\"CLIENTE\"'::regclass), "
                                                   "col_description('\"CLIENTE\"'::regclass, 1)", &errors);
    EXPECT_EQ(comments, (std::vector<std::vector<std::string>>{{"Quem compra: pessoa física ou jurídica.", "Código"}})) << errors;
}

TEST_F(MariadbServer, RowsThatBreakAForeignKeyAreRefused) {
    ASSERT_EQ(server_->load("vendas", write("vendas.sql", dialect_script(test_diagram(1), Dialect::mysql, false))), "");
    std::string errors;
    server_->query("vendas", "INSERT INTO CLIENTE VALUES (1, 'Ana', NULL, NULL, NULL, NULL, NULL, true); "
                             "INSERT INTO PEDIDO VALUES (10, '2026-01-02', 1, NULL, NULL)", &errors);
    EXPECT_EQ(errors, "");
    server_->query("vendas", "INSERT INTO PEDIDO VALUES (11, '2026-01-02', 99, NULL, NULL)", &errors);
    EXPECT_NE(errors.find("a foreign key constraint fails"), std::string::npos) << errors;
    EXPECT_NE(errors.find("CONSTRAINT `Cliente_Pedido`"), std::string::npos) << errors;
    const auto comments = server_->query("vendas", "SELECT TABLE_COMMENT FROM information_schema.TABLES WHERE "
                                                   "TABLE_SCHEMA = 'vendas' AND TABLE_NAME = 'CLIENTE'", &errors);
    EXPECT_EQ(comments, (std::vector<std::vector<std::string>>{{"Quem compra: pessoa física ou jurídica."}})) << errors;
}

// PostgreSQL's reserved words are its keywords of categories R and T.
TEST_F(PostgresqlServer, ReservedWordsAreTheServersOwn) {
    std::string errors;
    const auto rows = server_->query({}, "SELECT upper(word) FROM pg_get_keywords() WHERE catcode IN ('R', 'T') ORDER BY 1", &errors);
    std::set<std::string> server_words, ours;
    for (const auto& row : rows) server_words.insert(row[0]);
    for (std::string_view word : reserved_words(Dialect::postgresql)) ours.insert(std::string(word));
    EXPECT_EQ(ours, server_words) << errors;
}

// Every keyword MariaDB knows that is not on the list works bare as a table and a column name.
TEST_F(MariadbServer, ReservedWordsAreTheServersOwn) {
    std::string errors;
    const auto rows = server_->query({}, "SELECT WORD FROM information_schema.KEYWORDS", &errors);
    std::set<std::string> keywords;
    std::string script = "CREATE DATABASE words; USE words;\n";
    for (const auto& row : rows) {
        keywords.insert(row[0]);
        if (is_reserved_word(Dialect::mysql, row[0]) || row[0].find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789") != std::string::npos)
            continue;
        script += "CREATE TABLE " + row[0] + " (" + row[0] + " INT); DROP TABLE " + row[0] + ";\n";
    }
    ASSERT_GT(keywords.size(), 500u) << errors;
    const CommandResult result = server_->client({}, {}, write("words.sql", script));
    EXPECT_EQ(result.errors, "");
    for (std::string_view word : reserved_words(Dialect::mysql)) EXPECT_TRUE(keywords.contains(std::string(word))) << word;
}

}  // namespace
}  // namespace dialect_tests
