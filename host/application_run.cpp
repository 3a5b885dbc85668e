#include "host/application_run.h"

#include <cstring>
#include <memory>
#include <stdexcept>

#include "platform/utf8_cp1252.h"
#include "host/menu_entries.h"
#include "host/option_texts.h"
#include "platform/components/component.h"
#include "platform/string_list.h"
#include "platform/system_paths.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/entity_copy.h"
#include "plugin/exports.h"
#include "plugin/generated_names.h"
#include "plugin/nomes.h"

namespace {

// The plug-in's "Erro de I/O <code>" with what it leaves out: the file, under the output directory
// where the user will look for it, and the system's reason.
std::string describe(const EInOutError& error, const ApplicationPaths& paths) {
    std::string file = cp1252_to_utf8(error.arquivo());
    const std::string scratch = paths.scratch.string() + "/";
    if (file.starts_with(scratch)) file.erase(0, scratch.size());
    if (file.find('/') == std::string::npos) file = (paths.output / file).string();
    std::string text = cp1252_to_utf8(error.what()) + " (" + file;
    if (error.erro_sistema() != 0) text += std::string(": ") + std::strerror(error.erro_sistema());
    return text + ")";
}

}  // namespace

std::vector<FormOutcome> generate_forms(const Diagram& diagram, const ApplicationPaths& paths, std::int32_t kind) {
    const std::string files = plugin_directory(paths.scratch, "output directory");
    const std::string database = plugin_directory(paths.output, "output directory");
    std::vector<FormOutcome> outcomes;
    for (const DiagramEntity& item : diagram.entities) {
        const TEntidade& entity = *item.entity;
        FormOutcome outcome;
        outcome.entity = entity.entidade().str();
        try {
            // The form takes its names from the table name as every other output writes it (sanitised),
            // so that "Itens Pedido" gives the unit MItens_Pedido that the main project opens; the entry
            // points read it from the entity, so they get a copy that carries it.
            const std::string table_name = form_table_name(entity, kind);
            const std::unique_ptr<TEntidade> generated = copy_entity(entity);
            generated->SetTabela(table_name);
            TTable table;
            gera_tab(&table, generated.get(), database.c_str(), kind, true);
            gerarform(&table, generated.get(), files.c_str(), kind, 0);
            const std::string unit = generated_names(table_name).unit;
            outcome.files = {unit + ".PAS", unit + ".dfm"};
        } catch (const EInOutError& e) {
            outcome.error = describe(e, paths);
        } catch (const std::exception& e) {
            outcome.error = cp1252_to_utf8(e.what());
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::vector<FormOutcome> generate_forms(const Diagram& diagram, const std::filesystem::path& directory,
                                        std::int32_t kind) {
    return generate_forms(diagram, ApplicationPaths{directory, directory}, kind);
}

std::vector<std::string> generate_main_project(const Diagram& diagram, const ApplicationPaths& paths,
                                               std::int32_t kind, const std::string& title) {
    StringList entries;
    build_menu_entries(diagram, kind, entries);
    try {
        // All three files go where the project source goes: into the run's working directory.
        const ScopedWorkingDirectory project_directory(paths.scratch.string());
        gerarmain(&entries, "", kind, 0, title.c_str());
    } catch (const EInOutError& e) {
        throw std::runtime_error(describe(e, paths));
    } catch (const EComponentError& e) {
        const std::string clash = explain_menu_clash(diagram, kind, clashing_component(e.what()));
        throw std::runtime_error(cp1252_to_utf8(e.what()) + (clash.empty() ? "" : ": " + clash));
    }
    std::string project = title;
    limpa_identificador(kind, project);
    return {project + ".DPR", "Princ.PAS", "Princ.dfm"};
}

std::vector<std::string> generate_main_project(const Diagram& diagram, const std::filesystem::path& directory,
                                               std::int32_t kind, const std::string& title) {
    return generate_main_project(diagram, ApplicationPaths{directory, directory}, kind, title);
}

std::string default_title(const Diagram& diagram) { return diagram.project.empty() ? "Projeto" : diagram.project; }
