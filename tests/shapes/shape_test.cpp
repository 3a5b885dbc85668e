#include <string>
#include <vector>

#include "platform/graphics/recording_canvas.h"
#include "tests/shapes/shape_fixture.h"

namespace {

using ShapeNaming = ShapeSurface;

TEST_F(ShapeNaming, TakesTheNextFreeShapeNumberAndNeverReusesOne) {
    const int n = NextShapeNumber();
    // The owner's names ignore letter case, so a name differing only in case is taken too.
    TComponent taken(&owner, TComponentClass());
    taken.SetName("SHAPE" + std::to_string(n));
    auto* first = new TnoxSizeableShape(&owner);
    auto* second = new TnoxSizeableShape(&owner);
    EXPECT_EQ(first->Name(), "Shape" + std::to_string(n + 1));
    EXPECT_EQ(second->Name(), "Shape" + std::to_string(n + 2));
    delete second;
    EXPECT_EQ(TnoxCustomShape(&owner).Name(), "Shape" + std::to_string(n + 3));
    EXPECT_EQ(TnoxCustomShape(nullptr).Name(), "Shape" + std::to_string(n + 4));  // no owner: no check
}

using ShapeScale = ShapeSurface;

TEST_F(ShapeScale, MovesTheShapeClampsAtTenAndLeavesCaptionsAndSizesAlone) {
    auto* shape = make(200, 100, 60, 40);
    shape->SetEscala(5);
    EXPECT_EQ(shape->Escala(), 10);
    EXPECT_EQ(bounds(shape), (TRect{20, 10, 80, 50}));
    shape->SetEscala(150);
    EXPECT_EQ(bounds(shape), (TRect{300, 150, 360, 190}));
    EXPECT_EQ(shape->Scaled(5), 8);   // 7.5: half to even
    EXPECT_EQ(shape->Scaled(3), 4);   // 4.5: half to even
    shape->SetEscala(150);
    EXPECT_EQ(shape->Left(), 300);

    auto* caption = make<tnoxCaption>(30, 40, 20, 20);
    caption->SetTag(999);
    caption->SetEscala(200);
    EXPECT_EQ(caption->Left(), 30);
}

using ShapeCaption = ShapeSurface;

TEST_F(ShapeCaption, IsPlacedBelowTaggedSelectedAlongAndFreedWithItsShape) {
    auto* shape = make(10, 20, 100, 40);
    auto* caption = new tnoxCaption(&owner);
    caption->SetBounds(0, 0, 30, 12);
    shape->SetCaption(caption);
    EXPECT_EQ(caption->Parent(), surface);
    EXPECT_EQ(caption->Tag(), 999);
    // Joining the surface refitted the (empty) caption; it is centred 5 pixels below the shape.
    EXPECT_EQ(caption->Width(), 5);
    EXPECT_EQ(caption->Left(), 57);
    EXPECT_EQ(caption->Top(), 65);
    shape->PositionCaption(1);
    EXPECT_EQ(caption->Left(), 109);

    shape->SetSelected(true);
    EXPECT_TRUE(caption->Selected());

    delete caption;  // freed elsewhere: the shape lets go
    EXPECT_EQ(shape->Caption(), nullptr);
    shape->SetCaption(new tnoxCaption(&owner));
    const int before = owner.ComponentCount();
    shape->SetCaption(nullptr);
    EXPECT_EQ(owner.ComponentCount(), before - 1);
    shape->SetCaption(nullptr);
    EXPECT_EQ(owner.ComponentCount(), before - 1);
}

using ShapeDragging = ShapeSurface;

TEST_F(ShapeDragging, MovesTheWholeSelectionOrNothing) {
    auto* a = make(10, 10, 50, 30);
    auto* b = make(300, 200, 50, 30);
    auto* c = make(150, 150, 20, 20);
    press(20, 20);
    release(20, 20);
    press(310, 210, ssShift);  // adds b to the selection
    EXPECT_TRUE(a->Selected() && b->Selected());
    move(330, 230, ssShift);
    EXPECT_EQ(bounds(b), (TRect{320, 220, 370, 250}));
    EXPECT_EQ(bounds(a), (TRect{30, 30, 80, 60}));
    move(380, 250, ssShift);  // b would leave the surface: neither moves
    EXPECT_EQ(bounds(b), (TRect{320, 220, 370, 250}));
    EXPECT_EQ(bounds(a), (TRect{30, 30, 80, 60}));
    release(380, 250);
    EXPECT_FALSE(b->Moving);
    EXPECT_EQ(bounds(c), (TRect{150, 150, 170, 170}));

    press(155, 155);  // a plain press deselects the others
    EXPECT_TRUE(c->Selected());
    EXPECT_FALSE(a->Selected() || b->Selected());
    release(155, 155);
}

TEST_F(ShapeDragging, DroppedShapeBringsASmallerOneItCoversToTheFront) {
    auto* small = make(100, 100, 20, 20);
    auto* big = make(10, 10, 50, 50);
    press(20, 20);
    move(100, 100);  // big now covers small
    release(100, 100);
    EXPECT_EQ(bounds(big), (TRect{90, 90, 140, 140}));
    EXPECT_EQ(surface->IndexOfControl(small), 1);
}

TEST_F(ShapeDragging, PressOnAShapeThatDeclinesMiceGoesToTheShapeUnderneathWithAClick) {
    auto* under = make(10, 10, 100, 100);
    auto* over = make(10, 10, 50, 50);
    over->AcceptsMouse = false;
    int clicks = 0;
    under->OnClick = [&](TObject*) { ++clicks; };
    press(20, 20);
    EXPECT_TRUE(under->ClickPending);
    EXPECT_EQ(surface->IndexOfControl(over), 0);  // sent to the back
    EXPECT_EQ(TControl::CaptureControl(), under);
    release(20, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(under->ClickPending);
}

using ShapeHandles = ShapeSurface;

TEST_F(ShapeHandles, HoverShowsTheHandleCursorOnlyOnASelectedShape) {
    auto* shape = make(100, 100, 50, 30);
    move(125, 102);
    EXPECT_EQ(shape->HandleIndex, 8);
    EXPECT_EQ(surface->ShownCursor(), crDefault);
    shape->SetSelected(true);
    move(125, 102);
    EXPECT_EQ(shape->HandleIndex, 1);
    EXPECT_EQ(surface->ShownCursor(), crSizeNS);
    move(147, 127);
    EXPECT_EQ(shape->HandleIndex, 7);
    EXPECT_EQ(surface->ShownCursor(), crSizeNWSE);
    move(125, 115);
    EXPECT_EQ(shape->HandleIndex, 8);
    EXPECT_EQ(surface->ShownCursor(), crDefault);
}

TEST_F(ShapeHandles, ResizingStopsAtTheMinimumAndTheParentsEdges) {
    auto* shape = make(20, 20, 50, 30);
    int selections = 0;
    shape->onselect = [&](TObject*) { ++selections; };
    shape->SetSelected(true);
    move(21, 21);
    press(21, 21);  // handle 0: resize, not move
    // The selection is cleared (onselect) and set again directly (none).
    EXPECT_EQ(selections, 2);
    EXPECT_TRUE(shape->Selected());
    move(61, 21);
    EXPECT_EQ(bounds(shape), (TRect{60, 20, 70, 50}));
    move(67, 21);  // a width of 4 would not exceed MinWidth: refused
    EXPECT_EQ(bounds(shape), (TRect{60, 20, 70, 50}));
    move(-100, -100);  // would cross the left and top edges: both steps skipped
    EXPECT_EQ(bounds(shape), (TRect{60, 20, 70, 50}));
    release(-100, -100);
    EXPECT_EQ(shape->HandleIndex, 8);

    move(69, 49);  // handle 7 grows right and down and follows the mouse
    press(69, 49);
    move(99, 59);
    move(109, 59);
    EXPECT_EQ(bounds(shape), (TRect{60, 20, 110, 60}));
    release(109, 59);

    shape->SetBounds(-5, -5, 1, 1);
    EXPECT_EQ(bounds(shape), (TRect{0, 0, 5, 5}));
}

using ShapeLifetime = ShapeSurface;

TEST_F(ShapeLifetime, DestroyingAShapeFreesItsCaptionAndTheConnectorsAttachedToIt) {
    auto* a = make(10, 10, 50, 30);
    auto* b = make(200, 10, 50, 30);
    auto* c = make(10, 200, 50, 30);
    join(a, b);
    join(c, a);
    auto* kept = join(b, c);
    kept->SetCaption(new tnoxCaption(&owner));
    a->SetCaption(new tnoxCaption(&owner));
    EXPECT_EQ(surface->ControlCount(), 8);
    delete a;
    EXPECT_EQ(surface->ControlCount(), 4);  // b, c, kept and its caption
    EXPECT_EQ(kept->Parent(), surface);
}

TEST_F(ShapeLifetime, AnyOrderOfFreeingIsClean) {
    for (int order = 0; order < 3; ++order) {
        TComponent scratch(nullptr, TComponentClass());
        auto* parent = new TDiagramSurface(&scratch);
        parent->SetBounds(0, 0, 400, 300);
        std::vector<TnoxCustomShape*> shapes;
        for (int i = 0; i < 3; ++i) {
            auto* s = new TnoxTextShape(&scratch);
            s->SetParent(parent);
            s->SetBounds(10 + 100 * i, 10, 40, 40);
            s->SetCaption(new tnoxCaption(&scratch));
            shapes.push_back(s);
        }
        for (int i = 0; i < 3; ++i) {
            auto* connector = new TnoxConnector(&scratch);
            connector->SetParent(parent);
            TnoxConnection x, y;
            x.SetShape(shapes[i]);
            y.SetShape(shapes[(i + 1) % 3]);
            connector->Connect(&x, &y);
            connector->SetCaption(new tnoxCaption(&scratch));
        }
        if (order == 1) delete parent;  // the surface first, then the owner
        if (order == 2) delete shapes[1]->Caption(), delete shapes[0];
    }
    // A shape without parent, owner or connections does all of it harmlessly.
    TnoxSizeableShape loose(nullptr);
    loose.SetSelected(true);
    loose.SetEscala(0);
    loose.MoveSelection(5, 5);
    loose.PositionCaption(2);
    loose.MouseDown(TMouseButton::mbLeft, ssLeft, 1, 1);
    loose.MouseMove(ssLeft, 9, 9);
    loose.MouseUp(TMouseButton::mbLeft, 0, 9, 9);
    EXPECT_EQ(loose.Escala(), 10);
    TnoxConnector lone(nullptr);
    lone.Reroute();
    lone.Paint();
    lone.SetCaption(new tnoxCaption(nullptr));  // freed with the connector
    lone.SetEscala(50);
    EXPECT_EQ(lone.GetMidPoint(), (TPoint{0, 0}));
    TnoxTextShape text(nullptr);
    text.SetText("sem pai");
    text.Paint();
    EXPECT_EQ(text.Width(), 5);
}

}  // namespace
