#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/components/diagram_surface.h"
#include "platform/graphics/recording_canvas.h"

namespace {

// A windowless control that writes down what reaches it.
class Probe : public TGraphicControl {
public:
    Probe(TWinControl& parent, std::vector<std::string>& log, const char* name, TRect bounds, bool keep_capture = true)
        : TGraphicControl(parent.Owner(), TGraphicControlClass()), log_(log), name_(name), keep_capture_(keep_capture) {
        SetParent(&parent);
        SetBounds(bounds.Left, bounds.Top, bounds.Right - bounds.Left, bounds.Bottom - bounds.Top);
        OnClick = [this](TObject*) { log_.push_back(name_ + " click"); };
        OnDblClick = [this](TObject*) { log_.push_back(name_ + " dblclick"); };
    }
    void MouseDown(TMouseButton, TShiftState shift, int x, int y) override {
        if (!keep_capture_) SetMouseCapture(false);
        log_.push_back(name_ + " down " + point(shift, x, y));
    }
    void MouseMove(TShiftState shift, int x, int y) override { log_.push_back(name_ + " move " + point(shift, x, y)); }
    void MouseUp(TMouseButton, TShiftState shift, int x, int y) override {
        log_.push_back(name_ + " up " + point(shift, x, y));
    }
    // Draws past its own bounds, so that the clip shows.
    void Paint() override { Canvas().Rectangle(-5, -5, 500, 500); }

private:
    static std::string point(TShiftState shift, int x, int y) {
        std::string flags;
        if (shift & ssShift) flags += "S";
        if (shift & ssLeft) flags += "L";
        if (shift & ssDouble) flags += "D";
        return std::to_string(x) + "," + std::to_string(y) + (flags.empty() ? "" : " " + flags);
    }
    std::vector<std::string>& log_;
    std::string name_;
    bool keep_capture_;
};

struct Surface : ::testing::Test {
    TComponent owner{nullptr, TComponentClass()};
    TDiagramSurface* surface = new TDiagramSurface(&owner);
    std::vector<std::string> log;
    Surface() { surface->SetBounds(0, 0, 400, 300); }
    void drag(int x0, int y0, int x1, int y1, TShiftState modifiers = 0) {
        surface->DispatchMouseDown(TMouseButton::mbLeft, modifiers, x0, y0);
        surface->DispatchMouseMove(modifiers, x1, y1);
        surface->DispatchMouseUp(TMouseButton::mbLeft, modifiers, x1, y1);
    }
};

TEST_F(Surface, PressGoesToTheFrontMostControlAndTheCaptureKeepsTheRest) {
    new Probe(*surface, log, "back", {10, 10, 110, 110});
    new Probe(*surface, log, "front", {50, 50, 150, 150});
    drag(60, 60, 300, 250, ssShift);
    // Moves and the release outside the control still reach it, in its client coordinates; the
    // release outside raises no click; the held button shows in the shift state until its release.
    EXPECT_EQ(log, (std::vector<std::string>{"front down 10,10 SL", "front move 250,200 SL", "front up 250,200 S"}));
    EXPECT_EQ(TControl::CaptureControl(), nullptr);

    log.clear();
    drag(20, 20, 25, 25);  // only the back one is under (20, 20); edges are exclusive at 110
    surface->DispatchMouseMove(0, 110, 30);
    EXPECT_EQ(log, (std::vector<std::string>{"back down 10,10 L", "back move 15,15 L", "back click", "back up 15,15"}));
}

TEST_F(Surface, ControlThatGivesUpTheCaptureLetsMovesGoWhereThePointerIs) {
    new Probe(*surface, log, "under", {100, 0, 200, 100});
    new Probe(*surface, log, "handoff", {0, 0, 50, 50}, /*keep_capture=*/false);
    surface->DispatchMouseDown(TMouseButton::mbLeft, 0, 10, 10);
    surface->DispatchMouseMove(0, 150, 10);
    surface->DispatchMouseUp(TMouseButton::mbLeft, 0, 150, 10);
    // The release lands on another control than the one pressed: no click anywhere.
    EXPECT_EQ(log, (std::vector<std::string>{"handoff down 10,10 L", "under move 50,10 L", "under up 50,10"}));

    log.clear();
    surface->DispatchMouseMove(0, 300, 200);  // nothing under the point: the surface takes it
    EXPECT_TRUE(log.empty());
}

TEST_F(Surface, DoubleClickRaisesDblClickBeforeThePress) {
    new Probe(*surface, log, "p", {0, 0, 50, 50});
    surface->DispatchMouseDown(TMouseButton::mbLeft, 0, 5, 5);
    surface->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 5);
    surface->DispatchDoubleClick(TMouseButton::mbLeft, 0, 5, 5);
    surface->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"p down 5,5 L", "p click", "p up 5,5", "p dblclick", "p down 5,5 LD",
                                             "p click", "p up 5,5"}));
}

TEST_F(Surface, ClickHandlerMayFreeTheClickedControl) {
    auto* doomed = new Probe(*surface, log, "doomed", {0, 0, 50, 50});
    doomed->OnClick = [&](TObject* sender) { delete static_cast<TControl*>(sender); };
    drag(5, 5, 6, 6);
    EXPECT_EQ(surface->ControlCount(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"doomed down 5,5 L", "doomed move 6,6 L"}));
}

TEST_F(Surface, CursorIsTheCaptureControlsOrTheOneUnderThePointer) {
    auto* sizer = new Probe(*surface, log, "sizer", {0, 0, 50, 50});
    sizer->SetCursor(crSizeNS);
    surface->SetCursor(crCross);
    surface->DispatchMouseMove(0, 10, 10);
    EXPECT_EQ(surface->ShownCursor(), crSizeNS);
    surface->DispatchMouseMove(0, 100, 100);
    EXPECT_EQ(surface->ShownCursor(), crCross);
    surface->DispatchMouseDown(TMouseButton::mbLeft, 0, 10, 10);
    surface->DispatchMouseMove(0, 100, 100);
    EXPECT_EQ(surface->ShownCursor(), crSizeNS);
}

TEST_F(Surface, NestedClientCoordinatesGoThroughTheScreen) {
    surface->SetBounds(30, 40, 400, 300);
    auto* inner = new TDiagramSurface(&owner);
    inner->SetParent(surface);
    inner->SetBounds(100, 50, 200, 200);
    auto* probe = new Probe(*inner, log, "inner", {10, 20, 60, 70});
    EXPECT_EQ(probe->ClientToScreen({0, 0}), (TPoint{30 + 100 + 10, 40 + 50 + 20}));
    EXPECT_EQ(surface->ScreenToClient(probe->ClientToScreen({3, 4})), (TPoint{113, 74}));
    surface->DispatchMouseDown(TMouseButton::mbLeft, 0, 113, 74);
    EXPECT_EQ(log, (std::vector<std::string>{"inner down 3,4 L"}));
}

TEST_F(Surface, IndexOfControlFollowsEveryChangeOfOrder) {
    auto* a = new Probe(*surface, log, "a", {0, 0, 10, 10});
    auto* b = new Probe(*surface, log, "b", {0, 0, 10, 10});
    auto* c = new Probe(*surface, log, "c", {0, 0, 10, 10});
    auto* inner = new TDiagramSurface(&owner);
    inner->SetParent(surface);  // windowed children come after the graphic ones
    auto indexes = [&] {
        std::string out;
        for (TControl* x : std::initializer_list<TControl*>{a, b, c, inner})
            if (x) out += std::to_string(surface->IndexOfControl(x));
        return out;
    };
    EXPECT_EQ(indexes(), "0123");
    a->BringToFront();
    EXPECT_EQ(indexes(), "2013");
    c->SendToBack();
    EXPECT_EQ(indexes(), "2103");
    delete b;
    b = nullptr;
    EXPECT_EQ(indexes(), "102");
    a->SetParent(inner);
    EXPECT_EQ(surface->IndexOfControl(a), -1);
    EXPECT_EQ(inner->IndexOfControl(a), 0);
    EXPECT_EQ(surface->IndexOfControl(inner), 1);
    a->SetParent(surface);
    EXPECT_EQ(surface->Controls(surface->IndexOfControl(a)), a);
}

TEST_F(Surface, PaintsChildrenBackToFrontEachClippedToItsBounds) {
    new Probe(*surface, log, "a", {10, 10, 60, 40});
    auto* hidden = new Probe(*surface, log, "hidden", {0, 0, 20, 20});
    hidden->SetVisible(false);
    new Probe(*surface, log, "b", {30, 20, 90, 70});
    RecordingCanvas canvas(400, 300);
    surface->PaintTo(canvas);
    const auto& calls = canvas.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, RecordedCall::Kind::FillRect);  // the surface's background
    EXPECT_EQ(calls[0].brush.Color(), clWhite);
    EXPECT_EQ(calls[1].rect, (TRect{5, 5, 510, 510}));     // a's rectangle at a's origin...
    EXPECT_EQ(calls[1].clip, (TRect{10, 10, 60, 40}));     // ...clipped to a
    EXPECT_EQ(calls[2].clip, (TRect{30, 20, 90, 70}));
    EXPECT_TRUE(IsRectEmpty(surface->InvalidRect()));
}

TEST_F(Surface, MovingAControlInvalidatesOldAndNewAreasAndOnlyThoseRepaint) {
    auto* moved = new Probe(*surface, log, "moved", {10, 10, 30, 30});
    new Probe(*surface, log, "far", {300, 200, 350, 250});
    RecordingCanvas canvas(400, 300);
    surface->PaintTo(canvas);
    canvas.Clear();

    moved->SetBounds(50, 15, 20, 20);
    EXPECT_EQ(surface->InvalidRect(), (TRect{10, 10, 70, 35}));
    EXPECT_EQ(surface->PaintInvalidated(canvas), (TRect{10, 10, 70, 35}));
    ASSERT_EQ(canvas.Calls().size(), 2u);  // background and the moved control; the far one is not touched
    EXPECT_EQ(canvas.Calls()[0].clip, (TRect{10, 10, 70, 35}));
    EXPECT_EQ(canvas.Calls()[1].clip, (TRect{50, 15, 70, 35}));
    EXPECT_TRUE(IsRectEmpty(surface->InvalidRect()));

    moved->BringToFront();
    EXPECT_EQ(surface->InvalidRect(), (TRect{50, 15, 70, 35}));
    delete moved;
    EXPECT_EQ(surface->InvalidRect(), (TRect{50, 15, 70, 35}));
}

}  // namespace
