// Round trips: a diagram's script for SQLite (run in SQLite) or PostgreSQL (read with its parser),
// imported again, gives the same tables, columns, keys, indexes and foreign keys, on both examples, a
// diagram of extreme sizes and 200 seeded random diagrams.

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <tuple>

#include "diagram/model_keys.h"
#include "dialects/schema_plan.h"
#include "import/build_diagram.h"
#include "import/field_types.h"
#include "import/postgresql_source.h"
#include "import/sqlite_source.h"
#include "platform/ascii_case.h"
#include "plugin/registros.h"
#include "tests/dialects/catalogue.h"
#include "tests/dialects/dialect_scripts.h"

namespace {

using namespace dialect_tests;

// What an attribute becomes once it went through the dialect's column type and back (docs/import.md).
MappedType expected_type(Dialect dialect, const TAtributo& a, bool counter) {
    using namespace field_type;
    const std::int32_t size = a.tamanho, decimals = a.decimais;
    switch (a.tipo) {
        case kString:
            if (size <= 0 || size > 10485760) return {kMemo};
            return {kString, size};
        case kSmallInt: return {kSmallInt};
        case kInteger:
        case kWord: return {kInteger};
        case kAutoInc: return {counter ? kAutoInc : kInteger};
        case kBoolean: return {kBoolean};
        case kFloat: return {kFloat};
        case kCurrency: return {kBcd, 19, 4};
        case kBcd:
            if (size <= 0) return {kBcd};
            return {kBcd, std::min(size, 1000), std::min(std::max(decimals, 0), std::min(size, 1000))};
        case kDate: return {kDate};
        case kTime: return {kTime};
        case kDateTime: return {kDateTime};
        case kMemo: return {kMemo};
        default: return {kBlob};
    }
    (void)dialect;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;
// A foreign key by its tables and column pairs (and its name where the database keeps it).
using Key = std::tuple<std::string, std::string, std::string, Pairs>;

std::set<Key> planned_keys(const Diagram& d, Dialect dialect, bool named) {
    const SchemaPlan plan = plan_schema(d, model_keys(d), dialect, "original");
    std::set<Key> keys;
    for (const PlannedForeignKey& key : plan.foreign_keys) {
        const PlannedTable& child = plan.tables[key.child];
        const PlannedTable& parent = plan.tables[key.parent];
        Pairs pairs;
        for (std::size_t i = 0; i < key.child_columns.size(); ++i)
            pairs.emplace_back(std::string(parent.columns[key.parent_columns[i]].name), std::string(child.columns[key.child_columns[i]].name));
        keys.emplace(std::string(parent.name), std::string(child.name), named ? key.name : "", pairs);
    }
    return keys;
}

const TEntidade* entity_named(const Diagram& d, const std::string& tabela) {
    for (const DiagramEntity& e : d.entities)
        if (e.entity->tabela().str() == tabela) return e.entity.get();
    return nullptr;
}

// Every entity, attribute (name, type, size, decimals, nullability, key order), index and foreign key.
void expect_same_model(const Diagram& original, const Diagram& imported, Dialect dialect) {
    ASSERT_EQ(imported.entities.size(), original.entities.size());
    const SchemaPlan plan = plan_schema(original, model_keys(original), dialect, "original");
    for (const PlannedTable& table : plan.tables) {
        SCOPED_TRACE(std::string(table.name));
        const TEntidade* back = entity_named(imported, std::string(table.name));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->entidade().str(), std::string(table.name));
        ASSERT_EQ(back->atributos().Count(), static_cast<int>(table.columns.size()));
        // Key columns come first in key order; the others keep their place.
        std::vector<std::size_t> order(table.primary_key.begin(), table.primary_key.end());
        for (std::size_t i = 0; i < table.columns.size(); ++i)
            if (std::find(order.begin(), order.end(), i) == order.end()) order.push_back(i);
        for (int i = 0; i < back->atributos().Count(); ++i) {
            const PlannedColumn& column = table.columns[order[static_cast<std::size_t>(i)]];
            const auto* record = static_cast<const TAtributo*>(back->atributos().Objects(i));
            SCOPED_TRACE(std::string(column.name));
            EXPECT_EQ(record->nome.str(), std::string(column.name));
            const MappedType want = expected_type(dialect, *column.record, column.counter);
            EXPECT_EQ((MappedType{record->tipo, record->tamanho, record->decimais}), want)
                << field_type_name(record->tipo) << " " << record->tamanho << "," << record->decimais << " for "
                << field_type_name(want.tipo) << " " << want.tamanho << "," << want.decimais;
            EXPECT_EQ((record->opcoes & kOpcaoAceitaNulo) != 0, !column.not_null);
            EXPECT_EQ((record->chave & kChavePrimaria) != 0, static_cast<std::size_t>(i) < table.primary_key.size());
            // PostgreSQL keeps the titles as the columns' comments.
            if (dialect == Dialect::postgresql) {
                EXPECT_EQ(record->titulo.str(), column.record->titulo.str());
            }
        }
        // PostgreSQL keeps no order in a key; SQLite none in a key that is the row id (one INTEGER column).
        const bool row_id = table.primary_key.size() == 1 && table.columns[table.primary_key[0]].type == "INTEGER";
        EXPECT_EQ(back->Primaria() == kPrimariaDescendente, table.primary_descending && !table.primary_key.empty() && dialect == Dialect::sqlite && !row_id);
        ASSERT_EQ(back->ChavesSecundarias().Count(), static_cast<int>(table.indexes.size()));
        for (std::size_t i = 0; i < table.indexes.size(); ++i) {
            const PlannedIndex& index = table.indexes[i];
            const auto* record = static_cast<const TChaveSecundaria*>(back->ChavesSecundarias().Objects(static_cast<int>(i)));
            EXPECT_EQ(back->ChavesSecundarias().Text(static_cast<int>(i)).str(), std::string(index.name));
            std::string fields;
            for (std::size_t c : index.columns) fields += (fields.empty() ? "" : "+") + std::string(table.columns[c].name);
            EXPECT_EQ(record->campos.str(), fields);
            EXPECT_EQ((record->tipo_indice & kIndiceDuplicados) == 0, index.unique);
            EXPECT_EQ((record->tipo_indice & kIndiceDescendente) != 0, index.descending);
        }
    }
    // SQLite keeps no constraint names; PostgreSQL keeps them, and the import names the relationships so.
    const bool named = dialect == Dialect::postgresql;
    EXPECT_EQ(planned_keys(imported, dialect, named), planned_keys(original, dialect, named));
    EXPECT_EQ(imported.relationships.size(), planned_keys(original, dialect, false).size());
}

Diagram imported(const SourceSchema& schema, std::vector<std::string>& notes) {
    return build_diagram(schema, "script", ImportOptions{}, notes);
}

TEST(ImportRoundTrip, SqliteScriptsGiveTheirDiagramsBack) {
    const auto names = test_diagram_names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const Diagram original = test_diagram(i);
        std::vector<std::string> notes;
        const Diagram back = imported(import_sql_script(dialect_script(original, Dialect::sqlite, false), "script"), notes);
        EXPECT_EQ(notes, std::vector<std::string>{});
        EXPECT_EQ(catalogue_difference(expected_catalogue(back, Dialect::sqlite), expected_catalogue(original, Dialect::sqlite)), "");
        expect_same_model(original, back, Dialect::sqlite);
        if (HasFailure()) {
            std::cerr << "the script:\n" << dialect_script(original, Dialect::sqlite, false);
            return;
        }
        if (HasFatalFailure()) return;
    }
}

TEST(ImportRoundTrip, PostgresqlScriptsGiveTheirDiagramsBack) {
    const auto names = test_diagram_names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const Diagram original = test_diagram(i);
        std::vector<std::string> notes;
        const std::string script = dialect_script(original, Dialect::postgresql, i % 2 == 1);
        const Diagram back = imported(import_postgresql_script(script, "script"), notes);
        EXPECT_EQ(notes, std::vector<std::string>{});
        EXPECT_EQ(catalogue_difference(expected_catalogue(back, Dialect::postgresql),
                                       expected_catalogue(original, Dialect::postgresql)),
                  "");
        expect_same_model(original, back, Dialect::postgresql);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
