// Reading the JSON form of diagram files: what each object of the format means, on top of the checked JSON
// reading of diagram/json_objects.h; the entities are read by two threads when there are many.

#include "diagram/json_reader.h"

#include <array>
#include <thread>
#include <unordered_map>

#include <simdjson.h>

#include "platform/huge_pages.h"
#include "platform/utf8_cp1252.h"
#include "diagram/diagram_checks.h"
#include "diagram/json_objects.h"
#include "diagram/json_syntax_error.h"
#include "plugin/catalogo.h"
#include "plugin/enum_names.h"
#include "plugin/nomes.h"
#include "plugin/registros.h"

namespace {

using namespace diagram_json;

// Name tables for values given by name.
const KeySet& type_names() {
    static const KeySet names = [] {
        std::array<std::string_view, kTiposNoCatalogo> list;
        for (int i = 0; i < kTiposNoCatalogo; ++i) list[i] = nome_tipo(i);
        return KeySet(list);
    }();
    return names;
}
const KeySet& component_names() {
    static const KeySet names = [] {
        std::array<std::string_view, kComponentesNoCatalogo> list;
        for (int i = 0; i < kComponentesNoCatalogo; ++i) list[i] = nome_componente(i + 1);
        return KeySet(list);
    }();
    return names;
}
const KeySet kFormLayouts{"vertical", "horizontal", "grid"};
const KeySet kModes{std::span<const std::string_view>(kModoNames)};
const KeySet kStyles{"faithful", "modern"};
const KeySet kThemes{"light", "dark"};

// A colour written as "#RRGGBB".
TColor read_colour(const ObjectReader& owner, std::string_view key) {
    const element value = owner.get(key);
    std::string_view text;
    if (value.get_string().get(text) || text.size() != 7 || text[0] != '#' ||
        text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string_view::npos)
        owner.fail(key, "must be a colour written as \"#RRGGBB\"");
    const auto rgb = static_cast<std::uint32_t>(std::stoul(std::string(text.substr(1)), nullptr, 16));
    // TColor holds blue in its high byte, as the stored diagrams do.
    return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
}
const KeySet kCardinalities{std::span<const std::string_view>(kRelacaoNames)};
const KeySet kKeyKinds{std::span<const std::string_view>(kChaveNames)};
constexpr std::array<std::string_view, 4> kFontStyles = {"bold", "italic", "underline", "strikeout"};

constexpr std::int64_t kInt32Min = INT32_MIN, kInt32Max = INT32_MAX;

// Below this many entities a second reading thread costs more than it saves.
constexpr std::size_t kEntitiesWorthAThread = 512;

std::vector<std::string> read_lines(const ObjectReader& object, std::string_view key) {
    std::vector<std::string> lines;
    if (auto items = object.array(key))
        for (element line : *items) lines.push_back(object.convert(key, line, diagram_json::Lines::single));
    return lines;
}

}  // namespace

std::optional<CoordinateOutOfRange> coordinate_out_of_range(const ShapeBounds& b) {
    for (const CoordinateOutOfRange c : {CoordinateOutOfRange{"left", b.left, -kMaxCoordinate, kMaxCoordinate},
                                         CoordinateOutOfRange{"top", b.top, -kMaxCoordinate, kMaxCoordinate},
                                         CoordinateOutOfRange{"width", b.width, 0, kMaxCoordinate},
                                         CoordinateOutOfRange{"height", b.height, 0, kMaxCoordinate}})
        if (c.value < c.low || c.value > c.high) return c;
    return std::nullopt;
}

std::string CoordinateOutOfRange::problem() const {
    return "must lie between " + std::to_string(low) + " and " + std::to_string(high) + " (" + std::to_string(value) + ")";
}

namespace {

ShapeBounds read_shape(const ObjectReader& owner) {
    ShapeBounds bounds;
    if (!owner.has("shape")) return bounds;
    static const KeySet kKeys{"left", "top", "width", "height"};
    const ObjectReader shape(owner.get("shape"), owner.place(), kKeys, "shape");
    bounds.left = shape.integer("left", 0, -kMaxCoordinate, kMaxCoordinate);
    bounds.top = shape.integer("top", 0, -kMaxCoordinate, kMaxCoordinate);
    bounds.width = shape.integer("width", 0, 0, kMaxCoordinate);
    bounds.height = shape.integer("height", 0, 0, kMaxCoordinate);
    return bounds;
}

void read_font(const ObjectReader& owner, std::string_view key, TFont& font) {
    if (!owner.has(key)) return;
    static const KeySet kKeys{"name", "size", "height", "style", "color", "charset"};
    const ObjectReader f(owner.get(key), owner.place(), kKeys, key);
    if (f.has("name")) font.SetName(f.text("name"));
    if (f.has("size") && f.has("height")) f.fail("size", "and \"height\" say the same thing: give one of them");
    if (f.has("size")) font.SetSize(f.integer("size", 0, 1, 1000));
    if (f.has("height")) font.SetHeight(f.integer("height", 0, -1000, 1000));
    if (auto styles = f.array("style")) {
        TFontStyles set;
        for (element style : *styles) {
            if (style.type() != element_type::STRING) f.fail("style", "must list texts such as \"bold\"");
            const std::string_view name = style.get_string().value_unsafe();
            std::size_t i = 0;
            while (i < kFontStyles.size() && kFontStyles[i] != name) ++i;
            if (i == kFontStyles.size())
                f.fail("style", "names no font style: \"" + std::string(name) + "\" (use bold, italic, underline, strikeout)");
            set.include(static_cast<TFontStyle>(i));
        }
        font.SetStyle(set);
    }
    // Colours are written as the platform numbers them, system colours (0x80000000 and up) included.
    if (f.has("color")) font.SetColor(static_cast<TColor>(static_cast<std::uint32_t>(f.whole_number("color", f.get("color"), kInt32Min, UINT32_MAX))));
    if (f.has("charset")) font.SetCharset(static_cast<TFontCharset>(f.integer("charset", 0, 0, 255)));
}

std::unique_ptr<TFont> read_arial_font(const ObjectReader& owner, std::string_view key) {
    auto font = std::make_unique<TFont>();
    font->SetName("Arial");
    read_font(owner, key, *font);
    return font;
}

const KeySet kTextBoxKeys{"text", "shape", "font", "autosize"};

DiagramTextBox read_text_box(const ObjectReader& box) {
    DiagramTextBox result;
    result.text = box.required_text("text", diagram_json::Lines::several);
    result.shape = read_shape(box);
    result.font = read_arial_font(box, "font");
    result.autosize = !box.has("autosize") || box.flag("autosize");
    return result;
}

// A caption under the key "caption" of an entity or a relationship.
std::optional<DiagramCaption> read_caption(const ObjectReader& owner) {
    if (!owner.has("caption")) return std::nullopt;
    return read_text_box(ObjectReader(owner.get("caption"), owner.place(), kTextBoxKeys, "caption"));
}

std::unique_ptr<TAtributo> read_attribute(element value, const Place& entity, std::size_t number) {
    Place place{&entity, "attribute", number, {}, nullptr};
    static const KeySet kKeys{"nome",        "titulo",   "tipo",   "tamanho", "decimais", "componente", "key",
                              "foreign_key", "nullable", "hidden", "largura", "rotulo",   "origem"};
    const ObjectReader a(value, place, "the attribute", kKeys, "nome");
    auto record = std::make_unique<TAtributo>();
    record->nome = a.required_text("nome");
    if (record->nome.empty()) a.fail("nome", "must not be empty");
    record->titulo = a.text("titulo");
    if (!a.has("tipo")) a.fail("tipo", "is missing");
    record->tipo = a.choice("tipo", 0, type_names(), 0);
    record->tamanho = a.integer("tamanho", 0, 0, kInt32Max);
    record->decimais = a.integer("decimais", 0, 0, kInt32Max);
    record->componente = a.choice("componente", 1, component_names(), 1);
    record->chave = (a.flag("key") ? kChavePrimaria : 0) | (a.flag("foreign_key") ? kChaveEstrangeira : 0);
    record->opcoes = (a.flag("nullable") ? kOpcaoAceitaNulo : 0) | (a.flag("hidden") ? kOpcaoForaDoFormulario : 0);
    record->largura = a.integer("largura", 0, 0, kInt32Max);
    record->rotulo = a.text("rotulo");
    record->origem = a.text("origem");
    return record;
}

std::unique_ptr<TChaveSecundaria> read_secondary_key(element value, const Place& entity, std::size_t number,
                                                     std::string& name) {
    Place place{&entity, "secondary key", number, {}, nullptr};
    static const KeySet kKeys{"nome",       "campos",         "duplicates", "case_sensitive",
                              "descending", "non_maintained", "expression"};
    const ObjectReader k(value, place, "the secondary key", kKeys, "nome");
    name = k.required_text("nome");
    if (name.empty()) k.fail("nome", "must not be empty");
    if (!k.has("campos")) k.fail("campos", "is missing");
    std::string fields;
    if (k.get("campos").type() == element_type::STRING) {
        fields = k.text("campos");
    } else {
        const simdjson::dom::array listed = *k.array("campos");
        for (element field : listed) {
            const std::string text = k.convert("campos", field, diagram_json::Lines::single);
            if (text.empty() || text.find('+') != std::string::npos)
                k.fail("campos", "lists a field name that is empty or holds \"+\"");
            if (!fields.empty()) fields += '+';
            fields += text;
        }
    }
    if (fields.empty()) k.fail("campos", "must name at least one field");
    auto record = std::make_unique<TChaveSecundaria>();
    record->campos = fields;
    record->tipo_indice = (k.flag("duplicates") ? kIndiceDuplicados : 0) | (k.flag("case_sensitive") ? kIndiceMaiusculas : 0) |
                          (k.flag("descending") ? kIndiceDescendente : 0) | (k.flag("non_maintained") ? kIndiceNaoMantido : 0) |
                          (k.flag("expression") ? kIndiceExpressao : 0);
    return record;
}

std::int32_t read_primary_options(const ObjectReader& e) {
    if (!e.has("Primaria")) return 0;
    const element value = e.get("Primaria");
    if (value.type() == element_type::INT64) return e.integer("Primaria", 0, kInt32Min, kInt32Max);
    static const KeySet kKeys{"descending"};
    const ObjectReader p(value, e.place(), kKeys, "Primaria");
    return p.flag("descending") ? kPrimariaDescendente : 0;
}

// What the file says of one entity, read into plain records and then built into a TEntidade. Neither
// touches state shared with other entities (texts shared between threads are counted atomically), so
// several entities can be read at once.
struct EntitySpec {
    std::string entidade, tabela, tituloform, menu;
    std::int32_t tipoform = 0, alturaform = 0, larguraform = 0, primaria = 0;
    tmodo modo = tmodo::tmAtributo;
    std::vector<std::string> descricao;
    std::array<std::unique_ptr<TFont>, 3> fonts;  // FonteTitulo, FonteAtributos, FonteExtrangeiras
    ShapeBounds shape;
    std::optional<DiagramCaption> caption;
    std::optional<TColor> colour;
    std::vector<std::unique_ptr<TAtributo>> attributes;
    std::vector<std::pair<std::string, std::unique_ptr<TChaveSecundaria>>> keys;
};

constexpr std::array<std::string_view, 3> kFontKeys = {"FonteTitulo", "FonteAtributos", "FonteExtrangeiras"};

EntitySpec read_entity(element value, const Place& file, std::size_t number) {
    Place place{&file, "entity", number, {}, nullptr};
    static const KeySet kKeys{"entidade",    "tabela",         "Tituloform",        "Tipoform", "Alturaform", "Larguraform",
                              "Menu",        "Primaria",       "Modo",              "descricao", "FonteTitulo",
                              "FonteAtributos", "FonteExtrangeiras", "shape",       "caption",  "atributos",
                              "ChavesSecundarias", "colour"};
    const ObjectReader e(value, place, "the entity", kKeys, "entidade");

    EntitySpec spec;
    spec.entidade = e.required_text("entidade");
    if (!e.has("tabela")) e.fail("tabela", "is missing");
    spec.tabela = e.text("tabela");
    spec.tituloform = e.text("Tituloform");
    spec.tipoform = e.choice("Tipoform", 0, kFormLayouts, 0);
    spec.alturaform = e.integer("Alturaform", TEntidade::kAlturaformPadrao, 0, kInt32Max);
    spec.larguraform = e.integer("Larguraform", TEntidade::kLarguraformPadrao, 0, kInt32Max);
    spec.menu = e.text("Menu");
    spec.primaria = read_primary_options(e);
    spec.modo = static_cast<tmodo>(e.choice("Modo", 0, kModes, 0));
    spec.descricao = read_lines(e, "descricao");
    for (std::size_t i = 0; i < kFontKeys.size(); ++i) {
        if (!e.has(kFontKeys[i])) continue;
        spec.fonts[i] = std::make_unique<TFont>();
        spec.fonts[i]->SetName("Arial");
        read_font(e, kFontKeys[i], *spec.fonts[i]);
    }
    spec.shape = read_shape(e);
    spec.caption = read_caption(e);
    if (e.has("colour")) spec.colour = read_colour(e, "colour");

    if (auto items = e.array("atributos")) {
        std::unordered_map<std::string, std::size_t> columns;  // column identity -> attribute number
        columns.reserve(items->size());
        spec.attributes.reserve(items->size());
        for (element item : *items) {
            spec.attributes.push_back(read_attribute(item, place, spec.attributes.size() + 1));
            const std::size_t number = spec.attributes.size();
            const auto [at, added] = columns.try_emplace(generated_name_identity(spec.attributes.back()->nome.str()), number);
            if (!added) {
                Place attribute{&place, "attribute", number, {}, nullptr};
                const std::string shown = cp1252_to_utf8(spec.attributes.back()->nome.view());
                attribute.name = shown;
                fail(attribute, "nome",
                     "gives the column " + at->first + ", which attribute #" + std::to_string(at->second) + " already has");
            }
        }
    }
    if (auto items = e.array("ChavesSecundarias")) {
        for (element item : *items) {
            std::string name;
            auto record = read_secondary_key(item, place, spec.keys.size() + 1, name);
            spec.keys.emplace_back(std::move(name), std::move(record));
        }
    }
    return spec;
}

DiagramEntity build_entity(EntitySpec& spec) {
    DiagramEntity result{std::make_unique<TEntidade>(), spec.shape, std::move(spec.caption), spec.colour};
    TEntidade& entity = *result.entity;
    entity.SetEntidade(spec.entidade);
    entity.SetTabela(spec.tabela);
    entity.SetTituloform(spec.tituloform);
    entity.SetTipoform(spec.tipoform);
    entity.SetAlturaform(spec.alturaform);
    entity.SetLarguraform(spec.larguraform);
    entity.SetMenu(spec.menu);
    entity.SetPrimaria(spec.primaria);
    entity.SetModo(spec.modo);
    auto description = std::make_unique<StringList>();
    for (const std::string& line : spec.descricao) description->Add(line.c_str());
    entity.SetDescricao(std::move(description));
    if (spec.fonts[0]) entity.SetFonteTitulo(*spec.fonts[0]);
    if (spec.fonts[1]) entity.SetFonteAtributos(*spec.fonts[1]);
    if (spec.fonts[2]) entity.SetFonteExtrangeiras(*spec.fonts[2]);

    StringList attribute_list;
    for (auto& record : spec.attributes) attribute_list.AddObject(record->nome, record.get());
    StringList key_list;
    for (auto& [name, record] : spec.keys) key_list.AddObject(name, record.get());
    entity.SetAtributos(attribute_list);
    for (auto& record : spec.attributes) record.release();  // the entity owns them now
    entity.SetChavesSecundarias(key_list);
    for (auto& entry : spec.keys) entry.second.release();
    return result;
}

// Reads and builds the entities of `items` from `first` up to `last`, in order; stops at the first bad
// one and keeps its error.
struct EntityBatch {
    std::vector<DiagramEntity> entities;
    std::exception_ptr error;
};
void read_entities(const simdjson::dom::array& items, std::size_t first, std::size_t last, const Place& file,
                   EntityBatch& batch) {
    try {
        batch.entities.reserve(last - first);
        std::size_t index = 0;
        for (element item : items) {
            if (index >= last) break;
            if (index >= first) {
                EntitySpec spec = read_entity(item, file, index + 1);
                batch.entities.push_back(build_entity(spec));
            }
            ++index;
        }
    } catch (...) {
        batch.error = std::current_exception();
    }
}

// Entity index by name; of two entities with one name the first counts.
using EntityIndex = std::unordered_map<std::string_view, std::size_t>;

// A relationship end (`from`, `to`): an entity's name, or its position in `entities` from 1, which
// tells apart two entities of one name.
std::size_t read_end(const ObjectReader& r, std::string_view key, const EntityIndex& entities, std::size_t count) {
    if (!r.has(key)) r.fail(key, "is missing");
    const element_type type = r.get(key).type();
    if (type != element_type::STRING) {
        if (type != element_type::INT64 && type != element_type::UINT64)
            r.fail(key, std::string("must be an entity's name or number, not ") + type_name(type));
        if (count == 0) r.fail(key, "names no entity: the diagram has none");
        return static_cast<std::size_t>(r.whole_number(key, r.get(key), 1, static_cast<std::int64_t>(count))) - 1;
    }
    const auto found = entities.find(r.text(key));
    if (found == entities.end()) r.fail(key, "names no entity of the diagram (\"" + std::string(r.raw_text(key)) + "\")");
    return found->second;
}

// The side percentage of a relationship end (`StartConn`, `EndConn`).
std::int32_t read_connection(const ObjectReader& r, std::string_view key) {
    if (!r.has(key)) return 50;
    static const KeySet kKeys{"perc"};
    const ObjectReader c(r.get(key), r.place(), kKeys, key);
    return c.integer("perc", 50, 0, 100);
}

DiagramRelationship read_relationship(element value, const Place& file, std::size_t number, const EntityIndex& entities,
                                      std::size_t entity_count) {
    Place place{&file, "relationship", number, {}, nullptr};
    static const KeySet kKeys{"name",    "from",       "to",        "Relacao", "Chave",    "meioperc",
                              "StartConn", "EndConn", "LineWidth", "LineColour", "caption", "descricao"};
    const ObjectReader r(value, place, "the relationship", kKeys, "name");
    DiagramRelationship result;
    result.name = r.required_text("name");
    result.from = read_end(r, "from", entities, entity_count);
    result.to = read_end(r, "to", entities, entity_count);
    result.relacao = static_cast<trelacao>(r.choice("Relacao", 0, kCardinalities, 0));
    result.chave = static_cast<tchave>(r.choice("Chave", 0, kKeyKinds, 0));
    result.meioperc = r.integer("meioperc", 50, 0, 100);
    result.start_perc = read_connection(r, "StartConn");
    result.end_perc = read_connection(r, "EndConn");
    result.line_width = r.integer("LineWidth", 1, 1, kMaxLineWidth);
    if (r.has("LineColour"))
        result.line_colour = static_cast<TColor>(
            static_cast<std::uint32_t>(r.whole_number("LineColour", r.get("LineColour"), kInt32Min, UINT32_MAX)));
    result.caption = read_caption(r);
    result.descricao = read_lines(r, "descricao");
    return result;
}

DiagramText read_text(element value, const Place& file, std::size_t number) {
    Place place{&file, "text", number, {}, nullptr};
    return read_text_box(ObjectReader(value, place, "the text", kTextBoxKeys));
}

}  // namespace

// The text and the parser's index of it are released as soon as the parsed document stands (it holds
// its own copy of every text): at its peak a large diagram is held once as the document and once as
// records, not also as text.
Diagram parse_json_diagram(std::string padded, const std::string& source) {
    const std::size_t length = padded.size() - simdjson::SIMDJSON_PADDING;
    const Place file{nullptr, {}, 0, {}, &source};
    // Some editors start a UTF-8 file with a byte-order mark; it carries nothing here.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const std::size_t skip = std::string_view(padded.data(), length).starts_with(kByteOrderMark) ? 3 : 0;
    simdjson::dom::document document;
    // The document's tape and texts are written once, front to back; for a large file their 4 KiB page
    // faults weigh more than the parse itself. Sized here as the parser would size them, so that it
    // keeps them; the two sizes repeat simdjson's own (a tape word per byte, 5/3 of the text for the
    // strings), and should they drift the hint only covers less.
    if (document.allocate(length - skip) == simdjson::SUCCESS) {
        advise_huge_pages(document.tape.get(), (length - skip + 3) * sizeof(std::uint64_t));
        advise_huge_pages(document.string_buf.get(), 5 * (length - skip) / 3);
    }
    element root;
    {
        simdjson::dom::parser parser;
        const auto* start = reinterpret_cast<const std::uint8_t*>(padded.data()) + skip;
        if (const auto error = parser.parse_into_document(document, start, length - skip, false).get(root)) {
            // simdjson says what kind of fault it met but not where; the place is found on this path only.
            const std::string place = json_syntax_error(std::string_view(padded.data() + skip, length - skip));
            fail(file, "", "is not valid JSON: " + (place.empty() ? std::string(simdjson::error_message(error)) : place));
        }
    }  // the parser's index of the text is not needed once the document stands
    std::string().swap(padded);

    static const KeySet kKeys{"version", "project", "server", "Escala", "entities", "relationships", "texts", "style", "theme"};
    const ObjectReader top(root, file, "the diagram", kKeys);
    top.integer("version", 1, 1, kDiagramFormatVersion);
    Diagram diagram;
    diagram.project = top.text("project");
    diagram.server = top.text("server");
    diagram.escala = top.integer("Escala", 100, kMinEscala, kMaxEscala);
    diagram.style = static_cast<DiagramStyle>(top.choice("style", 0, kStyles, 0));
    diagram.theme = static_cast<DiagramTheme>(top.choice("theme", 0, kThemes, 0));
    if (!top.has("entities")) top.fail("entities", "is missing");
    const simdjson::dom::array entities = *top.array("entities");
    // A large diagram is read by two threads, each taking half of the entities; the first bad entity in
    // file order is reported.
    const std::size_t count = entities.size();
    std::array<EntityBatch, 2> batches;
    if (count >= kEntitiesWorthAThread) {
        std::thread second(read_entities, std::cref(entities), count / 2, count, std::cref(file), std::ref(batches[1]));
        read_entities(entities, 0, count / 2, file, batches[0]);
        second.join();
    } else {
        read_entities(entities, 0, count, file, batches[0]);
    }
    for (EntityBatch& batch : batches)
        if (batch.error) std::rethrow_exception(batch.error);
    diagram.entities = std::move(batches[0].entities);
    diagram.entities.reserve(count);
    for (DiagramEntity& entity : batches[1].entities) diagram.entities.push_back(std::move(entity));
    // Before the relationships are read: a clash of table names is reported before any of theirs.
    // read_entity has refused an attribute or a secondary key without a name, and two attributes of
    // one column, as it read each entity.
    check_diagram(diagram, source, EntityNames::checked_on_read);
    if (auto items = top.array("relationships")) {
        EntityIndex by_name;
        for (std::size_t i = 0; i < diagram.entities.size(); ++i) by_name.emplace(diagram.entities[i].entity->entidade().view(), i);
        for (element item : *items)
            diagram.relationships.push_back(
                read_relationship(item, file, diagram.relationships.size() + 1, by_name, diagram.entities.size()));
    }
    if (auto items = top.array("texts"))
        for (element item : *items) diagram.texts.push_back(read_text(item, file, diagram.texts.size() + 1));
    return diagram;
}
