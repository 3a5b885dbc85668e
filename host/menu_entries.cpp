#include "host/menu_entries.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/utf8_cp1252.h"
#include "platform/ascii_case.h"
#include "platform/string_list.h"
#include "platform/windows_1252.h"
#include "plugin/generated_names.h"
#include "plugin/nomes.h"

namespace {

// The entry fields are separated by ";", so a ";" inside a caption becomes ",".
std::string entry_field(std::string text) {
    std::replace(text.begin(), text.end(), ';', ',');
    return text;
}

bool blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Component names compare without regard to letter case (ASCII, as identifiers are).
std::string name_key(std::string_view name) { return AsciiUpperCase(name); }

// Menu groups are shared by caption, ignoring "&" marks and letter case (Windows-1252 letters too).
std::string group_key(std::string_view caption) {
    std::string key;
    for (unsigned char c : caption)
        if (c != '&') key.push_back(static_cast<char>(Windows1252UpperCase(c)));
    return key;
}

std::string shown(std::string_view cp1252) { return "\"" + cp1252_to_utf8(cp1252) + "\""; }

}  // namespace

std::string form_table_name(const TEntidade& entity, std::int32_t kind) {
    std::string name = entity.tabela().str();
    valida_tabela(kind, name);
    return name;
}

std::string menu_caption(const TEntidade& entity) {
    const std::string item = extrair_campo(2, entity.Menu().view(), ';');
    if (!blank(item)) return entry_field(item);
    if (!blank(entity.entidade().view())) return entry_field(entity.entidade().str());
    if (!blank(entity.Tituloform().view())) return entry_field(entity.Tituloform().str());
    return entry_field(entity.tabela().str());
}

std::string menu_group(const TEntidade& entity) { return entry_field(extrair_campo(1, entity.Menu().view(), ';')); }

void build_menu_entries(const Diagram& diagram, std::int32_t kind, StringList& entries) {
    entries.Clear();
    for (const DiagramEntity& item : diagram.entities) {
        const TEntidade& entity = *item.entity;
        entries.Add((menu_caption(entity) + ";" + form_table_name(entity, kind) + ";" + menu_group(entity)).c_str());
    }
}

std::string explain_menu_clash(const Diagram& diagram, std::int32_t kind, std::string_view component) {
    // The names gerarmain gives, in its order: the main form's own, then per entity its table item and,
    // for the first entity of a group, the group item named after that entity's table.
    std::multimap<std::string, std::string> owners;
    for (const char* own : {"MMain", "Arquivos1", "Label1", "Sair1"})
        owners.emplace(name_key(own), std::string("the main form's own ") + own);
    std::vector<std::string> groups = {group_key("Arquivos")};
    for (const DiagramEntity& item : diagram.entities) {
        const TEntidade& entity = *item.entity;
        // The table as gerarmain reads it from the entry: sanitised once more.
        std::string table = form_table_name(entity, kind);
        limpa_identificador(kind, table);
        const GeneratedNames names = generated_names(table);
        const std::string whose = "table " + shown(entity.tabela().view()) + " (entity " + shown(entity.entidade().view()) + ")";
        owners.emplace(name_key(names.menu_item), "the menu item of " + whose);
        std::string group = menu_group(entity);
        if (blank(group)) group = "&Tabelas";
        if (std::find(groups.begin(), groups.end(), group_key(group)) != groups.end()) continue;
        groups.push_back(group_key(group));
        owners.emplace(name_key(group_menu_item(names.unit)), "the menu " + shown(group) + ", named after " + whose);
    }
    const auto [first, last] = owners.equal_range(name_key(component));
    const auto count = std::distance(first, last);
    if (count < 2) return {};
    std::string text;
    for (auto at = first; at != last; ++at) text += (text.empty() ? "" : std::next(at) == last ? " and " : ", ") + at->second;
    return text + (count == 2 ? " both take" : " all take") + " that name; rename one of the tables";
}

std::string clashing_component(std::string_view message) {
    constexpr std::string_view kBefore = "Um componente chamado ", kAfter = " j\xE1 existe";
    if (message.size() <= kBefore.size() + kAfter.size() || !message.starts_with(kBefore) || !message.ends_with(kAfter))
        return {};
    return std::string(message.substr(kBefore.size(), message.size() - kBefore.size() - kAfter.size()));
}
