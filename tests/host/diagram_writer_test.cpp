// Writing diagrams back to their file format: nothing the format holds may be lost or changed.

#include "host/diagram_writer.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "plugin/registros.h"

namespace {

// The first field in which two diagrams differ, as a path; empty when they are equal.
std::string font_difference(const TFont& a, const TFont& b) { return a.SameAs(b) ? "" : "font " + a.Name() + "/" + b.Name(); }
std::string caption_difference(const std::optional<DiagramCaption>& a, const std::optional<DiagramCaption>& b) {
    if (a.has_value() != b.has_value()) return "caption presence";
    if (!a) return "";
    if (a->text != b->text || a->autosize != b->autosize) return "caption text";
    if (a->shape.left != b->shape.left || a->shape.top != b->shape.top || a->shape.width != b->shape.width ||
        a->shape.height != b->shape.height)
        return "caption shape";
    return font_difference(*a->font, *b->font);
}
std::string lines_difference(const StringList& a, const StringList& b) {
    if (a.Count() != b.Count()) return "line count";
    for (int i = 0; i < a.Count(); ++i)
        if (std::string_view(a.Get(i)) != b.Get(i)) return "line " + std::to_string(i);
    return "";
}
bool same_shape(const ShapeBounds& a, const ShapeBounds& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

std::string difference(const Diagram& a, const Diagram& b) {
    if (a.project != b.project || a.server != b.server || a.escala != b.escala) return "diagram";
    if (a.entities.size() != b.entities.size()) return "entity count";
    for (std::size_t i = 0; i < a.entities.size(); ++i) {
        const std::string at = "entity " + std::to_string(i) + ": ";
        const TEntidade& x = *a.entities[i].entity;
        const TEntidade& y = *b.entities[i].entity;
        if (x.entidade() != y.entidade() || x.tabela() != y.tabela() || x.Tituloform() != y.Tituloform() ||
            x.Tipoform() != y.Tipoform() || x.Alturaform() != y.Alturaform() || x.Larguraform() != y.Larguraform() ||
            x.Menu() != y.Menu() || x.Primaria() != y.Primaria() || x.Modo() != y.Modo())
            return at + "properties";
        for (const std::string& d : {lines_difference(x.descricao(), y.descricao()), font_difference(x.FonteTitulo(), y.FonteTitulo()),
                                     font_difference(x.FonteAtributos(), y.FonteAtributos()),
                                     font_difference(x.FonteExtrangeiras(), y.FonteExtrangeiras()),
                                     caption_difference(a.entities[i].caption, b.entities[i].caption),
                                     lines_difference(x.atributos(), y.atributos()),
                                     lines_difference(x.ChavesSecundarias(), y.ChavesSecundarias())})
            if (!d.empty()) return at + d;
        if (!same_shape(a.entities[i].shape, b.entities[i].shape)) return at + "shape";
        for (int k = 0; k < x.atributos().Count(); ++k) {
            const auto& p = *static_cast<const TAtributo*>(x.atributos().Objects(k));
            const auto& q = *static_cast<const TAtributo*>(y.atributos().Objects(k));
            if (p.titulo != q.titulo || p.nome != q.nome || p.tipo != q.tipo || p.tamanho != q.tamanho ||
                p.decimais != q.decimais || p.componente != q.componente || p.chave != q.chave || p.origem != q.origem ||
                p.opcoes != q.opcoes || p.largura != q.largura || p.rotulo != q.rotulo)
                return at + "attribute " + std::to_string(k);
        }
        for (int k = 0; k < x.ChavesSecundarias().Count(); ++k) {
            const auto& p = *static_cast<const TChaveSecundaria*>(x.ChavesSecundarias().Objects(k));
            const auto& q = *static_cast<const TChaveSecundaria*>(y.ChavesSecundarias().Objects(k));
            if (p.campos != q.campos || p.tipo_indice != q.tipo_indice) return at + "secondary key " + std::to_string(k);
        }
    }
    if (a.relationships.size() != b.relationships.size()) return "relationship count";
    for (std::size_t i = 0; i < a.relationships.size(); ++i) {
        const DiagramRelationship& x = a.relationships[i];
        const DiagramRelationship& y = b.relationships[i];
        if (x.name != y.name || x.from != y.from || x.to != y.to || x.relacao != y.relacao || x.chave != y.chave ||
            x.meioperc != y.meioperc || x.start_perc != y.start_perc || x.end_perc != y.end_perc ||
            x.line_colour != y.line_colour || x.line_width != y.line_width || x.descricao != y.descricao)
            return "relationship " + std::to_string(i);
        if (const std::string d = caption_difference(x.caption, y.caption); !d.empty()) return "relationship " + std::to_string(i) + ": " + d;
    }
    if (a.texts.size() != b.texts.size()) return "text count";
    for (std::size_t i = 0; i < a.texts.size(); ++i) {
        const DiagramText& x = a.texts[i];
        const DiagramText& y = b.texts[i];
        if (x.text != y.text || x.autosize != y.autosize || !same_shape(x.shape, y.shape) || !x.font->SameAs(*y.font))
            return "text " + std::to_string(i);
    }
    return "";
}

// Seeded random diagrams that reach every field and every Windows-1252 byte a text may hold.
class RandomDiagram {
public:
    explicit RandomDiagram(unsigned seed) : random_(seed) {}

    Diagram make() {
        Diagram d;
        d.project = text(Lines::single);
        d.server = text(Lines::single);
        d.escala = number(kMinEscala, kMaxEscala);
        const int entities = number(0, 5);
        for (int i = 0; i < entities; ++i) d.entities.push_back(entity(i, d));
        for (int i = entities ? number(0, 4) : 0; i > 0; --i) {
            DiagramRelationship r;
            r.name = text(Lines::single);
            r.from = static_cast<std::size_t>(number(0, entities - 1));
            r.to = static_cast<std::size_t>(number(0, entities - 1));
            r.relacao = static_cast<trelacao>(number(0, 3));
            r.chave = static_cast<tchave>(number(0, 1));
            r.meioperc = number(0, 100);
            r.start_perc = number(0, 100);
            r.end_perc = number(0, 100);
            r.line_colour = static_cast<TColor>(random_());
            r.line_width = number(0, 1) ? 1 : number(1, kMaxLineWidth);
            for (int k = number(0, 2); k > 0; --k) r.descricao.push_back(text(Lines::single));
            r.caption = caption();
            d.relationships.push_back(std::move(r));
        }
        for (int i = number(0, 3); i > 0; --i)
            d.texts.push_back({text(Lines::several), bounds(), font(), number(0, 1) == 1});
        return d;
    }

private:
    enum class Lines { single, several };
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Mostly the awkward bytes: quotes, backslashes, accented letters, the upper half, line breaks.
    std::string text(Lines lines) {
        static const std::string awkward = "\"\\/\xE7\xE3\xE9\xC7\x80\x9F\xFF\xA0+ {}";
        std::string t;
        for (int n = number(0, 10); n > 0; --n) {
            int byte = number(0, 3) == 0 ? static_cast<unsigned char>(awkward[number(0, static_cast<int>(awkward.size()) - 1)])
                                         : number(0x20, 0xFF);
            if (lines == Lines::several && number(0, 5) == 0) byte = "\n\r\t"[number(0, 2)];
            if (byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) byte = 'x';
            t += static_cast<char>(byte);
        }
        return t;
    }
    ShapeBounds bounds() {
        if (number(0, 3) == 0) return {};
        return {static_cast<std::int32_t>(random_()), static_cast<std::int32_t>(random_()), number(0, 1) ? 0 : number(0, 5000),
                number(0, 5000)};
    }
    std::unique_ptr<TFont> font() {
        auto f = std::make_unique<TFont>();
        f->SetName(number(0, 2) ? "Arial" : text(Lines::single));
        if (number(0, 1)) f->SetHeight(number(-1000, 1000));
        f->SetStyle(TFontStyles());
        for (int s = 0; s < 4; ++s)
            if (number(0, 2) == 0) {
                TFontStyles styles = f->Style();
                styles.include(static_cast<TFontStyle>(s));
                f->SetStyle(styles);
            }
        if (number(0, 1)) f->SetColor(static_cast<TColor>(random_()));
        if (number(0, 1)) f->SetCharset(static_cast<TFontCharset>(number(0, 255)));
        return f;
    }
    std::optional<DiagramCaption> caption() {
        if (number(0, 1)) return std::nullopt;
        return DiagramCaption{text(Lines::several), bounds(), font(), number(0, 1) == 1};
    }
    DiagramEntity entity(int index, const Diagram& d) {
        DiagramEntity item{std::make_unique<TEntidade>(), bounds(), caption()};
        TEntidade& e = *item.entity;
        // Now and then the name of an earlier entity: relationships must still find the right one.
        e.SetEntidade(index && number(0, 3) == 0 ? d.entities[0].entity->entidade() : HostString(text(Lines::single)));
        e.SetTabela("T" + std::to_string(index) + "_" + text(Lines::single));  // table names never collide
        e.SetTituloform(text(Lines::single));
        e.SetTipoform(number(0, 2));
        e.SetAlturaform(number(0, 1) ? TEntidade::kAlturaformPadrao : number(0, INT32_MAX));
        e.SetLarguraform(number(0, INT32_MAX));
        e.SetMenu(text(Lines::single));
        e.SetPrimaria(std::array{0, 4, static_cast<int>(random_())}[number(0, 2)]);
        e.SetModo(static_cast<tmodo>(number(0, 6)));
        auto description = std::make_unique<StringList>();
        for (int k = number(0, 2); k > 0; --k) description->Add(text(Lines::single).c_str());
        e.SetDescricao(std::move(description));
        e.SetFonteTitulo(*font());
        e.SetFonteAtributos(*font());
        e.SetFonteExtrangeiras(*font());
        StringList attributes;
        for (int k = number(0, 5); k > 0; --k) {
            auto* a = new TAtributo;
            a->nome = "C" + std::to_string(k) + "_" + text(Lines::single);
            a->titulo = text(Lines::single);
            a->tipo = number(0, 19);
            a->tamanho = number(0, 1) ? 0 : number(0, INT32_MAX);
            a->decimais = number(0, 20);
            a->componente = number(1, 10);
            a->chave = static_cast<std::uint32_t>(number(0, 3));
            a->opcoes = (number(0, 1) ? kOpcaoAceitaNulo : 0) | (number(0, 1) ? kOpcaoForaDoFormulario : 0);
            a->largura = number(0, 400);
            a->rotulo = text(Lines::single);
            a->origem = text(Lines::single);
            attributes.AddObject(a->nome, a);
        }
        e.SetAtributos(attributes);
        StringList keys;
        for (int k = number(0, 3); k > 0; --k) {
            auto* key = new TChaveSecundaria;
            key->campos = "F" + text(Lines::single);  // any text: lists and joined texts with empty parts
            key->tipo_indice = static_cast<std::uint32_t>(number(0, 31));
            keys.AddObject("I" + text(Lines::single), key);
        }
        e.SetChavesSecundarias(keys);
        return item;
    }

    std::mt19937 random_;
};

std::string written_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DiagramWriter, ExamplesRoundTripToEqualDiagramsAndStableBytes) {
    for (const char* name : {"cliente.json", "vendas.json"}) {
        const Diagram loaded = load_diagram(std::string(KZR40_SOURCE_DIR "/examples/") + name);
        const std::string json = diagram_to_json(loaded, name);
        const Diagram again = parse_diagram(json, name);
        EXPECT_EQ(difference(loaded, again), "") << name;
        EXPECT_EQ(diagram_to_json(again, name), json) << name;
    }
}

TEST(DiagramWriter, RandomDiagramsRoundTrip) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const Diagram d = RandomDiagram(seed).make();
        std::string json;
        try {
            json = diagram_to_json(d, "r.json");
            const Diagram back = parse_diagram(json, "r.json");
            ASSERT_EQ(difference(d, back), "") << "seed " << seed << "\n" << json;
            ASSERT_EQ(diagram_to_json(back, "r.json"), json) << "seed " << seed;
        } catch (const DiagramError& e) {
            FAIL() << "seed " << seed << ": " << e.what() << "\n" << json;
        }
    }
}

// The output is meant to be read and edited by people: fixed key order, two-blank indentation, UTF-8.
TEST(DiagramWriter, OutputIsIndentedUtf8InDocumentedKeyOrder) {
    const Diagram d = parse_diagram(R"({"project": "P", "Escala": 150, "entities": [{"tabela": "T", "entidade": "Pre\u00e7o",
        "caption": {"text": "c", "autosize": false}}], "relationships": [{"to": "Pre\u00e7o", "from": 1, "name": "R",
        "EndConn": {"perc": 30}, "LineColour": 255}]})",
                                    "in.json");
    EXPECT_EQ(diagram_to_json(d, "out.json"), R"({
  "version": 2,
  "project": "P",
  "Escala": 150,
  "entities": [
    {
      "entidade": "Pre)" "\xC3\xA7" R"(o",
      "tabela": "T",
      "caption": {
        "text": "c",
        "autosize": false
      }
    }
  ],
  "relationships": [
    {
      "name": "R",
      "from": "Pre)" "\xC3\xA7" R"(o",
      "to": "Pre)" "\xC3\xA7" R"(o",
      "EndConn": {
        "perc": 30
      },
      "LineColour": 255
    }
  ]
}
)");
}

// What the format cannot hold is refused with the item named, and the file already there stays as it was.
TEST(DiagramWriter, RefusesWhatWouldNotReadBackAndLeavesTheFileAlone) {
    const std::string path = ::testing::TempDir() + "kzr40-writer.json";
    Diagram d = parse_diagram(R"({"entities": [{"entidade": "E", "tabela": "T", "atributos": [{"nome": "A", "tipo": 1}]}]})", "in");
    save_diagram(d, path);
    const std::string before = written_file(path);
    EXPECT_EQ(difference(load_diagram(path), d), "");

    auto* record = static_cast<TAtributo*>(d.entities[0].entity->atributos().Objects(0));
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { record->rotulo = "a\x81z"; }, ": entity \"E\" (#1), attribute \"A\" (#1): \"rotulo\" holds the byte 0x81, which Windows-1252 leaves undefined"},
        {[&] { record->rotulo = "a\nb"; }, "attribute \"A\" (#1): \"rotulo\" holds the control character U+000A"},
        {[&] { record->chave = 8; }, "\"chave\" has bits the format cannot hold (8)"},
        {[&] { record->tipo = 20; }, "\"tipo\" has the value 20, which names no field type"},
        {[&] { d.escala = 5; }, ": \"Escala\" must lie between 10 and 1000 (5)"},
    };
    for (const auto& [spoil, message] : cases) {
        Diagram fresh = parse_diagram(R"({"entities": [{"entidade": "E", "tabela": "T", "atributos": [{"nome": "A", "tipo": 1}]}]})", "in");
        record = static_cast<TAtributo*>(fresh.entities[0].entity->atributos().Objects(0));
        d = std::move(fresh);
        spoil();
        try {
            save_diagram(d, path);
            ADD_FAILURE() << message;
        } catch (const DiagramError& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with(path + ": ")) << e.what();
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
        EXPECT_EQ(written_file(path), before);
    }
    std::remove(path.c_str());
}

}  // namespace
