// The pieces a script is put together from: each table's statements written while planning, with the
// foreign keys put in afterwards; the column types held in place; the reserved-word filter.

#include <gtest/gtest.h>

#include <cctype>
#include <climits>

#include "diagram/model_keys.h"
#include "dialects/column_types.h"
#include "dialects/reserved_words.h"
#include "dialects/schema_plan.h"
#include "dialects/script_writer.h"
#include "tests/support/entity_builder.h"

namespace {

using test_support::Attribute;

// Head(id) and Item(id, ref), ref referring to Head through R; `item_key` is Item's key type.
Diagram head_and_item(std::int32_t item_key, bool relationship) {
    Diagram d;
    d.entities.push_back(DiagramEntity{test_support::make_entity("Head", "head", {{.nome = "id", .tipo = 3, .chave = true}}), {}, std::nullopt, std::nullopt});
    d.entities.push_back(DiagramEntity{test_support::make_entity("Item", "item", {{.nome = "id", .tipo = item_key, .chave = true}, {.nome = "ref", .tipo = 3}}),
                                       {}, std::nullopt, std::nullopt});
    if (relationship) {
        static_cast<TAtributo*>(d.entities[1].entity->atributos().Objects(1))->origem = "R";
        DiagramRelationship r;
        r.name = "R", r.from = 0, r.to = 1;
        d.relationships.push_back(std::move(r));
    }
    return d;
}

std::string item_table(const Diagram& d, Dialect dialect) {
    const std::string script = write_script(d, plan_schema(d, model_keys(d), dialect, "d.json"), false);
    const std::size_t start = script.find("CREATE TABLE item");
    return script.substr(start, script.find(";\n", start) + 2 - start);
}

// The comma of the table's last line goes before a SQLite description, and only when a foreign key follows.
TEST(TableStatements, ForeignKeysFollowTheLastLineWithItsComma) {
    EXPECT_EQ(item_table(head_and_item(14, true), Dialect::sqlite),
              "CREATE TABLE item (\n    id INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, -- id\n    ref INTEGER NOT NULL, -- ref\n"
              "    CONSTRAINT R FOREIGN KEY (ref) REFERENCES head (id)\n);\n");
    EXPECT_EQ(item_table(head_and_item(14, false), Dialect::sqlite),
              "CREATE TABLE item (\n    id INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, -- id\n    ref INTEGER NOT NULL -- ref\n);\n");
    EXPECT_EQ(item_table(head_and_item(3, true), Dialect::postgresql),
              "CREATE TABLE item (\n    id INTEGER NOT NULL,\n    ref INTEGER NOT NULL,\n    PRIMARY KEY (id),\n"
              "    CONSTRAINT \"R\" FOREIGN KEY (ref) REFERENCES head (id)\n);\n");
}

// Every type the mapping writes, at the sizes where it changes and beyond, fits its place whole.
TEST(TableStatements, EveryColumnTypeFitsWhole) {
    const std::int32_t sizes[] = {0, 1, 255, 256, 768, 769, 16383, 16384, 65532, 65533, 10485760, 10485761, INT32_MAX, -1};
    for (Dialect dialect : kDialects)
        for (std::int32_t tipo = 0; tipo < 20; ++tipo)
            for (std::int32_t size : sizes)
                for (std::int32_t decimals : {0, 30, 1000, INT32_MAX})
                    EXPECT_LT(column_type(dialect, tipo, size, decimals).view().size(), ColumnType::kCapacity)
                        << dialect_name(dialect) << " " << tipo << " " << size << "," << decimals;
}

// The filter in front of the search lets every reserved word through, in any letter case.
TEST(TableStatements, EveryReservedWordIsFoundInAnyCase) {
    for (Dialect dialect : kDialects)
        for (std::string_view word : reserved_words(dialect)) {
            std::string lower(word), mixed(word);
            for (std::size_t i = 0; i < word.size(); ++i) {
                lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(word[i])));
                if (i % 2) mixed[i] = lower[i];
            }
            EXPECT_TRUE(is_reserved_word(dialect, lower)) << lower;
            EXPECT_TRUE(is_reserved_word(dialect, mixed)) << mixed;
            EXPECT_FALSE(is_reserved_word(dialect, lower + "_x")) << lower;
        }
}

}  // namespace
