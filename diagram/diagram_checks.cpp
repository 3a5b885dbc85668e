#include "diagram/diagram_checks.h"

#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "diagram/json_objects.h"
#include "platform/ascii_case.h"
#include "platform/utf8_cp1252.h"
#include "plugin/catalogo.h"
#include "plugin/nomes.h"
#include "plugin/registros.h"

namespace {

using diagram_json::Lines;
using diagram_json::Place;

// Where an item stands, its name kept as Windows-1252 and converted only for a message: most diagrams
// pass every check, and the names of a large one are many.
struct Item {
    const Item* parent = nullptr;  // none: the file itself
    std::string_view kind;
    std::size_t number = 0;
    std::string_view name;  // Windows-1252; empty: the item is shown by its number
    const std::string* file = nullptr;
};

[[noreturn]] void refuse(const Item& at, std::string_view key, const std::string& problem) {
    std::vector<const Item*> chain;  // the item first, the file last
    for (const Item* i = &at; i; i = i->parent) chain.push_back(i);
    std::vector<std::string> names(chain.size());
    std::vector<Place> places(chain.size());
    for (std::size_t i = chain.size(); i-- > 0;) {
        names[i] = cp1252_to_utf8(chain[i]->name);
        places[i] = Place{i + 1 < chain.size() ? &places[i + 1] : nullptr, chain[i]->kind, chain[i]->number, names[i],
                          chain[i]->file};
    }
    diagram_json::fail(places[0], key, problem);
}

// ---------------------------------------------------------------------------------------------
// Values

// A text the format can hold: no byte that Windows-1252 leaves undefined, no control character but the
// line breaks of a free text.
void check_text(std::string_view text, const Item& at, std::string_view key, Lines lines = Lines::single) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", byte);
            refuse(at, key, std::string("holds the byte ") + code + ", which Windows-1252 leaves undefined");
        }
        const bool line_break = c == '\n' || c == '\r' || c == '\t';
        if ((byte < 0x20 || byte == 0x7F) && !(lines == Lines::several && line_break)) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", byte);
            refuse(at, key, std::string("holds the control character ") + code + ", which a name cannot hold");
        }
    }
}

// The lists' entries whole: the plug-in reads them up to the first NUL, so a NUL inside one (which only
// a stored diagram can give) would silently cut it.
void check_lines(const StringList& list, const Item& at, std::string_view key) {
    for (int i = 0; i < list.Count(); ++i) check_text(list.Text(i).view(), at, key);
}
void check_lines(const std::vector<std::string>& list, const Item& at, std::string_view key) {
    for (const std::string& line : list) check_text(line, at, key);
}

// A value the format gives by name, one of `count`.
void check_named(std::int32_t value, std::size_t count, const Item& at, std::string_view key) {
    if (value < 0 || static_cast<std::size_t>(value) >= count)
        refuse(at, key, "has the value " + std::to_string(value) + ", which the format has no name for");
}

void check_bits(std::uint32_t value, std::uint32_t known, const Item& at, std::string_view key) {
    if (value & ~known) refuse(at, key, "has bits the format cannot hold (" + std::to_string(value & ~known) + ")");
}

void check_not_negative(std::int32_t value, const Item& at, std::string_view key) {
    if (value < 0) refuse(at, key, "must not be negative (" + std::to_string(value) + ")");
}

void check_shape(const ShapeBounds& bounds, const Item& at, std::string_view key) {
    if (const auto bad = coordinate_out_of_range(bounds)) refuse(at, std::string(key) + "." + bad->key, bad->problem());
}

// The format gives a font's size in points, or its height in pixels within -1000..1000.
void check_font(const TFont& font, const Item& at, std::string_view key) {
    check_text(font.Name(), at, std::string(key) + ".name");
    const int height = font.Height();
    if (height >= -1000 && height <= 1000) return;
    TFont probe;
    probe.SetSize(font.Size());
    if (font.Size() >= 1 && font.Size() <= 1000 && probe.Height() == height) return;
    refuse(at, std::string(key) + ".height", "lies outside -1000..1000 (" + std::to_string(height) + ")");
}

// A free text (text_key "text") or a caption ("caption.text").
void check_text_box(const DiagramTextBox& box, const Item& at, std::string_view text_key) {
    check_text(box.text, at, text_key, Lines::several);
    check_shape(box.shape, at, text_key == "text" ? "shape" : "caption.shape");
    if (box.font) check_font(*box.font, at, "font");
}

void check_attribute(const TAtributo& a, const Item& at) {
    check_text(a.nome.view(), at, "nome");
    check_text(a.titulo.view(), at, "titulo");
    if (a.tipo < 0 || a.tipo >= kTiposNoCatalogo)
        refuse(at, "tipo", "has the value " + std::to_string(a.tipo) + ", which names no field type");
    check_not_negative(a.tamanho, at, "tamanho");
    check_not_negative(a.decimais, at, "decimais");
    if (a.componente < 1 || a.componente > kComponentesNoCatalogo)
        refuse(at, "componente", "has the value " + std::to_string(a.componente) + ", which names no editor");
    check_bits(a.chave, kChavePrimaria | kChaveEstrangeira, at, "chave");
    check_bits(a.opcoes, kOpcaoAceitaNulo | kOpcaoForaDoFormulario, at, "opcoes");
    check_not_negative(a.largura, at, "largura");
    check_text(a.rotulo.view(), at, "rotulo");
    check_text(a.origem.view(), at, "origem");
}

void check_secondary_key(std::string_view nome, const TChaveSecundaria& k, const Item& at) {
    check_text(nome, at, "nome");
    check_text(k.campos.view(), at, "campos");
    if (k.campos.empty()) refuse(at, "campos", "must name at least one field");
    check_bits(k.tipo_indice,
               kIndiceDuplicados | kIndiceMaiusculas | kIndiceDescendente | kIndiceNaoMantido | kIndiceExpressao, at,
               "tipo_indice");
}

void check_entity_values(const DiagramEntity& item, const Item& file, std::size_t number) {
    const TEntidade& e = *item.entity;
    const Item at{&file, "entity", number, e.entidade().view()};
    check_text(e.entidade().view(), at, "entidade");
    check_text(e.tabela().view(), at, "tabela");
    check_text(e.Tituloform().view(), at, "Tituloform");
    if (e.Tipoform() != 0) check_named(e.Tipoform(), 3, at, "Tipoform");
    if (e.Alturaform() < 0 || e.Larguraform() < 0)
        refuse(at, e.Alturaform() < 0 ? "Alturaform" : "Larguraform", "must not be negative");
    check_text(e.Menu().view(), at, "Menu");
    check_named(static_cast<std::int32_t>(e.Modo()), 7, at, "Modo");
    check_lines(e.descricao(), at, "descricao");
    check_font(e.FonteTitulo(), at, "FonteTitulo");
    check_font(e.FonteAtributos(), at, "FonteAtributos");
    check_font(e.FonteExtrangeiras(), at, "FonteExtrangeiras");
    check_shape(item.shape, at, "shape");
    if (item.caption) check_text_box(*item.caption, at, "caption.text");

    const StringList& attributes = e.atributos();
    for (int i = 0; i < attributes.Count(); ++i) {
        const auto* record = static_cast<const TAtributo*>(attributes.Objects(i));
        const Item attribute{&at, "attribute", static_cast<std::size_t>(i) + 1, attributes.Get(i)};
        if (!record) refuse(attribute, "", "has no attribute record");
        // The format names an attribute's entry by its column name; another entry text would be lost.
        if (record->nome != attributes.Get(i))
            refuse(attribute, "nome", "differs from the entry's text, which the format cannot hold apart");
        check_attribute(*record, attribute);
    }
    const StringList& keys = e.ChavesSecundarias();
    for (int i = 0; i < keys.Count(); ++i) {
        const auto* record = static_cast<const TChaveSecundaria*>(keys.Objects(i));
        const Item key{&at, "secondary key", static_cast<std::size_t>(i) + 1, keys.Get(i)};
        if (!record) refuse(key, "", "has no secondary-key record");
        check_secondary_key(keys.Text(i).view(), *record, key);
    }
}

void check_relationship_values(const DiagramRelationship& r, std::size_t entity_count, const Item& file,
                               std::size_t number) {
    const Item at{&file, "relationship", number, r.name};
    check_text(r.name, at, "name");
    for (auto [key, index] : {std::pair{"from", r.from}, std::pair{"to", r.to}})
        if (index >= entity_count) refuse(at, key, "names no entity of the diagram");
    check_named(static_cast<std::int32_t>(r.relacao), 4, at, "Relacao");
    check_named(static_cast<std::int32_t>(r.chave), 2, at, "Chave");
    for (auto [key, value] : {std::pair{"meioperc", r.meioperc}, std::pair{"StartConn", r.start_perc},
                              std::pair{"EndConn", r.end_perc}})
        if (value < 0 || value > 100) refuse(at, key, "must lie between 0 and 100 (" + std::to_string(value) + ")");
    if (r.line_width < 1 || r.line_width > kMaxLineWidth)
        refuse(at, "LineWidth",
               "must lie between 1 and " + std::to_string(kMaxLineWidth) + " (" + std::to_string(r.line_width) + ")");
    if (r.caption) check_text_box(*r.caption, at, "caption.text");
    check_lines(r.descricao, at, "descricao");
}

void check_values(const Diagram& diagram, const Item& file) {
    check_text(diagram.project, file, "project");
    check_text(diagram.server, file, "server");
    if (diagram.escala < kMinEscala || diagram.escala > kMaxEscala)
        refuse(file, "Escala",
               "must lie between " + std::to_string(kMinEscala) + " and " + std::to_string(kMaxEscala) + " (" +
                   std::to_string(diagram.escala) + ")");
    for (std::size_t i = 0; i < diagram.entities.size(); ++i) check_entity_values(diagram.entities[i], file, i + 1);
    for (std::size_t i = 0; i < diagram.relationships.size(); ++i)
        check_relationship_values(diagram.relationships[i], diagram.entities.size(), file, i + 1);
    for (std::size_t i = 0; i < diagram.texts.size(); ++i)
        check_text_box(diagram.texts[i], Item{&file, "text", i + 1, {}}, "text");
}

// ---------------------------------------------------------------------------------------------
// Names

void check_entity_names(const TEntidade& e, const Item& file, std::size_t number) {
    const Item at{&file, "entity", number, e.entidade().view()};
    const StringList& attributes = e.atributos();
    std::unordered_map<std::string, std::size_t> columns;  // column identity -> attribute number
    columns.reserve(static_cast<std::size_t>(attributes.Count()));
    for (int i = 0; i < attributes.Count(); ++i) {
        const HostString& nome = static_cast<const TAtributo*>(attributes.Objects(i))->nome;
        const std::size_t n = static_cast<std::size_t>(i) + 1;
        if (nome.empty()) refuse(Item{&at, "attribute", n, {}}, "nome", "must not be empty");
        const auto [found, added] = columns.try_emplace(generated_name_identity(nome.str()), n);
        if (!added)
            refuse(Item{&at, "attribute", n, nome.view()}, "nome",
                   "gives the column " + found->first + ", which attribute #" + std::to_string(found->second) +
                       " already has");
    }
    const StringList& keys = e.ChavesSecundarias();
    for (int i = 0; i < keys.Count(); ++i)
        if (*keys.Get(i) == '\0') refuse(Item{&at, "secondary key", static_cast<std::size_t>(i) + 1, {}}, "nome", "must not be empty");
}

// Two entities whose tables would share a name in the generated code and files (sanitised, case
// ignored, as the target's file names compare) would give one table two definitions.
void check_table_names(const std::vector<DiagramEntity>& entities, const Item& file) {
    std::unordered_map<std::string, std::size_t> tables;  // table identity -> entity number
    tables.reserve(entities.size());
    for (std::size_t i = 0; i < entities.size(); ++i) {
        const auto [at, added] = tables.try_emplace(generated_name_identity(entities[i].entity->tabela().str()), i + 1);
        if (added) continue;
        const std::string other = cp1252_to_utf8(entities[at->second - 1].entity->entidade().view());
        const std::string table = at->first.empty() ? "with the empty name" : at->first;
        refuse(Item{&file, "entity", i + 1, entities[i].entity->entidade().view()}, "tabela",
               "gives the table " + table + ", which entity \"" + diagram_json::printable(other) + "\" (#" +
                   std::to_string(at->second) +
                   ") already has (table names are compared as the generated files name them: sanitised, ignoring case)");
    }
}

}  // namespace

std::string generated_name_identity(std::string name) {
    limpa_identificador(0, name);
    return AsciiUpperCase(name);
}

void check_diagram(const Diagram& diagram, const std::string& source, EntityNames entity_names) {
    const Item file{nullptr, {}, 0, {}, &source};
    check_values(diagram, file);
    if (entity_names == EntityNames::unchecked)
        for (std::size_t i = 0; i < diagram.entities.size(); ++i) check_entity_names(*diagram.entities[i].entity, file, i + 1);
    check_table_names(diagram.entities, file);
}

void check_diagram_items(const Diagram& diagram, const std::string& source, const std::vector<std::size_t>& entities,
                         const std::vector<std::size_t>& relationships) {
    const Item file{nullptr, {}, 0, {}, &source};
    // In check_diagram's order, so that the first problem is the one it would name.
    for (std::size_t e : entities) check_entity_values(diagram.entities.at(e), file, e + 1);
    for (std::size_t r : relationships)
        check_relationship_values(diagram.relationships.at(r), diagram.entities.size(), file, r + 1);
    for (std::size_t e : entities) check_entity_names(*diagram.entities.at(e).entity, file, e + 1);
}
