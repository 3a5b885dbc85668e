#pragma once

// Seeded random diagrams and a comparable row of every field of a diagram, for the tests of the
// diagram's file forms (JSON and stored).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "diagram/diagram.h"
#include "platform/windows_1252.h"
#include "plugin/registros.h"

namespace test_support {

// Every field of a diagram in a row, each text with its length: equal diagrams give equal rows.
inline std::string fields(const Diagram& d) {
    std::ostringstream o;
    auto text = [&](std::string_view t) { o << t.size() << ':' << t << ' '; };
    auto font = [&](const TFont& f) { text(f.Name()), o << f.Height() << ' ' << +f.Style().bits() << ' ' << f.Color() << ' ' << +f.Charset() << ' '; };
    auto shape = [&](const ShapeBounds& s) { o << s.left << ' ' << s.top << ' ' << s.width << ' ' << s.height << ' '; };
    auto caption = [&](const std::optional<DiagramCaption>& c) {
        if (c) text(c->text), shape(c->shape), font(*c->font), o << c->autosize;
        o << (c ? "\n" : "-\n");
    };
    auto list = [&](const StringList& l) {
        for (int i = 0; i < l.Count(); ++i) text(l.Get(i));
        o << '\n';
    };
    text(d.project), text(d.server), o << d.escala << '\n';
    for (const DiagramEntity& item : d.entities) {
        const TEntidade& e = *item.entity;
        for (const HostString* t : {&e.entidade(), &e.tabela(), &e.Tituloform(), &e.Menu()}) text(t->view());
        o << e.Tipoform() << ' ' << e.Alturaform() << ' ' << e.Larguraform() << ' ' << e.Primaria() << ' ' << int(e.Modo()) << '\n';
        list(e.descricao()), font(e.FonteTitulo()), font(e.FonteAtributos()), font(e.FonteExtrangeiras()), shape(item.shape);
        caption(item.caption), list(e.atributos()), list(e.ChavesSecundarias());
        for (int i = 0; i < e.atributos().Count(); ++i) {
            const auto& a = *static_cast<const TAtributo*>(e.atributos().Objects(i));
            for (const HostString* t : {&a.titulo, &a.nome, &a.origem, &a.rotulo}) text(t->view());
            o << a.tipo << ' ' << a.tamanho << ' ' << a.decimais << ' ' << a.componente << ' ' << a.chave << ' ' << a.opcoes << ' ' << a.largura << '\n';
        }
        for (int i = 0; i < e.ChavesSecundarias().Count(); ++i) {
            const auto& k = *static_cast<const TChaveSecundaria*>(e.ChavesSecundarias().Objects(i));
            text(k.campos.view()), o << k.tipo_indice << '\n';
        }
    }
    for (const DiagramRelationship& r : d.relationships) {
        text(r.name), o << r.from << ' ' << r.to << ' ' << int(r.relacao) << ' ' << int(r.chave) << ' ' << r.meioperc << ' ';
        o << r.start_perc << ' ' << r.end_perc << ' ' << r.line_width << ' ' << r.line_colour << ' ';
        for (const std::string& line : r.descricao) text(line);
        caption(r.caption);
    }
    for (const DiagramText& t : d.texts) text(t.text), shape(t.shape), font(*t.font), o << t.autosize << '\n';
    return o.str();
}

// Seeded random diagrams that reach every field and every byte a Windows-1252 text may hold, mostly the
// awkward ones: quotes, backslashes, accented letters, the upper half, line breaks where allowed.
class RandomDiagram {
public:
    explicit RandomDiagram(unsigned seed) : random_(seed) {}

    Diagram make() {
        Diagram d{text(), text(), number(kMinEscala, kMaxEscala), {}, {}, {}};
        for (int i = 0, n = number(0, 5); i < n; ++i) d.entities.push_back(entity(i, d));
        for (int i = d.entities.empty() ? 0 : number(0, 4); i > 0; --i) {
            const auto end = [&] { return static_cast<std::size_t>(number(0, static_cast<int>(d.entities.size()) - 1)); };
            d.relationships.push_back({text(), end(), end(), trelacao(number(0, 3)), tchave(number(0, 1)), number(0, 100),
                                       number(0, 100), number(0, 100), TColor(random_()), number(1, kMaxLineWidth),
                                       {text(), text()}, caption()});
        }
        for (int i = number(0, 3); i > 0; --i) d.texts.push_back({text(true), bounds(), font(), number(0, 1) == 1});
        return d;
    }

private:
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::string text(bool lines = false) {
        static const std::string awkward = "\"\\/\xE7\xE3\xE9\xC7\x80\x9F\xFF\xA0+ {}";
        std::string t;
        for (int n = number(0, 10); n > 0; --n) {
            int byte = number(0, 3) ? number(0x20, 0xFF) : static_cast<unsigned char>(awkward[number(0, int(awkward.size()) - 1)]);
            if (lines && number(0, 5) == 0) byte = "\n\r\t"[number(0, 2)];
            if (byte == 0x7F || !Windows1252Defined(static_cast<unsigned char>(byte))) byte = 'x';
            t += static_cast<char>(byte);
        }
        return t;
    }
    ShapeBounds bounds() { return {coordinate(), coordinate(), number(0, 1) * number(0, 5000), number(0, 5000)}; }
    // Anywhere a diagram may hold, its very edges included.
    std::int32_t coordinate() {
        if (number(0, 9) == 0) return number(0, 1) ? kMaxCoordinate : -kMaxCoordinate;
        return number(-kMaxCoordinate, kMaxCoordinate);
    }
    std::unique_ptr<TFont> font() {
        auto f = std::make_unique<TFont>();
        f->SetName(number(0, 2) ? "Arial" : text());
        if (number(0, 1)) f->SetHeight(number(-1000, 1000));  // sizes in points and heights in pixels
        f->SetStyle(TFontStyles());
        for (int s = 0; s < 4; ++s) {
            TFontStyles styles = f->Style();
            if (number(0, 2) == 0) styles.include(TFontStyle(s)), f->SetStyle(styles);
        }
        if (number(0, 1)) f->SetColor(TColor(random_())), f->SetCharset(TFontCharset(number(0, 255)));
        return f;
    }
    std::optional<DiagramCaption> caption() {
        if (number(0, 1)) return std::nullopt;
        return DiagramCaption{text(true), bounds(), font(), number(0, 1) == 1};
    }
    DiagramEntity entity(int index, const Diagram& d) {
        DiagramEntity item{std::make_unique<TEntidade>(), bounds(), caption(), std::nullopt};
        TEntidade& e = *item.entity;
        // Now and then an earlier entity's name: relationships must still reach the right one.
        e.SetEntidade(index && !number(0, 3) ? d.entities[0].entity->entidade() : HostString(text()));
        e.SetTabela("T" + std::to_string(index) + "_" + text());  // tables never collide
        e.SetTituloform(text()), e.SetTipoform(number(0, 2)), e.SetMenu(text()), e.SetModo(tmodo(number(0, 6)));
        e.SetAlturaform(number(0, 1) ? TEntidade::kAlturaformPadrao : number(0, INT32_MAX));
        e.SetLarguraform(number(0, INT32_MAX));
        e.SetPrimaria(std::array{0, kPrimariaDescendente, int(random_())}[number(0, 2)]);
        auto description = std::make_unique<StringList>();
        for (int k = number(0, 2); k > 0; --k) description->Add(text().c_str());
        e.SetDescricao(std::move(description));
        e.SetFonteTitulo(*font()), e.SetFonteAtributos(*font()), e.SetFonteExtrangeiras(*font());
        StringList attributes, keys;
        for (int k = number(0, 5); k > 0; --k) {
            auto* a = new TAtributo;
            a->nome = "C" + std::to_string(k) + "_" + text(), a->titulo = text(), a->rotulo = text(), a->origem = text();
            a->tipo = number(0, 19), a->tamanho = number(0, 1) * number(0, INT32_MAX), a->decimais = number(0, 20);
            a->componente = number(1, 10), a->chave = number(0, 3), a->largura = number(0, 400);
            a->opcoes = (number(0, 1) ? kOpcaoAceitaNulo : 0) | (number(0, 1) ? kOpcaoForaDoFormulario : 0);
            attributes.AddObject(a->nome, a);
        }
        for (int k = number(0, 3); k > 0; --k) {
            auto* key = new TChaveSecundaria;
            key->campos = "F" + text();  // lists of names and joined texts with empty parts alike
            key->tipo_indice = number(0, 31);
            keys.AddObject("I" + text(), key);
        }
        e.SetAtributos(attributes), e.SetChavesSecundarias(keys);
        return item;
    }

    std::mt19937 random_;
};

}  // namespace test_support
