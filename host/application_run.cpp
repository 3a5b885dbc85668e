#include "host/application_run.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "platform/string_list.h"
#include "platform/table.h"
#include "plugin/exports.h"
#include "plugin/nomes.h"

namespace {

// The plug-in takes the directory as a plain prefix of file names.
std::string directory_prefix(const std::filesystem::path& directory) {
    std::string prefix = directory.string();
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    return prefix;
}

// Makes a directory current for as long as it lives.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::filesystem::path& directory) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~CurrentDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace

std::vector<FormOutcome> generate_forms(const Diagram& diagram, const std::filesystem::path& directory,
                                        std::int32_t kind) {
    const std::string prefix = directory_prefix(directory);
    std::vector<FormOutcome> outcomes;
    for (const DiagramEntity& item : diagram.entities) {
        TEntidade& entity = *item.entity;
        FormOutcome outcome;
        outcome.entity = entity.entidade().str();
        // The form takes its names from the table name as every other output writes it (sanitised), so
        // that "Itens Pedido" gives the unit MItens_Pedido that the main project opens.
        std::string table_name = entity.tabela().str();
        valida_tabela(kind, table_name);
        const HostString stored = entity.tabela();
        entity.SetTabela(table_name);
        try {
            TTable table;
            gera_tab(&table, &entity, prefix.c_str(), kind, true);
            gerarform(&table, &entity, prefix.c_str(), kind, 0);
            outcome.files = {"M" + table_name + ".PAS", "M" + table_name + ".dfm"};
        } catch (const std::exception& e) {
            outcome.error = e.what();
        }
        entity.SetTabela(stored);
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

namespace {

// The entry fields are separated by ";", so a ";" inside a caption becomes ",".
std::string entry_field(std::string text) {
    for (char& c : text)
        if (c == ';') c = ',';
    return text;
}

bool blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

std::string menu_caption(const TEntidade& entity) {
    const std::string item = extrair_campo(2, entity.Menu().view(), ';');
    if (!blank(item)) return entry_field(item);
    if (!blank(entity.entidade().view())) return entry_field(entity.entidade().str());
    if (!blank(entity.Tituloform().view())) return entry_field(entity.Tituloform().str());
    return entry_field(entity.tabela().str());
}

std::string menu_group(const TEntidade& entity) { return entry_field(extrair_campo(1, entity.Menu().view(), ';')); }

void build_menu_entries(const Diagram& diagram, StringList& entries) {
    entries.Clear();
    for (const DiagramEntity& item : diagram.entities) {
        const TEntidade& entity = *item.entity;
        entries.Add((menu_caption(entity) + ";" + entity.tabela().str() + ";" + menu_group(entity)).c_str());
    }
}

std::vector<std::string> generate_main_project(const Diagram& diagram, const std::filesystem::path& directory,
                                               std::int32_t kind, const std::string& title) {
    StringList entries;
    build_menu_entries(diagram, entries);
    {
        CurrentDirectory inside(directory);
        gerarmain(&entries, "", kind, 0, title.c_str());
    }
    std::string project = title;
    limpa_identificador(kind, project);
    return {project + ".DPR", "Princ.PAS", "Princ.dfm"};
}

std::string default_title(const Diagram& diagram) { return diagram.project.empty() ? "Projeto" : diagram.project; }
