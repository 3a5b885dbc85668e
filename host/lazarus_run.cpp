#include "host/lazarus_run.h"

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>

#include "appgen/formulario_manutencao.h"
#include "host/application_run.h"
#include "host/menu_entries.h"
#include "lazarus/dbf_tables.h"
#include "lazarus/lcl_form.h"
#include "lazarus/pascal_sources.h"
#include "platform/ascii_case.h"
#include "platform/files/whole_file.h"
#include "platform/formfile/binary.h"
#include "platform/line_sink.h"
#include "platform/table.h"
#include "platform/utf8_cp1252.h"
#include "plugin/entidade.h"
#include "plugin/entity_copy.h"
#include "plugin/entity_view.h"
#include "plugin/exports.h"
#include "plugin/generated_names.h"
#include "plugin/nomes.h"

namespace fs = std::filesystem;

namespace {

// The staging directory is the run's all-or-nothing: a plain write into it is enough.
void write_text(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error(file.filename().string() + ": cannot write the file");
}

// dBase: the kind whose names and table files the target's tables follow.
constexpr std::int32_t kDbase = 1;

struct EntityTables {
    std::string table;  // sanitised
    std::unique_ptr<TEntidade> entity;
    std::unique_ptr<TTable> definition = std::make_unique<TTable>();
};

std::string entity_name(const TEntidade& entity) { return cp1252_to_utf8(entity.entidade().view()); }

formfile::ObjectNode read_design(const fs::path& file) {
    return formfile::read_form_file(read_whole_file(file.string(), std::uintmax_t{64} << 20));
}

// The start entity of the relationship an attribute came from, as a lookup source.
lazarus::Lookups lookups_of(const Diagram& diagram, std::size_t index, const std::vector<EntityTables>& tables) {
    lazarus::Lookups lookups;
    const EntityView view(*tables[index].entity, kDbase);
    for (const ColumnView& column : view.columns()) {
        if (column.record->origem.empty()) continue;
        for (const DiagramRelationship& r : diagram.relationships) {
            if (r.name != column.record->origem.view()) continue;
            const std::size_t start = r.from == index ? r.to : r.from;
            if (start >= tables.size() || start == index) continue;
            const EntityView source(*tables[start].entity, kDbase);
            if (source.keys().empty()) continue;
            lazarus::LookupSource lookup{tables[start].table, std::string(source.keys()[0]->name), {}};
            for (const ColumnView& other : source.columns())
                if (!other.key && !other.refused() && other.record->tipo == lazarus::kFtString) {
                    lookup.list_field = std::string(other.name);
                    break;
                }
            if (lookup.list_field.empty()) lookup.list_field = lookup.key_field;
            lookups.emplace(AsciiUpperCase(std::string(column.name)), std::move(lookup));
            break;
        }
    }
    return lookups;
}

// The Free Pascal and LCL units whose names a form unit (M + table) can take: the program reaches them
// through the units it uses, and a unit of that name in the project directory would be compiled instead.
const char* library_unit_named(const std::string& upper_name) {
    static constexpr const char* kUnits[] = {"MacPas", "MaskEdit", "MaskUtils", "Masks", "Math", "Matrix",
                                             "MemDS", "Menus", "Messages", "Mouse"};
    for (const char* unit : kUnits)
        if (AsciiUpperCase(unit) == upper_name) return unit;
    return nullptr;
}

}  // namespace

std::vector<std::string> generate_lazarus(const Diagram& diagram, const fs::path& scratch, const fs::path& output,
                                          const std::string& title) {
    std::string program = title;
    limpa_identificador(kDbase, program);

    // What the target cannot build is refused before anything is generated.
    std::vector<EntityTables> tables;
    for (std::size_t i = 0; i < diagram.entities.size(); ++i) {
        const TEntidade& entity = *diagram.entities[i].entity;
        EntityTables item;
        item.table = form_table_name(entity, kDbase);
        item.entity = copy_entity(entity);
        item.entity->SetTabela(item.table);
        const std::string which = "entity \"" + entity_name(entity) + "\" (#" + std::to_string(i + 1) + ")";
        if (entity.Tipoform() < 0 || entity.Tipoform() > 2)
            throw std::runtime_error(which + ": form type " + std::to_string(entity.Tipoform()) +
                                     " has no layout, so its menu item would open no form");
        if (AsciiUpperCase("M" + item.table) == AsciiUpperCase(program))
            throw std::runtime_error(which + ", table " + item.table + ": its unit M" + item.table +
                                     " has the name of the program " + program + ".lpr; rename the table or give another --title");
        if (const char* library = library_unit_named(AsciiUpperCase("M" + item.table)))
            throw std::runtime_error(which + ", table " + item.table + ": its unit M" + item.table +
                                     " would hide the library unit " + library +
                                     " that the program uses, and it would not compile; rename the table");
        gera_tab(item.definition.get(), item.entity.get(), "", kDbase, true);
        const EntityView view(*item.entity, kDbase);
        const std::string problem = lazarus::dbf_problem(*item.definition, view, item.table);
        if (!problem.empty())
            throw std::runtime_error(which + ", table " + item.table + ": " + problem + "; the Lazarus target cannot create it");
        tables.push_back(std::move(item));
    }

    const fs::path designs = scratch / ".faithful";
    fs::create_directory(designs);
    struct RemoveDesigns {
        fs::path path;
        ~RemoveDesigns() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } remove_designs{designs};

    try {
        generate_main_project(diagram, ApplicationPaths{designs, output}, kDbase, title);
    } catch (const std::exception& e) {
        throw std::runtime_error("main project not generated: " + std::string(e.what()));
    }

    struct : LineSink {
        void write_line(std::span<const std::string_view>) override {}
    } nothing;
    const std::function<LineSink&()> discard = [&]() -> LineSink& { return nothing; };
    std::vector<std::string> files;
    std::vector<std::string> units;
    std::vector<lazarus::TableUnitEntry> entries;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const EntityTables& item = tables[i];
        const GeneratedNames names = generated_names(item.table);
        // The faithful form's design, built as `gerarform` builds it; its Delphi unit is not needed.
        std::optional<formfile::ObjectNode> design;
        try {
            design = construir_formulario_manutencao(*item.definition, *item.entity, kDbase, discard);
        } catch (const std::exception& e) {
            throw std::runtime_error("entity \"" + entity_name(*item.entity) + "\": form not generated: " +
                                     cp1252_to_utf8(e.what()));
        }
        formfile::ObjectNode& form = *design;
        lazarus::adapt_to_lcl(form);
        const EntityView view(*item.entity, kDbase);
        lazarus::make_usable(form, *item.definition, view, lookups_of(diagram, i, tables));
        write_text(scratch / (names.unit + ".lfm"), lazarus::lfm_text(form));
        write_text(scratch / (names.unit + ".pas"), lazarus::maintenance_unit(form, names.unit));
        files.insert(files.end(), {names.unit + ".pas", names.unit + ".lfm"});
        units.push_back(names.unit);
        std::string ignored;
        entries.push_back({entity_name(*item.entity), item.table, item.definition.get(),
                           lazarus::dbf_indexes(*item.definition, view, &ignored)});
    }
    formfile::ObjectNode main_form = read_design(designs / "Princ.dfm");
    lazarus::adapt_to_lcl(main_form);

    const std::string title_utf8 = cp1252_to_utf8(title);
    const std::vector<std::pair<std::string, std::string>> written = {
        {"GerarDBs.pas", lazarus::tables_unit(entries, title_utf8)},
        {"Princ.pas", lazarus::main_unit(main_form, units)},
        {"Princ.lfm", lazarus::lfm_text(main_form)},
        {program + ".lpr", lazarus::program_source(program, title_utf8, units)},
        {program + ".lpi", lazarus::project_info(program, title_utf8, units)},
    };
    for (const auto& [name, text] : written) {
        write_text(scratch / name, text);
        files.push_back(name);
    }
    return files;
}
