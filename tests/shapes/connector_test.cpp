#include <climits>

#include "platform/graphics/recording_canvas.h"
#include "tests/shapes/shape_fixture.h"

namespace {

using Connection = ::testing::Test;

TEST_F(Connection, PercentageKeepsSinglePrecisionAndOffsetStaysInItsLimits) {
    TnoxConnection c;
    const std::pair<int, int> written_read[] = {{29, 28}, {1, 0}, {51, 50}, {50, 50}, {75, 75}, {150, 100}, {-3, 0}};
    for (const auto& [written, read] : written_read) {
        c.SetPerc(written);
        EXPECT_EQ(c.perc(), read) << written;
    }
    c.minoffset = 7, c.maxoffset = 43;
    c.SetOffset(3);
    EXPECT_EQ(c.Offset(), 7);
    c.SetOffset(50);
    EXPECT_EQ(c.Offset(), 43);
    c.minoffset = 10, c.maxoffset = 5;
    c.SetOffset(8);
    EXPECT_EQ(c.Offset(), 5);

    TComponent owner(nullptr, TComponentClass());
    TnoxSizeableShape shape(&owner);
    TnoxConnection copy;
    c.SetShape(&shape);
    c.Side = csTop;
    copy.SetPerc(25);
    copy.Assign(c);
    EXPECT_EQ(copy.Shape(), &shape);
    EXPECT_EQ(copy.Side, csTop);
    EXPECT_EQ(copy.Offset(), 7);  // 5, raised to copy's own minimum
    EXPECT_EQ(copy.perc(), 25);
    EXPECT_THROW(copy.Assign(shape), EComponentError);
}

using Connector = ShapeSurface;

TEST_F(Connector, RoutesBetweenFacingSidesAndDrawsAGreenLine) {
    auto* start = make(10, 10, 100, 50);
    auto* end = make(200, 20, 80, 40);
    auto* connector = join(start, end);
    const TnoxConnection& s = *connector->GetConnection(1);
    const TnoxConnection& e = *connector->GetConnection(2);
    EXPECT_EQ(s.Side, csRight);
    EXPECT_EQ(e.Side, csLeft);
    EXPECT_FALSE(connector->Vertical);
    EXPECT_EQ(bounds(connector), (TRect{110, 10, 200, 60}));
    EXPECT_EQ(s.Offset(), 7);  // the first routing: limits 7..7
    EXPECT_EQ(e.Offset(), 7);

    connector->GetConnection(1)->SetPerc(50);
    connector->GetConnection(2)->SetPerc(50);
    connector->Reroute();
    EXPECT_EQ(s.Offset(), 25);
    EXPECT_EQ(e.Offset(), 20);
    EXPECT_EQ(connector->ConnectionPoint(s, {}), (TPoint{109, 35}));
    EXPECT_EQ(connector->ConnectionPoint(e, {}), (TPoint{200, 40}));
    EXPECT_EQ(connector->GetMidPoint(), (TPoint{154, 37}));

    connector->LineColour = clRed;
    connector->SetLineWidth(0);  // ignored
    connector->SetLineWidth(2);
    RecordingCanvas canvas(400, 300);
    surface->PaintTo(canvas);
    const RecordedCall& line = canvas.Calls().back();
    EXPECT_EQ(line.kind, RecordedCall::Kind::LineTo);
    EXPECT_EQ(line.from, (TPoint{110 + 0, 10 + 25}));
    EXPECT_EQ(line.to, (TPoint{110 + 90, 10 + 30}));
    EXPECT_EQ(line.pen.Color(), TColor{0x008000});
    EXPECT_EQ(line.pen.Width(), 2);
}

TEST_F(Connector, ChoosesTopAndBottomForShapesAboveOrBelowEachOther) {
    auto* start = make(10, 10, 50, 30);
    auto* below = make(100, 100, 50, 30);
    auto* same_left = make(10, 200, 50, 30);
    auto* to_below = join(start, below);
    EXPECT_EQ(to_below->GetConnection(1)->Side, csBottom);
    EXPECT_EQ(to_below->GetConnection(2)->Side, csTop);
    EXPECT_TRUE(to_below->Vertical);
    EXPECT_EQ(bounds(to_below), (TRect{10, 40, 150, 100}));
    auto* upward = join(same_left, start);
    EXPECT_EQ(upward->GetConnection(1)->Side, csTop);
    EXPECT_EQ(upward->GetConnection(2)->Side, csBottom);
    // A gap that is zero or negative still gives a box of the line width and mark size.
    below->SetBounds(100, 30, 50, 30);
    upward->SetMarkRect(1, {0, 0, 6, 4});
    upward->SetMarkRect(2, {0, 0, -1, 4});  // ignored
    same_left->SetBounds(10, 35, 50, 30);
    EXPECT_EQ(bounds(upward).Bottom - bounds(upward).Top, 4);
}

// Two rows of the side table apply at once only when the end box has no height and starts at the
// start box's top: it counts as beside the start box, not above it; and below it when the start box
// has no height either.
TEST_F(Connector, AZeroHeightEndAtTheStartsTopCountsAsBesideOrBelowIt) {
    struct Case {
        int end_left, start_height;
        TnoxConnectionSide start_side, end_side;
    };
    for (const Case& c : {Case{200, 30, csRight, csLeft}, Case{-200, 30, csLeft, csRight},
                          Case{200, 0, csBottom, csTop}, Case{-200, 0, csBottom, csTop}}) {
        auto* start = make<TnoxMoveableShape>(300, 100, 50, c.start_height);
        auto* end = make<TnoxMoveableShape>(300 + c.end_left, 100, 50, 0);
        ASSERT_EQ(end->Height(), 0);
        auto* connector = join(start, end);
        EXPECT_EQ(connector->GetConnection(1)->Side, c.start_side) << c.end_left << " " << c.start_height;
        EXPECT_EQ(connector->GetConnection(2)->Side, c.end_side) << c.end_left << " " << c.start_height;
        EXPECT_EQ(connector->Vertical, c.start_side == csBottom);
    }
}

TEST_F(Connector, FollowsItsShapesInChildOrderAndCarriesItsCaption) {
    auto* a = make(10, 10, 50, 30);
    auto* b = make(200, 10, 50, 30);
    auto* c = make(200, 200, 50, 30);
    auto* first = join(a, b);
    auto* second = join(a, c);
    second->SendToBack();
    auto* caption = new tnoxCaption(&owner);
    first->SetCaption(caption);
    caption->SetBounds(120, 50, 30, 12);  // dragged away from the midpoint
    const TPoint mid = first->GetMidPoint();
    first->PrevMidPoint = mid;
    a->SetBounds(10, 30, 50, 30);
    EXPECT_EQ(bounds(first).Top, 10);
    EXPECT_EQ(bounds(first).Bottom, 60);
    EXPECT_EQ(bounds(second).Top, 60);
    const TPoint moved = first->GetMidPoint();
    EXPECT_EQ(caption->Left(), 120 + moved.X - mid.X);
    EXPECT_EQ(caption->Top(), 50 + moved.Y - mid.Y);
    EXPECT_EQ(a->Attachments().InChildOrder(surface), (std::vector<TnoxConnector*>{second, first}));

    first->CaptionMode = 1;
    a->SetBounds(10, 20, 50, 30);
    EXPECT_EQ(caption->Top(), 50 + moved.Y - mid.Y);

    // A connector on another parent is not rerouted by this one's shapes.
    auto* other = new TDiagramSurface(&owner);
    other->SetBounds(0, 0, 400, 300);
    second->SetParent(other);
    const TRect kept = bounds(second);
    a->SetBounds(10, 25, 50, 30);
    EXPECT_EQ(bounds(second), kept);
    EXPECT_EQ(a->Attachments().InChildOrder(surface), (std::vector<TnoxConnector*>{first}));
}

TEST_F(Connector, ShapeRemovedOtherwiseLeavesItUnpaintedAndScalingRefitsIt) {
    auto* a = make(10, 10, 50, 30);
    auto* b = make(200, 10, 50, 30);
    auto* connector = join(a, b);
    auto* elsewhere = new TDiagramSurface(&owner);
    b->SetParent(elsewhere);
    delete b;  // not on the connector's parent: only the free notification reaches it
    EXPECT_EQ(connector->GetConnection(2)->Shape(), nullptr);
    EXPECT_TRUE(a->Attachments().InChildOrder(surface).size() == 1);
    RecordingCanvas canvas(400, 300);
    surface->PaintTo(canvas);
    for (const RecordedCall& call : canvas.Calls()) EXPECT_NE(call.kind, RecordedCall::Kind::LineTo);

    connector->PrevMidPoint = {100, 50};
    connector->SetEscala(200);
    EXPECT_EQ(connector->PrevMidPoint, (TPoint{200, 100}));
    EXPECT_EQ(connector->GetConnection(3), nullptr);
    connector->SetConnection(3, connector->GetConnection(1));  // ignored, but still reroutes
}

TEST_F(Connector, ExtremeBoundsClampInsteadOfOverflowing) {
    auto* a = make(0, 0, INT_MAX, INT_MAX);
    auto* b = make(INT_MAX, INT_MAX, INT_MAX, 10);
    auto* connector = join(a, b);
    connector->SetMarkRect(1, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    connector->SetCaption(new tnoxCaption(&owner));
    connector->Reroute();
    EXPECT_EQ(bounds(connector), (TRect{0, INT_MAX, INT_MAX, INT_MAX}));
    MoveBy(*b, INT_MAX, INT_MIN);
    b->SetEscala(INT_MAX);
    b->PositionCaption(1);
    EXPECT_EQ(b->Left(), INT_MAX);
}

}  // namespace
