#include <array>
#include <memory>
#include <string>

#include "model/model_registration.h"
#include "model/texto.h"
#include "platform/components/component_reader.h"
#include "platform/components/streaming.h"
#include "platform/formfile/text.h"
#include "tests/model/model_fixture.h"

namespace {

using Relationship = ModelSurface;
using Route = std::array<TPoint, 4>;

constexpr TColor kTeal = 0x808000;

// Start entity at (10, 10) of 100 x 50, end entity at (200, 20) of 80 x 40: the box is (110, 10) of
// 90 x 50 and the ends sit at offsets 25 and 20.
struct Example : Relationship {
    TEntidade* start = entity(10, 10, 100, 50);
    TEntidade* end = entity(200, 20, 80, 40);
    TRelacionamento* r = relate(start, end);
    TPoint origin{110, 10};

    Strokes painted() {
        RecordingCanvas canvas(400, 300);
        surface->PaintTo(canvas);
        return strokes_in(canvas, r->LineColour, origin);
    }
};

TEST_F(Example, RoutesInThreeSegmentsWithTheMarkAtTheEndEntity) {
    ASSERT_EQ(r->BoundsRect(), (TRect{110, 10, 200, 60}));
    EXPECT_EQ(r->Route(), (Route{{{0, 25}, {45, 25}, {45, 30}, {90, 30}}}));
    EXPECT_FALSE(r->VerticalRoute);
    EXPECT_EQ(r->HitRect(TRelacionamento::kStartSegment), (TRect{0, 23, 45, 27}));
    EXPECT_EQ(r->HitRect(TRelacionamento::kMiddleSegment), (TRect{43, 23, 47, 32}));
    EXPECT_EQ(r->HitRect(TRelacionamento::kEndSegment), (TRect{45, 28, 90, 32}));
    EXPECT_EQ(r->HitSegment(20, 25), 1);
    EXPECT_EQ(r->HitSegment(45, 28), 2);
    EXPECT_EQ(r->HitSegment(90, 32), 3);  // edges included
    EXPECT_EQ(r->HitSegment(60, 10), 0);

    r->LineColour = kTeal;
    r->SetRelacao(trelacao::tr1xn);
    using Line = std::pair<TPoint, TPoint>;
    const std::vector<Line> route{{{0, 25}, {45, 25}}, {{45, 25}, {45, 30}}, {{45, 30}, {90, 30}}};
    std::vector<Line> expected = route;
    expected.insert(expected.end(), {{{85, 24}, {85, 36}}, {{90, 34}, {85, 30}}, {{85, 30}, {90, 26}}});
    Strokes s = painted();
    EXPECT_EQ(s.lines, expected);
    EXPECT_TRUE(s.ellipses.empty());

    r->SetRelacao(trelacao::tr0x1);
    s = painted();
    EXPECT_EQ(s.lines, route);
    EXPECT_EQ(s.ellipses, (std::vector<TRect>{{78, 26, 86, 34}}));

    // At 200 % the marks double; the box stays between the entities.
    r->SetRelacao(trelacao::tr0xn);
    r->SetEscala(200);
    s = painted();
    ASSERT_EQ(r->BoundsRect(), (TRect{110, 10, 200, 60}));
    EXPECT_EQ(s.ellipses, (std::vector<TRect>{{66, 22, 82, 38}}));
    EXPECT_EQ(r->Marks()[TRelacionamento::kBarStart], (TPoint{80, 18}));
    EXPECT_EQ(r->Marks()[TRelacionamento::kBarEnd], (TPoint{80, 42}));
}

TEST_F(Example, SelectedIsRedWhateverTheLineColour) {
    r->LineColour = kTeal;
    EXPECT_EQ(painted().lines.size(), 4u);  // route and bar
    r->SetSelected(true);
    EXPECT_TRUE(painted().lines.empty());
    RecordingCanvas canvas(400, 300);
    surface->PaintTo(canvas);
    EXPECT_EQ(strokes_in(canvas, clRed, origin).lines.size(), 4u);
}

TEST_F(Example, MiddleSegmentDragMovesMeioperc) {
    int moves = 0;
    r->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
    start->SetSelected(true);
    press(110 + 45, 10 + 28);
    EXPECT_EQ(r->DragPart, 2);
    EXPECT_TRUE(r->Selected());
    EXPECT_FALSE(start->Selected());
    move(110 + 60, 10 + 28);
    EXPECT_EQ(r->meioperc(), 67);
    EXPECT_EQ(r->Route()[1].X, 60);
    EXPECT_EQ(r->HitRect(TRelacionamento::kMiddleSegment), (TRect{58, 23, 62, 32}));
    move(110 + 5, 10 + 28);  // too close to the edge: not even the event
    EXPECT_EQ(r->meioperc(), 67);
    EXPECT_EQ(moves, 1);
    release(110 + 5, 10 + 28);
    EXPECT_EQ(r->DragPart, 0);
    painted();
    EXPECT_EQ(r->Route()[1].X, 60);  // 90 * 67 / 100, from meioperc again

    r->Setmeioperc(140);
    EXPECT_EQ(r->meioperc(), 100);
}

TEST_F(Example, OuterSegmentsMoveTheirEndsWithinTheLimits) {
    TnoxConnection& s = *r->GetConnection(1);
    press(110 + 20, 10 + 25);
    EXPECT_EQ(r->DragPart, 1);
    move(110 + 20, 10 + 35);
    EXPECT_EQ(s.Offset(), 35);
    EXPECT_EQ(s.perc(), 69);  // 70 written
    EXPECT_EQ(r->Route()[0], (TPoint{0, 35}));
    r->DragSegment(0, 10, 20, 45);  // to 45, past the limit 43: dropped, the drag goes on
    EXPECT_EQ(s.Offset(), 35);
    EXPECT_EQ(r->DragPart, 1);
    move(110 + 20, 10 + 30, ssShift);  // Shift ends the drag
    EXPECT_EQ(r->DragPart, 0);
    release(110 + 20, 10 + 30);

    // The end segment: a step past its limit ends the drag.
    TnoxConnection& e = *r->GetConnection(2);
    press(110 + 70, 10 + 30);
    EXPECT_EQ(r->DragPart, 3);
    move(110 + 70, 10 + 26);
    EXPECT_EQ(e.Offset(), 16);
    move(110 + 70, 10 + 16);  // 16 - 10 = 6, under the limit 7
    EXPECT_EQ(e.Offset(), 16);
    EXPECT_EQ(r->DragPart, 0);
    move(110 + 70, 10 + 20);
    EXPECT_EQ(e.Offset(), 16);
    release(110 + 70, 10 + 20);

    // Another button only ends a drag.
    press(110 + 20, 10 + 35);
    surface->DispatchMouseDown(TMouseButton::mbRight, 0, 110 + 20, 10 + 35);
    EXPECT_EQ(r->DragPart, 0);
}

TEST_F(Example, PressOffTheLineGoesToTheSurface) {
    int clicks = 0, surface_presses = 0;
    TPoint at;
    r->OnClick = [&](TObject*) { ++clicks; };
    surface->OnMouseDown = [&](TObject* sender, TMouseButton, TShiftState, int x, int y) {
        EXPECT_EQ(sender, surface);
        ++surface_presses;
        at = {x, y};
    };
    r->SetSelected(true);
    ASSERT_NE(surface->IndexOfControl(r), 0);
    press(110 + 70, 10 + 10);
    EXPECT_EQ(surface_presses, 1);
    EXPECT_EQ(at, (TPoint{180, 20}));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(surface->IndexOfControl(r), 0);
    EXPECT_FALSE(r->Selected());
    EXPECT_EQ(r->DragPart, 0);
}

TEST_F(Example, PressOffTheLineGoesToARelationshipWhoseLineIsThere) {
    // A second relationship from the same start to an entity lower down: its middle segment runs on
    // through the first one's box, which lies in front.
    TRelacionamento* lower = relate(start, entity(200, 40, 80, 40));
    r->BringToFront();
    ASSERT_EQ(lower->BoundsRect(), (TRect{110, 10, 200, 80}));
    int clicks = 0, surface_presses = 0, lower_presses = 0;
    r->OnClick = [&](TObject*) { ++clicks; };
    surface->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++surface_presses; };
    lower->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++lower_presses; };
    press(110 + 45, 10 + 45);
    EXPECT_EQ(lower->DragPart, 2);
    EXPECT_TRUE(lower->Selected());
    EXPECT_EQ(lower_presses, 1);
    EXPECT_EQ(surface_presses, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(surface->IndexOfControl(r), 0);
    move(110 + 60, 10 + 45);  // the capture went with the press
    EXPECT_EQ(lower->meioperc(), 67);
    release(110 + 60, 10 + 45);

    // One that does not take presses hands it back through the shape under the point: it ends.
    lower->AcceptsMouse = false;
    r->BringToFront();
    press(110 + 60, 10 + 45);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Relationship, PropertiesAreStoredAndAStoredTcatribReadsBack) {
    std::vector<std::string> names;
    for (const PropertyInfo& p : TRelacionamentoClass().published) names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Name", "descricao", "Relacao", "Chave", "meioperc"}));

    TDiagramSurface diagram(nullptr);
    diagram.SetName("Diagram");
    auto* attribute_key = new TRelacionamento(&diagram);
    auto* key = new TRelacionamento(&diagram);
    for (TRelacionamento* r : {attribute_key, key}) r->SetParent(&diagram);
    EXPECT_EQ(attribute_key->Chave(), tchave::tcatrib);
    EXPECT_EQ(attribute_key->Relacao(), trelacao::tr1x1);
    EXPECT_EQ(attribute_key->meioperc(), 50);
    key->SetChave(tchave::tckey);
    key->SetRelacao(trelacao::tr0xn);
    key->Setmeioperc(30);
    key->descricao().Add("Pedidos do cliente");

    const std::string form = formfile::write_text(stream_component(diagram), false);
    std::unique_ptr<TComponent> read = read_component_text(form);
    auto* read_attribute_key = dynamic_cast<TRelacionamento*>(read->FindComponent(attribute_key->Name()));
    auto* read_key = dynamic_cast<TRelacionamento*>(read->FindComponent(key->Name()));
    ASSERT_TRUE(read_attribute_key && read_key) << form;
    EXPECT_EQ(read_attribute_key->Chave(), tchave::tcatrib);
    EXPECT_EQ(read_key->Chave(), tchave::tckey);
    EXPECT_EQ(read_key->Relacao(), trelacao::tr0xn);
    EXPECT_EQ(read_key->meioperc(), 30);
    ASSERT_EQ(read_key->descricao().Count(), 1);
    EXPECT_STREQ(read_key->descricao().Get(0), "Pedidos do cliente");
}

TEST(ModelClasses, AreRegisteredInOrder) {
    std::vector<std::string> names;
    for (const ClassDescriber describe : kzr40_model_classes.classes()) {
        names.push_back(describe().name);
        EXPECT_EQ(find_class(describe().name), &describe());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"TRelacionamento", "Ttexto", "TDiagramDocument"}));
    TComponent owner(nullptr, TComponentClass());
    EXPECT_NE(dynamic_cast<TRelacionamento*>(create_component("TRelacionamento", &owner)), nullptr);
    EXPECT_NE(dynamic_cast<Ttexto*>(create_component("Ttexto", &owner)), nullptr);
    // The entity is the plug-in's class, registered by that layer's unit.
    EXPECT_NE(dynamic_cast<TEntidade*>(create_component("TEntidade", &owner)), nullptr);
}

}  // namespace
