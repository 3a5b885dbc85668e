#include "diagram/json_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "platform/utf8_cp1252.h"
#include "platform/windows_1252.h"
#include "diagram/json_objects.h"
#include "platform/files/output.h"
#include "plugin/catalogo.h"
#include "plugin/enum_names.h"
#include "plugin/registros.h"

namespace {

using Json = nlohmann::ordered_json;
using diagram_json::Lines;
using diagram_json::Place;

// Name tables in the order the loader numbers them.
constexpr std::array<const char*, 3> kFormLayouts = {"vertical", "horizontal", "grid"};
constexpr std::array<const char*, 4> kFontStyles = {"bold", "italic", "underline", "strikeout"};

// UTF-8 of a Windows-1252 text, refused where the loader would refuse it or read it otherwise.
std::string utf8(std::string_view text, const Place& place, std::string_view key, Lines lines = Lines::single) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!Windows1252Defined(byte)) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", byte);
            diagram_json::fail(place, key, std::string("holds the byte ") + code + ", which Windows-1252 leaves undefined");
        }
        const bool line_break = c == '\n' || c == '\r' || c == '\t';
        if ((byte < 0x20 || byte == 0x7F) && !(lines == Lines::several && line_break)) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", byte);
            diagram_json::fail(place, key, std::string("holds the control character ") + code + ", which a name cannot hold");
        }
    }
    return cp1252_to_utf8(text);
}

template <class Name, std::size_t N>
const char* name_of(const std::array<Name, N>& names, std::int32_t value, const Place& place, std::string_view key) {
    if (value < 0 || static_cast<std::size_t>(value) >= N)
        diagram_json::fail(place, key, "has the value " + std::to_string(value) + ", which the format has no name for");
    return std::string_view(names[static_cast<std::size_t>(value)]).data();
}

void check_bits(std::uint32_t value, std::uint32_t known, const Place& place, std::string_view key) {
    if (value & ~known)
        diagram_json::fail(place, key, "has bits the format cannot hold (" + std::to_string(value & ~known) + ")");
}

Json lines_of(const StringList& list, const Place& place, std::string_view key) {
    Json lines = Json::array();
    for (int i = 0; i < list.Count(); ++i) lines.push_back(utf8(list.Get(i), place, key));
    return lines;
}
Json lines_of(const std::vector<std::string>& list, const Place& place, std::string_view key) {
    Json lines = Json::array();
    for (const std::string& line : list) lines.push_back(utf8(line, place, key));
    return lines;
}

// Empty when the shape is at the origin and sized by its content: then the key is left out.
Json shape_of(const ShapeBounds& b, const Place& place, const std::string& key) {
    if (const auto bad = coordinate_out_of_range(b))
        diagram_json::fail(place, key + "." + bad->key, bad->problem());
    Json shape = Json::object();
    if (b.left || b.top || b.width || b.height) {
        shape["left"] = b.left;
        shape["top"] = b.top;
    }
    if (b.width) shape["width"] = b.width;
    if (b.height) shape["height"] = b.height;
    return shape;
}

// Only what differs from a plain Arial font.
Json font_of(const TFont& font, const Place& place, std::string_view key) {
    static const std::unique_ptr<TFont> arial_font = [] {
        auto f = std::make_unique<TFont>();
        f->SetName("Arial");
        return f;
    }();
    const TFont& arial = *arial_font;
    Json json = Json::object();
    if (font.Name() != arial.Name()) json["name"] = utf8(font.Name(), place, std::string(key) + ".name");
    if (font.Height() != arial.Height()) {
        // The size in points where it gives this very height back; otherwise the height in pixels.
        TFont probe;
        probe.SetSize(font.Size());
        if (font.Size() >= 1 && font.Size() <= 1000 && probe.Height() == font.Height())
            json["size"] = font.Size();
        else if (font.Height() >= -1000 && font.Height() <= 1000)
            json["height"] = font.Height();
        else
            diagram_json::fail(place, std::string(key) + ".height", "lies outside -1000..1000 (" + std::to_string(font.Height()) + ")");
    }
    if (!font.Style().empty()) {
        Json styles = Json::array();
        for (std::size_t i = 0; i < kFontStyles.size(); ++i)
            if (font.Style().contains(static_cast<TFontStyle>(i))) styles.push_back(kFontStyles[i]);
        json["style"] = std::move(styles);
    }
    if (font.Color() != arial.Color()) json["color"] = static_cast<std::uint32_t>(font.Color());
    if (font.Charset() != arial.Charset()) json["charset"] = static_cast<int>(font.Charset());
    return json;
}

void put_font(Json& owner, std::string_view key, const TFont* font, const Place& place) {
    if (!font) return;
    Json json = font_of(*font, place, key);
    if (!json.empty()) owner[std::string(key)] = std::move(json);
}

void put_shape(Json& owner, const ShapeBounds& bounds, const Place& place, const std::string& key) {
    Json shape = shape_of(bounds, place, key);
    if (!shape.empty()) owner["shape"] = std::move(shape);
}

// A free text, or a caption (its text named `text_item` in messages).
Json text_box_of(const DiagramTextBox& box, const Place& place, std::string_view text_item) {
    Json json = Json::object();
    json["text"] = utf8(box.text, place, text_item, Lines::several);
    put_shape(json, box.shape, place, text_item == "text" ? "shape" : "caption.shape");
    put_font(json, "font", box.font.get(), place);
    if (!box.autosize) json["autosize"] = false;
    return json;
}

Json caption_of(const DiagramCaption& caption, const Place& place) { return text_box_of(caption, place, "caption.text"); }

// The records' reserved fields belong to the host modeller: nothing here reads them, a stored diagram
// keeps them as read, and the JSON form has no place for them, so that a value there is refused
// rather than lost.
void check_reserved(bool zero, const std::string& held, const Place& place, const char* field) {
    if (!zero)
        diagram_json::fail(place, field,
                           "is a reserved field that holds " + held +
                               ", which only a stored diagram keeps: write the diagram with kzr40 store, or set the "
                               "field to 0 in the stored diagram");
}
void check_reserved(std::int32_t value, const Place& place, const char* field) {
    check_reserved(value == 0, std::to_string(value), place, field);
}

Json attribute_of(const TAtributo& a, const Place& place) {
    Json json = Json::object();
    json["nome"] = utf8(a.nome.view(), place, "nome");
    if (!a.titulo.empty()) json["titulo"] = utf8(a.titulo.view(), place, "titulo");
    if (a.tipo < 0 || a.tipo >= kTiposNoCatalogo)
        diagram_json::fail(place, "tipo", "has the value " + std::to_string(a.tipo) + ", which names no field type");
    json["tipo"] = nome_tipo(a.tipo);
    if (a.tamanho < 0) diagram_json::fail(place, "tamanho", "must not be negative (" + std::to_string(a.tamanho) + ")");
    if (a.tamanho) json["tamanho"] = a.tamanho;
    if (a.decimais < 0) diagram_json::fail(place, "decimais", "must not be negative (" + std::to_string(a.decimais) + ")");
    if (a.decimais) json["decimais"] = a.decimais;
    if (a.componente < 1 || a.componente > kComponentesNoCatalogo)
        diagram_json::fail(place, "componente", "has the value " + std::to_string(a.componente) + ", which names no editor");
    if (a.componente != 1) json["componente"] = std::string(nome_componente(a.componente));
    check_bits(a.chave, kChavePrimaria | kChaveEstrangeira, place, "chave");
    if (a.chave & kChavePrimaria) json["key"] = true;
    if (a.chave & kChaveEstrangeira) json["foreign_key"] = true;
    check_bits(a.opcoes, kOpcaoAceitaNulo | kOpcaoForaDoFormulario, place, "opcoes");
    if (a.opcoes & kOpcaoAceitaNulo) json["nullable"] = true;
    if (a.opcoes & kOpcaoForaDoFormulario) json["hidden"] = true;
    if (a.largura < 0) diagram_json::fail(place, "largura", "must not be negative (" + std::to_string(a.largura) + ")");
    if (a.largura) json["largura"] = a.largura;
    if (!a.rotulo.empty()) json["rotulo"] = utf8(a.rotulo.view(), place, "rotulo");
    if (!a.origem.empty()) json["origem"] = utf8(a.origem.view(), place, "origem");
    check_reserved(a.reservado_12, place, "reservado_12");
    check_reserved(std::all_of(std::begin(a.reservado_36), std::end(a.reservado_36), [](std::uint8_t b) { return b == 0; }),
                   "bytes other than 0", place, "reservado_36");
    check_reserved(a.reservado_56, place, "reservado_56");
    return json;
}

Json secondary_key_of(std::string_view nome, const TChaveSecundaria& k, const Place& place) {
    Json json = Json::object();
    json["nome"] = utf8(nome, place, "nome");
    const std::string campos = utf8(k.campos.view(), place, "campos");
    if (campos.empty()) diagram_json::fail(place, "campos", "must name at least one field");
    check_reserved(k.reservado_8, place, "reservado_8");
    // A list of names reads better; the joined text is kept where splitting it would not give it back.
    Json fields = Json::array();
    bool listable = !(k.tipo_indice & kIndiceExpressao);
    for (std::size_t start = 0; listable;) {
        const std::size_t plus = campos.find('+', start);
        const std::string field = campos.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        listable = !field.empty();
        fields.push_back(field);
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    if (listable)
        json["campos"] = std::move(fields);
    else
        json["campos"] = campos;
    check_bits(k.tipo_indice, kIndiceDuplicados | kIndiceMaiusculas | kIndiceDescendente | kIndiceNaoMantido | kIndiceExpressao,
               place, "tipo_indice");
    if (k.tipo_indice & kIndiceDuplicados) json["duplicates"] = true;
    if (k.tipo_indice & kIndiceMaiusculas) json["case_sensitive"] = true;
    if (k.tipo_indice & kIndiceDescendente) json["descending"] = true;
    if (k.tipo_indice & kIndiceNaoMantido) json["non_maintained"] = true;
    if (k.tipo_indice & kIndiceExpressao) json["expression"] = true;
    return json;
}

Json entity_of(const DiagramEntity& item, const Place& file, std::size_t number) {
    const TEntidade& e = *item.entity;
    const std::string shown = cp1252_to_utf8(e.entidade().view());
    const Place place{&file, "entity", number, shown, nullptr};
    Json json = Json::object();
    json["entidade"] = utf8(e.entidade().view(), place, "entidade");
    json["tabela"] = utf8(e.tabela().view(), place, "tabela");
    if (!e.Tituloform().empty()) json["Tituloform"] = utf8(e.Tituloform().view(), place, "Tituloform");
    if (e.Tipoform() != 0) json["Tipoform"] = name_of(kFormLayouts, e.Tipoform(), place, "Tipoform");
    if (e.Alturaform() < 0 || e.Larguraform() < 0)
        diagram_json::fail(place, e.Alturaform() < 0 ? "Alturaform" : "Larguraform", "must not be negative");
    if (e.Alturaform() != TEntidade::kAlturaformPadrao) json["Alturaform"] = e.Alturaform();
    if (e.Larguraform() != TEntidade::kLarguraformPadrao) json["Larguraform"] = e.Larguraform();
    if (!e.Menu().empty()) json["Menu"] = utf8(e.Menu().view(), place, "Menu");
    if (e.Primaria() == kPrimariaDescendente)
        json["Primaria"] = Json{{"descending", true}};
    else if (e.Primaria() != 0)
        json["Primaria"] = e.Primaria();
    if (e.Modo() != tmodo::tmAtributo) json["Modo"] = name_of(kModoNames, static_cast<std::int32_t>(e.Modo()), place, "Modo");
    if (e.descricao().Count()) json["descricao"] = lines_of(e.descricao(), place, "descricao");
    put_font(json, "FonteTitulo", &e.FonteTitulo(), place);
    put_font(json, "FonteAtributos", &e.FonteAtributos(), place);
    put_font(json, "FonteExtrangeiras", &e.FonteExtrangeiras(), place);
    put_shape(json, item.shape, place, "shape");
    if (item.caption) json["caption"] = caption_of(*item.caption, place);
    if (item.colour) {
        const auto c = static_cast<std::uint32_t>(*item.colour);
        char text[8];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        json["colour"] = text;
    }

    const StringList& attributes = e.atributos();
    if (attributes.Count()) {
        Json list = Json::array();
        for (int i = 0; i < attributes.Count(); ++i) {
            const auto* record = static_cast<const TAtributo*>(attributes.Objects(i));
            const std::string name = cp1252_to_utf8(attributes.Get(i));
            const Place at{&place, "attribute", static_cast<std::size_t>(i) + 1, name, nullptr};
            if (!record) diagram_json::fail(at, "", "has no attribute record");
            // The format names an attribute's entry by its column name; another entry text would be lost.
            if (record->nome != attributes.Get(i))
                diagram_json::fail(at, "nome", "differs from the entry's text, which the format cannot hold apart");
            list.push_back(attribute_of(*record, at));
        }
        json["atributos"] = std::move(list);
    }
    const StringList& keys = e.ChavesSecundarias();
    if (keys.Count()) {
        Json list = Json::array();
        for (int i = 0; i < keys.Count(); ++i) {
            const auto* record = static_cast<const TChaveSecundaria*>(keys.Objects(i));
            const std::string name = cp1252_to_utf8(keys.Get(i));
            const Place at{&place, "secondary key", static_cast<std::size_t>(i) + 1, name, nullptr};
            if (!record) diagram_json::fail(at, "", "has no secondary-key record");
            list.push_back(secondary_key_of(keys.Get(i), *record, at));
        }
        json["ChavesSecundarias"] = std::move(list);
    }
    return json;
}

Json relationship_of(const DiagramRelationship& r, const Diagram& diagram, const Place& file, std::size_t number,
                     const std::unordered_map<std::string_view, std::size_t>& first_of_name) {
    const std::string shown = cp1252_to_utf8(r.name);
    const Place place{&file, "relationship", number, shown, nullptr};
    Json json = Json::object();
    json["name"] = utf8(r.name, place, "name");
    for (auto [key, index] : {std::pair{"from", r.from}, std::pair{"to", r.to}}) {
        if (index >= diagram.entities.size()) diagram_json::fail(place, key, "names no entity of the diagram");
        // By name, unless an earlier entity has the same name: then by number, which the name would not give back.
        const std::string_view name = diagram.entities[index].entity->entidade().view();
        if (first_of_name.at(name) == index)
            json[key] = utf8(name, place, key);
        else
            json[key] = index + 1;
    }
    if (r.relacao != trelacao::tr1x1)
        json["Relacao"] = name_of(kRelacaoNames, static_cast<std::int32_t>(r.relacao), place, "Relacao");
    if (r.chave != tchave::tckey) json["Chave"] = name_of(kChaveNames, static_cast<std::int32_t>(r.chave), place, "Chave");
    for (auto [key, value] : {std::pair{"meioperc", r.meioperc}, std::pair{"StartConn", r.start_perc},
                              std::pair{"EndConn", r.end_perc}})
        if (value < 0 || value > 100) diagram_json::fail(place, key, "must lie between 0 and 100 (" + std::to_string(value) + ")");
    if (r.meioperc != 50) json["meioperc"] = r.meioperc;
    if (r.start_perc != 50) json["StartConn"] = Json{{"perc", r.start_perc}};
    if (r.end_perc != 50) json["EndConn"] = Json{{"perc", r.end_perc}};
    if (r.line_width < 1 || r.line_width > kMaxLineWidth)
        diagram_json::fail(place, "LineWidth", "must lie between 1 and " + std::to_string(kMaxLineWidth) + " (" +
                                                   std::to_string(r.line_width) + ")");
    if (r.line_width != 1) json["LineWidth"] = r.line_width;
    if (r.line_colour != clBlack) json["LineColour"] = static_cast<std::uint32_t>(r.line_colour);
    if (r.caption) json["caption"] = caption_of(*r.caption, place);
    if (!r.descricao.empty()) json["descricao"] = lines_of(r.descricao, place, "descricao");
    return json;
}

Json text_of(const DiagramText& t, const Place& file, std::size_t number) {
    return text_box_of(t, Place{&file, "text", number, {}, nullptr}, "text");
}

}  // namespace

std::string diagram_to_json(const Diagram& diagram, const std::string& destination) {
    const Place file{nullptr, {}, 0, {}, &destination};
    Json json = Json::object();
    json["version"] = kDiagramFormatVersion;
    if (!diagram.project.empty()) json["project"] = utf8(diagram.project, file, "project");
    if (!diagram.server.empty()) json["server"] = utf8(diagram.server, file, "server");
    if (diagram.escala < kMinEscala || diagram.escala > kMaxEscala)
        diagram_json::fail(file, "Escala",
                           "must lie between " + std::to_string(kMinEscala) + " and " + std::to_string(kMaxEscala) + " (" +
                               std::to_string(diagram.escala) + ")");
    if (diagram.escala != 100) json["Escala"] = diagram.escala;
    if (diagram.style == DiagramStyle::modern) json["style"] = "modern";
    if (diagram.theme == DiagramTheme::dark) json["theme"] = "dark";

    Json& entities = json["entities"] = Json::array();
    std::unordered_map<std::string_view, std::size_t> first_of_name;
    for (std::size_t i = 0; i < diagram.entities.size(); ++i) {
        entities.push_back(entity_of(diagram.entities[i], file, i + 1));
        first_of_name.emplace(diagram.entities[i].entity->entidade().view(), i);
    }
    if (!diagram.relationships.empty()) {
        Json& list = json["relationships"] = Json::array();
        for (std::size_t i = 0; i < diagram.relationships.size(); ++i)
            list.push_back(relationship_of(diagram.relationships[i], diagram, file, i + 1, first_of_name));
    }
    if (!diagram.texts.empty()) {
        Json& list = json["texts"] = Json::array();
        for (std::size_t i = 0; i < diagram.texts.size(); ++i) list.push_back(text_of(diagram.texts[i], file, i + 1));
    }
    std::string text = json.dump(2);
    text += '\n';
    return text;
}

void save_diagram(const Diagram& diagram, const std::string& destination) {
    const std::string text = diagram_to_json(diagram, destination);
    write_output(destination, text);
}
