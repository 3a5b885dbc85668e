// The round trip through the tables that a generated Lazarus application creates: its GerarDBs unit,
// as built by the Lazarus checks (tests/lazarus), creates the dBase VII tables and production indexes
// with TDbf; `kzr40 import` of that data directory gives back the diagram's tables, fields (the types
// dBase holds), keys and indexes. Runs as the CTest check lazarus_import, on what lazarus_build leaves
// in KZR40_LAZARUS_WORK; skipped without it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "diagram/diagram.h"
#include "host/menu_entries.h"
#include "import/field_types.h"
#include "platform/ascii_case.h"
#include "platform/table.h"
#include "plugin/entity_copy.h"
#include "plugin/entity_view.h"
#include "plugin/exports.h"
#include "plugin/registros.h"
#include "tests/support/run_host.h"

namespace {

namespace fs = std::filesystem;
using namespace field_type;
constexpr std::int32_t kDbase = 1;

// What a field of the catalogue type comes back as, once TDbf made it a dBase VII field
// (docs/import.md, "The Lazarus target's tables").
MappedType through_dbase(std::int32_t tipo, std::int32_t size) {
    switch (tipo) {
        case kString: return {kString, size};
        case kSmallInt: return {kSmallInt};
        case kInteger: return {kInteger};
        case kWord: return {kInteger};
        case kAutoInc: return {kAutoInc};
        case kBoolean: return {kBoolean};
        case kFloat:
        case kCurrency:
        case kBcd: return {kBcd, 18, 8};
        case kDate: return {kDate};
        case kTime:
        case kDateTime: return {kDateTime};
        case kMemo:
        case kFmtMemo: return {kMemo};
        default: return {kBlob};
    }
}

const TEntidade* entity_with_table(const Diagram& d, const std::string& table) {
    for (const DiagramEntity& e : d.entities)
        if (AsciiUpperCase(e.entity->tabela().str()) == AsciiUpperCase(table)) return e.entity.get();
    return nullptr;
}

std::vector<std::string> upper_parts(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(AsciiUpperCase(text.substr(start, end - start)));
        start = end + 1;
    }
    return parts;
}

// The folder under the built project that holds its compiled GerarDBs unit.
std::optional<fs::path> unit_folder(const fs::path& project) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(project / "lib", error), end; !error && it != end; it.increment(error))
        if (it->path().filename() == "GerarDBs.ppu") return it->path().parent_path();
    return std::nullopt;
}

void expect_tables_give_back(const Diagram& original, const Diagram& imported) {
    EXPECT_TRUE(imported.relationships.empty()) << "dBase keeps no foreign keys";
    ASSERT_EQ(imported.entities.size(), original.entities.size());
    for (const DiagramEntity& source : original.entities) {
        const TEntidade& entity = *source.entity;
        const std::string table_name = form_table_name(entity, kDbase);
        SCOPED_TRACE(table_name);
        const TEntidade* back = entity_with_table(imported, table_name);
        ASSERT_NE(back, nullptr);
        // The fields as the target creates them (gera_tab), the keys and indexes as the model reads them.
        const std::unique_ptr<TEntidade> copy = copy_entity(entity);
        copy->SetTabela(table_name);
        TTable table;
        gera_tab(&table, copy.get(), "", kDbase, true);
        const EntityView view(*copy, kDbase);
        std::vector<std::string> key_names, order;
        for (const ColumnView* key : view.keys()) key_names.push_back(AsciiUpperCase(key->name));
        order = key_names;
        for (int i = 0; i < table.FieldDefs().Count(); ++i) {
            const std::string name = AsciiUpperCase(table.FieldDefs()[i].Name);
            if (std::find(order.begin(), order.end(), name) == order.end()) order.push_back(name);
        }
        ASSERT_EQ(back->atributos().Count(), table.FieldDefs().Count());
        for (int i = 0; i < back->atributos().Count(); ++i) {
            const auto* record = static_cast<const TAtributo*>(back->atributos().Objects(i));
            const std::string name = AsciiUpperCase(record->nome.str());
            SCOPED_TRACE(name);
            EXPECT_EQ(name, order[static_cast<std::size_t>(i)]);
            const TFieldDef* field = nullptr;
            for (int f = 0; f < table.FieldDefs().Count(); ++f)
                if (AsciiUpperCase(table.FieldDefs()[f].Name) == name) field = &table.FieldDefs()[f];
            ASSERT_NE(field, nullptr);
            const MappedType want = through_dbase(field->DataType, field->Size);
            EXPECT_EQ((MappedType{record->tipo, record->tamanho, record->decimais}), want)
                << field_type_name(record->tipo) << " " << record->tamanho << "," << record->decimais;
            const bool key = static_cast<std::size_t>(i) < key_names.size();
            EXPECT_EQ((record->chave & kChavePrimaria) != 0, key);
            // dBase VII keeps no "required": every field but a key's and a counter takes null.
            EXPECT_EQ((record->opcoes & kOpcaoAceitaNulo) != 0, !key && want.tipo != kAutoInc);
        }
        EXPECT_EQ(back->Primaria() == kPrimariaDescendente, !key_names.empty() && (entity.Primaria() & kPrimariaDescendente));
        ASSERT_EQ(back->ChavesSecundarias().Count(), static_cast<int>(view.secondary_keys().size()));
        for (std::size_t i = 0; i < view.secondary_keys().size(); ++i) {
            const SecondaryKeyView& key = view.secondary_keys()[i];
            const auto* record = static_cast<const TChaveSecundaria*>(back->ChavesSecundarias().Objects(static_cast<int>(i)));
            SCOPED_TRACE(std::string(key.name));
            EXPECT_EQ(AsciiUpperCase(back->ChavesSecundarias().Text(static_cast<int>(i)).str()), AsciiUpperCase(key.name));
            EXPECT_EQ(upper_parts(record->campos.str(), '+'), upper_parts(key.fields, '+'));
            EXPECT_EQ((record->tipo_indice & kIndiceDuplicados) == 0, key.options.unique);
            EXPECT_EQ((record->tipo_indice & kIndiceDescendente) != 0, key.options.descending);
        }
    }
}

TEST(ImportLazarusTables, TablesThatTheGeneratedApplicationCreatesGiveTheDiagramBack) {
    const char* work_variable = std::getenv("KZR40_LAZARUS_WORK");
    if (!work_variable) GTEST_SKIP() << "KZR40_LAZARUS_WORK is not set (the CTest check lazarus_import sets it)";
    const fs::path work = work_variable;
    if (!fs::exists(work / "vendas" / "Vendas")) GTEST_SKIP() << "the Lazarus applications are not built in " << work;
    const fs::path examples = fs::path(KZR40_SOURCE_DIR) / "examples";
    std::vector<std::pair<std::string, fs::path>> apps = {{"vendas", examples / "vendas.json"},
                                                          {"cliente", examples / "cliente.json"}};
    for (int seed = 1; seed <= 5; ++seed)
        if (fs::exists(work / ("random" + std::to_string(seed) + ".json")))
            apps.emplace_back("random" + std::to_string(seed), work / ("random" + std::to_string(seed) + ".json"));
    const fs::path here = work / "import";
    fs::remove_all(here);
    fs::create_directories(here);
    // CriarTodas of the application's own compiled unit, in a program without a window.
    {
        std::ofstream(here / "make_tables.pas") << "program make_tables;\n{$mode objfpc}{$H+}\nuses SysUtils, GerarDBs;\n"
                                                   "begin\n  CriarTodas(IncludeTrailingPathDelimiter(ExpandFileName(ParamStr(1))), False);\nend.\n";
    }
    for (const auto& [name, diagram_file] : apps) {
        SCOPED_TRACE(name);
        const std::optional<fs::path> units = unit_folder(work / name);
        ASSERT_TRUE(units) << "no compiled GerarDBs unit under " << work / name;
        const fs::path build = here / name;
        fs::create_directories(build);
        const std::string compile = "fpc -Fu'" + units->string() + "' -FU'" + build.string() + "' -o'" +
                                    (build / "make_tables").string() + "' '" + (here / "make_tables.pas").string() +
                                    "' >'" + (build / "fpc.log").string() + "' 2>&1";
        ASSERT_EQ(std::system(compile.c_str()), 0) << compile;
        const fs::path data = build / "dados";
        const std::string create = "'" + (build / "make_tables").string() + "' '" + data.string() + "'";
        ASSERT_EQ(std::system(create.c_str()), 0) << create;

        const fs::path out = build / "imported.json";
        const HostRun run = run_host({"import", data.string(), "-o", out.string()});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.find("kzr40:"), std::string::npos) << run.err;  // no note (a sanitizer may report its suppressions)
        expect_tables_give_back(load_diagram(diagram_file), load_diagram(out));
        if (HasFatalFailure()) return;
    }
}

}  // namespace
