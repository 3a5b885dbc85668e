// The entity and relationship editors' values, and the model's rules for new entities and foreign keys.

#include "editor/model_edits.h"

#include <algorithm>
#include <memory>
#include <regex>
#include <string_view>
#include <stdexcept>
#include <unordered_set>

#include "diagram/diagram_checks.h"
#include "platform/ascii_case.h"
#include "platform/identifier.h"
#include "platform/utf8_cp1252.h"
#include "plugin/registros.h"

namespace {

const TAtributo* attribute_record(const TEntidade& entity, int index) {
    return static_cast<const TAtributo*>(entity.atributos().Objects(index));
}

std::string utf8(const HostString& text) { return cp1252_to_utf8(text.view()); }

// A relationship's name is also its shape's component name: letters, digits and "_" only.
std::string ident_part(const std::string& cp1252) {
    std::string out;
    for (char c : cp1252) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || c == '_')
            out += c;
    }
    return out;
}

}  // namespace

std::optional<FieldInMessage> field_in_message(const std::string& message) {
    // The place ends in the item's number, "#3" or "(#3)", and the key follows it in quotes: the first
    // such spot is the item's, since the problem's own text comes after it.
    static const std::regex kKeyAfterPlace(R"re(#([0-9]+)\)?: "([A-Za-z_][A-Za-z_.]*)" )re");
    std::smatch key;
    if (!std::regex_search(message, key, kKeyAfterPlace)) return std::nullopt;
    FieldInMessage field;
    field.key = key[2];
    const std::string place = message.substr(0, static_cast<std::size_t>(key.position(0)));
    const auto ends_with = [&](std::string_view tail) {
        return place.size() >= tail.size() && place.compare(place.size() - tail.size(), tail.size(), tail) == 0;
    };
    FieldInMessage::Part part = FieldInMessage::Part::entity;
    if (key[0].str().find(')') == std::string::npos) {  // "attribute #3": the kind stands right before
        if (ends_with(", attribute ")) part = FieldInMessage::Part::attribute;
        else if (ends_with(", secondary key ")) part = FieldInMessage::Part::secondary_key;
    } else {  // "attribute "NOME" (#3)": the last kind that opens a name
        const std::size_t entity = place.rfind(": entity \""), attribute = place.rfind(", attribute \""),
                          secondary = place.rfind(", secondary key \"");
        const auto later = [](std::size_t a, std::size_t b) { return a != std::string::npos && (b == std::string::npos || a > b); };
        if (later(attribute, entity) && later(attribute, secondary)) part = FieldInMessage::Part::attribute;
        else if (later(secondary, entity)) part = FieldInMessage::Part::secondary_key;
    }
    field.part = part;
    if (part != FieldInMessage::Part::entity) field.row = std::stoul(key[1]) - 1;
    return field;
}

std::string to_diagram_text(const std::string& text, const std::string& place, const std::string& key) {
    try {
        return utf8_to_cp1252(text);
    } catch (const UnmappableCharacter& c) {
        throw DiagramError(place + ": \"" + key + "\" holds " + describe_character(c) + ", which Windows-1252 does not have");
    } catch (const std::runtime_error&) {
        throw DiagramError(place + ": \"" + key + "\" is not valid UTF-8");
    }
}

FontFields font_fields(const TFont& font) {
    FontFields f;
    f.name = font.Name();
    f.size = font.Size();
    f.bold = font.Style().contains(TFontStyle::fsBold);
    f.italic = font.Style().contains(TFontStyle::fsItalic);
    f.underline = font.Style().contains(TFontStyle::fsUnderline);
    f.strikeout = font.Style().contains(TFontStyle::fsStrikeOut);
    f.color = font.Color();
    return f;
}

void apply_font_fields(TFont& font, const FontFields& f) {
    TFont next;
    next.Assign(font);  // charset and anything else the fields do not show stay
    next.SetName(f.name);
    if (f.size != font.Size()) next.SetSize(f.size);  // an unchanged size keeps the exact pixel height
    TFontStyles style;
    if (f.bold) style.include(TFontStyle::fsBold);
    if (f.italic) style.include(TFontStyle::fsItalic);
    if (f.underline) style.include(TFontStyle::fsUnderline);
    if (f.strikeout) style.include(TFontStyle::fsStrikeOut);
    next.SetStyle(style);
    next.SetColor(f.color);
    if (!next.SameAs(font)) font.Assign(next);
}

EntityFields entity_fields(const DiagramEntity& source) {
    const TEntidade& e = *source.entity;
    EntityFields f;
    f.entidade = utf8(e.entidade());
    f.tabela = utf8(e.tabela());
    f.menu = utf8(e.Menu());
    f.tituloform = utf8(e.Tituloform());
    f.alturaform = e.Alturaform();
    f.larguraform = e.Larguraform();
    f.tipoform = e.Tipoform();
    f.modo = e.Modo();
    f.descending_key = (e.Primaria() & kPrimariaDescendente) != 0;
    for (int i = 0; i < e.descricao().Count(); ++i) f.descricao.push_back(cp1252_to_utf8(e.descricao().Get(i)));
    f.fonte_titulo = font_fields(e.FonteTitulo());
    f.fonte_atributos = font_fields(e.FonteAtributos());
    f.fonte_extrangeiras = font_fields(e.FonteExtrangeiras());
    for (int i = 0; i < e.atributos().Count(); ++i) {
        const TAtributo* r = attribute_record(e, i);
        if (!r) continue;
        AttributeFields a;
        a.nome = utf8(r->nome);
        a.titulo = utf8(r->titulo);
        a.rotulo = utf8(r->rotulo);
        a.origem = utf8(r->origem);
        a.tipo = r->tipo;
        a.componente = r->componente;
        a.tamanho = r->tamanho;
        a.decimais = r->decimais;
        a.largura = r->largura;
        a.key = (r->chave & kChavePrimaria) != 0;
        a.foreign_key = (r->chave & kChaveEstrangeira) != 0;
        a.nullable = (r->opcoes & kOpcaoAceitaNulo) != 0;
        a.hidden = (r->opcoes & kOpcaoForaDoFormulario) != 0;
        f.atributos.push_back(std::move(a));
    }
    for (int i = 0; i < e.ChavesSecundarias().Count(); ++i) {
        const auto* r = static_cast<const TChaveSecundaria*>(e.ChavesSecundarias().Objects(i));
        if (!r) continue;
        SecondaryKeyFields k;
        k.nome = cp1252_to_utf8(e.ChavesSecundarias().Get(i));
        k.campos = utf8(r->campos);
        k.duplicates = (r->tipo_indice & kIndiceDuplicados) != 0;
        k.case_sensitive = (r->tipo_indice & kIndiceMaiusculas) != 0;
        k.descending = (r->tipo_indice & kIndiceDescendente) != 0;
        k.non_maintained = (r->tipo_indice & kIndiceNaoMantido) != 0;
        k.expression = (r->tipo_indice & kIndiceExpressao) != 0;
        f.chaves.push_back(std::move(k));
    }
    return f;
}

void apply_entity_fields(DiagramEntity& target, const EntityFields& f, const std::string& place) {
    // Every text is converted before anything changes, so a refused one leaves the entity as it was.
    auto text = [&](const std::string& value, const std::string& key) { return to_diagram_text(value, place, key); };
    const std::string entidade = text(f.entidade, "entidade"), tabela = text(f.tabela, "tabela");
    const std::string menu = text(f.menu, "Menu"), tituloform = text(f.tituloform, "Tituloform");
    std::vector<std::string> descricao;
    for (const std::string& line : f.descricao) descricao.push_back(text(line, "descricao"));
    std::vector<std::unique_ptr<TAtributo>> attributes;
    for (std::size_t i = 0; i < f.atributos.size(); ++i) {
        const AttributeFields& a = f.atributos[i];
        const std::string at = place + ", attribute #" + std::to_string(i + 1);
        auto r = std::make_unique<TAtributo>();
        r->nome = to_diagram_text(a.nome, at, "nome");
        r->titulo = to_diagram_text(a.titulo, at, "titulo");
        r->rotulo = to_diagram_text(a.rotulo, at, "rotulo");
        r->origem = to_diagram_text(a.origem, at, "origem");
        r->tipo = a.tipo;
        r->componente = a.componente;
        r->tamanho = a.tamanho;
        r->decimais = a.decimais;
        r->largura = a.largura;
        r->chave = (a.key ? kChavePrimaria : 0) | (a.foreign_key ? kChaveEstrangeira : 0);
        r->opcoes = (a.nullable ? kOpcaoAceitaNulo : 0) | (a.hidden ? kOpcaoForaDoFormulario : 0);
        attributes.push_back(std::move(r));
    }
    std::vector<std::pair<std::string, std::unique_ptr<TChaveSecundaria>>> keys;
    for (std::size_t i = 0; i < f.chaves.size(); ++i) {
        const SecondaryKeyFields& k = f.chaves[i];
        const std::string at = place + ", secondary key #" + std::to_string(i + 1);
        auto r = std::make_unique<TChaveSecundaria>();
        r->campos = to_diagram_text(k.campos, at, "campos");
        r->tipo_indice = (k.duplicates ? kIndiceDuplicados : 0) | (k.case_sensitive ? kIndiceMaiusculas : 0) |
                         (k.descending ? kIndiceDescendente : 0) | (k.non_maintained ? kIndiceNaoMantido : 0) |
                         (k.expression ? kIndiceExpressao : 0);
        keys.emplace_back(to_diagram_text(k.nome, at, "nome"), std::move(r));
    }

    TEntidade& e = *target.entity;
    e.SetEntidade(entidade);
    e.SetTabela(tabela);
    e.SetMenu(menu);
    e.SetTituloform(tituloform);
    e.SetAlturaform(f.alturaform);
    e.SetLarguraform(f.larguraform);
    e.SetTipoform(f.tipoform);
    e.SetModo(f.modo);
    e.SetPrimaria(f.descending_key ? (e.Primaria() | kPrimariaDescendente) : (e.Primaria() & ~kPrimariaDescendente));
    auto lines = std::make_unique<StringList>();
    for (const std::string& line : descricao) lines->Add(line.c_str());
    e.SetDescricao(std::move(lines));
    TFont font;
    font.Assign(e.FonteTitulo());
    apply_font_fields(font, f.fonte_titulo);
    e.SetFonteTitulo(font);
    font.Assign(e.FonteAtributos());
    apply_font_fields(font, f.fonte_atributos);
    e.SetFonteAtributos(font);
    font.Assign(e.FonteExtrangeiras());
    apply_font_fields(font, f.fonte_extrangeiras);
    e.SetFonteExtrangeiras(font);
    StringList attribute_list;
    for (auto& r : attributes) attribute_list.AddObject(r->nome, r.get());
    e.SetAtributos(attribute_list);  // frees the records it held before
    for (auto& r : attributes) r.release();
    StringList key_list;
    for (auto& [name, r] : keys) key_list.AddObject(name, r.get());
    e.SetChavesSecundarias(key_list);
    for (auto& entry : keys) entry.second.release();
}

RelationshipFields relationship_fields(const DiagramRelationship& r) {
    RelationshipFields f;
    f.name = cp1252_to_utf8(r.name);
    f.relacao = r.relacao;
    f.chave = r.chave;
    f.line_colour = r.line_colour;
    f.line_width = r.line_width;
    if (r.caption) f.caption = cp1252_to_utf8(r.caption->text);
    f.caption_font = r.caption && r.caption->font ? font_fields(*r.caption->font) : font_fields(*new_caption_font());
    return f;
}

void apply_relationship_fields(Diagram& diagram, std::size_t index, const RelationshipFields& f, const std::string& place) {
    DiagramRelationship& r = diagram.relationships.at(index);
    const std::string name = to_diagram_text(f.name, place, "name");
    if (!IsValidIdent(name))
        throw DiagramError(place + ": \"name\" must start with a letter or \"_\" and hold only letters, digits and \"_\" (" + f.name + ")");
    for (std::size_t i = 0; i < diagram.relationships.size(); ++i)
        if (i != index && SameIgnoringAsciiCase(diagram.relationships[i].name, name))
            throw DiagramError(place + ": \"name\" is the name of relationship #" + std::to_string(i + 1) + " already (" + f.name + ")");
    std::optional<std::string> caption;
    if (f.caption) caption = to_diagram_text(*f.caption, place, "caption.text");
    if (name != r.name) {
        TEntidade& child = *diagram.entities.at(r.to).entity;
        for (int i = 0; i < child.atributos().Count(); ++i)
            if (auto* a = static_cast<TAtributo*>(child.atributos().Objects(i)); a && a->origem.view() == r.name) a->origem = name;
        r.name = name;
    }
    r.relacao = f.relacao;
    r.chave = f.chave;
    r.line_colour = f.line_colour;
    r.line_width = f.line_width;
    set_caption(r.caption, caption, &f.caption_font);
}

std::unique_ptr<TFont> new_caption_font() {
    auto font = std::make_unique<TFont>();
    font->SetName("Arial");
    return font;
}

void set_caption(std::optional<DiagramCaption>& caption, const std::optional<std::string>& text, const FontFields* font) {
    if (!text) {
        caption.reset();
        return;
    }
    if (!caption) caption.emplace();
    if (!caption->font) caption->font = new_caption_font();
    caption->text = *text;
    if (font) apply_font_fields(*caption->font, *font);
}

DiagramEntity new_entity(const Diagram& diagram) {
    std::unordered_set<std::string> names, tables;
    for (const DiagramEntity& e : diagram.entities) {
        names.insert(AsciiUpperCase(e.entity->entidade().str()));
        tables.insert(generated_name_identity(e.entity->tabela().str()));
    }
    int n = static_cast<int>(diagram.entities.size()) + 1;
    while (names.count("ENTIDADE " + std::to_string(n)) || tables.count(generated_name_identity("ENTIDADE" + std::to_string(n)))) ++n;
    DiagramEntity result{std::make_unique<TEntidade>(), {}, std::nullopt, std::nullopt};
    result.entity->SetEntidade("Entidade " + std::to_string(n));
    result.entity->SetTabela("ENTIDADE" + std::to_string(n));
    result.entity->SetAlturaform(TEntidade::kAlturaformPadrao);
    result.entity->SetLarguraform(TEntidade::kLarguraformPadrao);
    return result;
}

std::string unique_relationship_name(const Diagram& diagram, std::size_t from, std::size_t to) {
    std::string stem = ident_part(diagram.entities.at(from).entity->entidade().str()) + "_" +
                       ident_part(diagram.entities.at(to).entity->entidade().str());
    if (!IsValidIdent(stem)) stem = "R" + stem;
    auto taken = [&](const std::string& name) {
        return std::any_of(diagram.relationships.begin(), diagram.relationships.end(),
                           [&](const DiagramRelationship& r) { return SameIgnoringAsciiCase(r.name, name); });
    };
    if (!taken(stem)) return stem;
    for (int n = 2;; ++n)
        if (!taken(stem + "_" + std::to_string(n))) return stem + "_" + std::to_string(n);
}

void add_foreign_keys(Diagram& diagram, std::size_t index) {
    const DiagramRelationship& r = diagram.relationships.at(index);
    const TEntidade& parent = *diagram.entities.at(r.from).entity;
    TEntidade& child = *diagram.entities.at(r.to).entity;
    // Read before the child changes: for a self-relationship they are one entity.
    std::vector<const TAtributo*> keys;
    for (int i = 0; i < parent.atributos().Count(); ++i)
        if (const TAtributo* a = attribute_record(parent, i); a && (a->chave & kChavePrimaria) != 0) keys.push_back(a);
    if (keys.empty()) return;
    std::unordered_set<std::string> columns;
    StringList list;
    for (int i = 0; i < child.atributos().Count(); ++i) {
        list.AddObject(child.atributos().Text(i), child.atributos().Objects(i));
        if (const TAtributo* a = attribute_record(child, i)) columns.insert(generated_name_identity(a->nome.str()));
    }
    std::vector<std::unique_ptr<TAtributo>> added;
    for (const TAtributo* key : keys) {
        std::string name = key->nome.str();
        for (int n = 2; columns.count(generated_name_identity(name)); ++n) name = key->nome.str() + "_" + std::to_string(n);
        columns.insert(generated_name_identity(name));
        auto a = std::make_unique<TAtributo>();
        a->nome = name;
        a->titulo = key->titulo;
        a->tipo = key->tipo;
        a->tamanho = key->tamanho;
        a->decimais = key->decimais;
        a->componente = key->componente;
        a->largura = key->largura;
        a->rotulo = key->rotulo;
        a->chave = kChaveEstrangeira;
        a->origem = r.name;
        added.push_back(std::move(a));
    }
    for (auto& a : added) list.AddObject(a->nome, a.get());
    child.SetAtributos(list);
    for (auto& a : added) a.release();
}
