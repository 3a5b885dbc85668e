// The entity as a box on the diagram: what each display mode draws, where, in which font, and the
// size it takes.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/components/diagram_surface.h"
#include "platform/graphics/recording_canvas.h"
#include "plugin/entidade.h"
#include "plugin/geradores.h"
#include "plugin/registros.h"

namespace {

TPoint top_left(const TRect& r) { return {r.Left, r.Top}; }

TAtributo* record(const char* nome, std::uint32_t chave, const char* origem = "") {
    auto* r = new TAtributo;
    r->nome = nome;
    r->chave = chave;
    r->origem = origem;
    return r;
}

const char* texto_fixo(const TAtributo* atributo, std::int32_t) { return atributo->nome.c_str(); }
const char* texto_outro(const TAtributo*, std::int32_t) { return "outro"; }
const char* texto_longo(const TAtributo*, std::int32_t) {
    static const std::string longo(150, 'x');
    return longo.c_str();
}

// An entity "Pedido" (table PEDIDO) placed on a surface inside a window, with a key that is also a
// foreign key, a plain column and a foreign-key column, listed in that order after key ordering.
struct EntityBox : ::testing::Test {
    TComponent owner{nullptr, TComponentClass()};
    TDiagramSurface* window = new TDiagramSurface(&owner);
    TDiagramSurface* surface = new TDiagramSurface(&owner);
    TEntidade* e = new TEntidade(&owner);

    EntityBox() {
        surface->SetParent(window);
        e->SetParent(surface);
        e->SetEntidade("Pedido");
        e->SetTabela("PEDIDO");
        StringList lista;
        lista.AddObject("Total", record("TOTAL", 0));
        lista.AddObject("Número", record("NUMERO", kChavePrimaria | kChaveEstrangeira, "R1"));
        lista.AddObject("Cliente", record("CLIENTE", kChaveEstrangeira, "R2"));
        e->SetAtributos(lista);
        TFont estrangeira;
        estrangeira.SetName("Arial");
        estrangeira.SetStyle({TFontStyle::fsItalic});
        e->SetFonteExtrangeiras(estrangeira);
    }
    ~EntityBox() override {
        RegistroGeradores::Entradas().clear();
        RegistroGeradores::Atual() = "";
    }

    std::vector<std::string> texts(tmodo modo) {
        e->SetModo(modo);
        RecordingCanvas canvas;
        e->Desenhar(canvas);
        std::vector<std::string> out;
        for (const RecordedCall& c : canvas.Calls())
            if (c.kind == RecordedCall::Kind::TextOut) out.push_back(c.text);
        return out;
    }
    // Width and height the box should take: the unscaled measures of the texts it shows, scaled.
    TSize expected_size(const std::string& title, const std::vector<std::string>& rows) {
        TCanvas m;
        m.Font().Assign(e->FonteTitulo());
        int w = m.TextWidth(title) + 10, h = m.TextHeight(title) + 4;
        m.Font().Assign(e->FonteAtributos());
        for (const std::string& row : rows) {
            h += m.TextHeight(row);
            w = std::max(w, m.TextWidth(row + "WWw"));
        }
        return {e->Scaled(w), e->Scaled(h + 10)};
    }
};

TEST_F(EntityBox, EachModeShowsItsTitleAndRows) {
    using V = std::vector<std::string>;
    EXPECT_EQ(texts(tmodo::tmAtributo), (V{"Pedido", "Número (FK)", "Total", "Cliente (FK)"}));
    EXPECT_EQ(texts(tmodo::tmChave), (V{"Pedido", "Número (FK)"}));
    for (tmodo m : {tmodo::tmEntidade, tmodo::tmdelete, tmodo::tmload}) EXPECT_EQ(texts(m), V{"Pedido"});
    // No generator of the current name: the type text is empty, the colon stays.
    EXPECT_EQ(texts(tmodo::tmEsquema), (V{"Pedido", "Número : (FK)", "Total :", "Cliente : (FK)"}));
    const TGerador plugin("KZR40", texto_fixo), outro("KZR40", texto_outro), caixa("kzr40", texto_longo);
    RegistroGeradores::Entradas() = {&plugin, &outro, &caixa};
    RegistroGeradores::Atual() = "KZR40";
    // The last entry of the name wins; the name's letter case counts.
    EXPECT_EQ(texts(tmodo::tmTabela), (V{"PEDIDO", "NUMERO :outro (FK)", "TOTAL :outro", "CLIENTE :outro (FK)"}));
    RegistroGeradores::Entradas() = {&outro, &plugin};
    EXPECT_EQ(texts(tmodo::tmEsquema), (V{"Pedido", "Número :NUMERO (FK)", "Total :TOTAL", "Cliente :CLIENTE (FK)"}));
    RegistroGeradores::Atual() = "kzr40";
    RegistroGeradores::Entradas() = {&caixa};
    EXPECT_EQ(texts(tmodo::tmEsquema)[2], "Total :" + std::string(kMaxTextoTipo, 'x'));
}

TEST_F(EntityBox, DrawsFrameRulesAndRowsWhereAndHowTheyBelong) {
    e->SetEscala(150);
    RecordingCanvas canvas;
    e->Desenhar(canvas);
    const auto& calls = canvas.Calls();
    ASSERT_EQ(calls.size(), 7u);  // frame, title, title rule, key row, key rule, two rows
    EXPECT_EQ(calls[0].kind, RecordedCall::Kind::RoundRect);
    EXPECT_EQ(calls[0].rect, (TRect{0, 0, e->Width(), e->Height()}));
    EXPECT_EQ(calls[0].corner, (TSize{10, 10}));  // not scaled
    EXPECT_EQ(calls[0].pen.Color(), clBlack);

    TCanvas m;
    m.Font().Assign(e->FonteTitulo());
    m.Font().SetSize(e->Scaled(e->FonteTitulo().Size()));
    EXPECT_EQ(top_left(calls[1].rect), (TPoint{8, 2}));  // Scaled(5) at 150 % is 7.5, ties to even: 8
    EXPECT_EQ(calls[1].font.height, m.Font().Height());
    const int rule = m.TextHeight("Pedido") + 1;
    EXPECT_EQ(calls[2].from, (TPoint{0, rule}));
    EXPECT_EQ(calls[2].to, (TPoint{e->Width(), rule}));

    // The key row is drawn in the foreign-key font, the plain row after the key rule in the rows' font.
    m.Font().Assign(e->FonteAtributos());
    m.Font().SetSize(e->Scaled(e->FonteAtributos().Size()));
    int y = rule + 2;
    EXPECT_EQ(calls[3].text, "Número (FK)");
    EXPECT_EQ(top_left(calls[3].rect), (TPoint{8, y}));
    EXPECT_TRUE(calls[3].font.style.contains(TFontStyle::fsItalic));
    y += m.TextHeight("Número (FK)");
    EXPECT_EQ(calls[4].from, (TPoint{0, y - 3}));  // Scaled(2) above the row cursor
    EXPECT_EQ(top_left(calls[5].rect), (TPoint{8, y}));
    EXPECT_FALSE(calls[5].font.style.contains(TFontStyle::fsItalic));
    EXPECT_EQ(calls[5].font.height, m.Font().Height());

    // Selected: red frame and rules. Moving: the frame alone.
    e->SetSelected(true);
    canvas.Clear();
    e->Desenhar(canvas);
    EXPECT_EQ(canvas.Calls()[0].pen.Color(), clRed);
    EXPECT_EQ(canvas.Calls()[2].pen.Color(), clRed);
    e->Moving = true;
    canvas.Clear();
    e->Desenhar(canvas);
    EXPECT_EQ(canvas.Calls().size(), 1u);
}

TEST_F(EntityBox, SizeFollowsTheModeAndTheZoom) {
    e->SetModo(tmodo::tmAtributo);
    EXPECT_EQ((TSize{e->Width(), e->Height()}),
              expected_size("Pedido", {"Número (FK)", "Total", "Cliente (FK)"}));
    e->SetModo(tmodo::tmChave);
    EXPECT_EQ((TSize{e->Width(), e->Height()}), expected_size("Pedido", {"Número (FK)"}));
    e->SetModo(tmodo::tmTabela);
    EXPECT_EQ((TSize{e->Width(), e->Height()}),
              expected_size("PEDIDO", {"NUMERO : (FK)", "TOTAL :", "CLIENTE : (FK)"}));
    e->SetModo(tmodo::tmEntidade);
    e->SetEscala(50);
    EXPECT_EQ((TSize{e->Width(), e->Height()}), expected_size("Pedido", {}));

    // At 50 % sizes 9 and 8 are both drawn at 4 (4.5 ties to even).
    TFont nove;
    nove.SetName("Arial");
    nove.SetSize(9);
    e->SetFonteTitulo(nove);
    TFont quatro;
    quatro.SetSize(4);
    RecordingCanvas canvas;
    e->Desenhar(canvas);
    EXPECT_EQ(canvas.Calls()[1].font.height, quatro.Height());

    // The same zoom again still measures.
    e->SetBounds(e->Left(), e->Top(), 1, 1);
    e->SetEscala(50);
    EXPECT_EQ((TSize{e->Width(), e->Height()}), expected_size("Pedido", {}));
}

}  // namespace
