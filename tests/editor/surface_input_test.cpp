// The GTK adapter without a display: hand-made GDK events in, the surface's calls out.

#include <gtest/gtest.h>

#include <cairo.h>

#include <string>
#include <vector>

#include "editor/surface_input.h"
#include "platform/components/diagram_surface.h"

namespace {

// A control that writes down what reaches it, with the shift state as letters.
class Probe : public TGraphicControl {
public:
    Probe(TWinControl& parent, std::vector<std::string>& log, TRect bounds)
        : TGraphicControl(parent.Owner(), TGraphicControlClass()), log_(log) {
        SetParent(&parent);
        SetBounds(bounds.Left, bounds.Top, bounds.Right - bounds.Left, bounds.Bottom - bounds.Top);
        OnDblClick = [this](TObject*) { log_.push_back("dblclick"); };
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override { log_.push_back("down " + name(b) + point(s, x, y)); }
    void MouseMove(TShiftState s, int x, int y) override { log_.push_back("move" + point(s, x, y)); }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override { log_.push_back("up " + name(b) + point(s, x, y)); }
    void Paint() override {
        Canvas().Brush().SetColor(clRed);
        Canvas().FillRect(TRect{0, 0, Width(), Height()});
    }

private:
    static std::string name(TMouseButton b) {
        return b == TMouseButton::mbLeft ? "L" : b == TMouseButton::mbRight ? "R" : "M";
    }
    static std::string point(TShiftState s, int x, int y) {
        std::string flags;
        for (auto [flag, letter] : {std::pair{ssShift, 's'}, {ssCtrl, 'c'}, {ssAlt, 'a'}, {ssLeft, 'L'},
                                    {ssRight, 'R'}, {ssMiddle, 'M'}, {ssDouble, 'D'}})
            if (s & flag) flags += letter;
        return " " + std::to_string(x) + "," + std::to_string(y) + (flags.empty() ? "" : " " + flags);
    }
    std::vector<std::string>& log_;
};

GdkEvent button(GdkEventType type, unsigned number, double x, double y, unsigned state = 0, std::uint32_t time = 1000) {
    GdkEvent e{};
    e.button.type = type;
    e.button.button = number;
    e.button.x = x;
    e.button.y = y;
    e.button.state = state;
    e.button.time = time;
    return e;
}

GdkEvent motion(double x, double y, unsigned state = 0) {
    GdkEvent e{};
    e.motion.type = GDK_MOTION_NOTIFY;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = state;
    return e;
}

struct Adapter : ::testing::Test {
    TComponent owner{nullptr, TComponentClass()};
    TDiagramSurface* surface = new TDiagramSurface(&owner);
    std::vector<std::string> log;
    SurfaceInput input;
    Adapter() {
        surface->SetBounds(0, 0, 400, 300);
        new Probe(*surface, log, {100, 100, 200, 200});
    }
    bool deliver(const GdkEvent& e) { return input.Deliver(*surface, e); }
};

TEST_F(Adapter, ButtonsModifiersAndCoordinatesReachTheControlUnderThePointerWhileHeld) {
    EXPECT_TRUE(deliver(button(GDK_BUTTON_PRESS, 1, 110.7, 120.2, GDK_SHIFT_MASK | GDK_CONTROL_MASK)));
    // Outside the widget during the implicit grab: the capture keeps the moves, fractions floor.
    EXPECT_TRUE(deliver(motion(-3.5, 250.0, GDK_BUTTON1_MASK)));
    EXPECT_TRUE(deliver(button(GDK_BUTTON_RELEASE, 1, -3.5, 250.0, GDK_MOD1_MASK)));
    EXPECT_TRUE(deliver(button(GDK_BUTTON_PRESS, 3, 150, 150, 0, 5000)));
    EXPECT_TRUE(deliver(button(GDK_BUTTON_RELEASE, 3, 150, 150)));
    EXPECT_TRUE(deliver(button(GDK_BUTTON_PRESS, 2, 150, 150, 0, 9000)));
    EXPECT_TRUE(deliver(button(GDK_BUTTON_RELEASE, 2, 150, 150)));
    EXPECT_EQ(log, (std::vector<std::string>{"down L 10,20 scL", "move -104,150 L", "up L -104,150 a", "down R 50,50 R",
                                             "up R 50,50", "down M 50,50 M", "up M 50,50"}));
    EXPECT_EQ(TControl::CaptureControl(), nullptr);
}

TEST_F(Adapter, SecondPressMakesTheDoubleClickAndGdksOwnDoubleIsDropped) {
    deliver(button(GDK_BUTTON_PRESS, 1, 110, 110, 0, 1000));
    deliver(button(GDK_BUTTON_RELEASE, 1, 110, 110, 0, 1050));
    deliver(button(GDK_BUTTON_PRESS, 1, 113, 112, 0, 1300));
    EXPECT_FALSE(deliver(button(GDK_2BUTTON_PRESS, 1, 113, 112, 0, 1300)));
    deliver(button(GDK_BUTTON_RELEASE, 1, 113, 112, 0, 1350));
    // A third press is a press again; so is a second one too late or too far away.
    deliver(button(GDK_BUTTON_PRESS, 1, 113, 112, 0, 1500));
    deliver(button(GDK_BUTTON_RELEASE, 1, 113, 112, 0, 1550));
    deliver(button(GDK_BUTTON_PRESS, 1, 113, 112, 0, 1950));  // 450 ms after the last press
    deliver(button(GDK_BUTTON_RELEASE, 1, 113, 112, 0, 2000));
    deliver(button(GDK_BUTTON_PRESS, 1, 120, 112, 0, 2100));  // 7 pixels away
    deliver(button(GDK_BUTTON_RELEASE, 1, 120, 112, 0, 2150));
    EXPECT_EQ(log, (std::vector<std::string>{"down L 10,10 L", "up L 10,10", "dblclick", "down L 13,12 LD", "up L 13,12",
                                             "down L 13,12 L", "up L 13,12", "down L 13,12 L", "up L 13,12",
                                             "down L 20,12 L", "up L 20,12"}));
}

TEST_F(Adapter, ReleasesWithoutTheirPressAndOtherButtonsAreDroppedAndCancelEndsAHeldDrag) {
    EXPECT_FALSE(deliver(button(GDK_BUTTON_RELEASE, 1, 150, 150)));  // pressed outside the widget
    EXPECT_FALSE(deliver(button(GDK_BUTTON_PRESS, 8, 150, 150)));    // "back"
    EXPECT_TRUE(log.empty());
    deliver(button(GDK_BUTTON_PRESS, 1, 150, 150));
    deliver(motion(160, 170, GDK_BUTTON1_MASK));
    EXPECT_EQ(input.Held(), ssLeft);
    input.Cancel(*surface);
    EXPECT_EQ(input.Held(), 0u);
    EXPECT_EQ(TControl::CaptureControl(), nullptr);
    EXPECT_FALSE(deliver(button(GDK_BUTTON_RELEASE, 1, 160, 170)));  // already released
    EXPECT_EQ(log, (std::vector<std::string>{"down L 50,50 L", "move 60,70 L", "up L 60,70"}));
}

TEST_F(Adapter, APressGivenAgainReachesTheShapeNowUnderItHeldAndAsTheFirstOfADoubleClick) {
    const GdkEvent press = button(GDK_BUTTON_PRESS, 1, 150, 150, 0, 1000);
    deliver(press);
    input.Cancel(*surface);
    input.PressAgain(*surface, press.button);
    input.PressAgain(*surface, press.button);  // held already: nothing
    EXPECT_EQ(input.Held(), ssLeft);
    EXPECT_TRUE(deliver(button(GDK_BUTTON_RELEASE, 1, 150, 150, 0, 1050)));
    deliver(button(GDK_BUTTON_PRESS, 1, 150, 150, 0, 1200));
    deliver(button(GDK_BUTTON_RELEASE, 1, 150, 150, 0, 1250));
    EXPECT_EQ(log, (std::vector<std::string>{"down L 50,50 L", "up L 50,50", "down L 50,50 L", "up L 50,50", "dblclick",
                                             "down L 50,50 LD", "up L 50,50"}));
}

TEST(AdapterMaps, HandleCursorsAndWheelZoom) {
    EXPECT_STREQ(CursorName(crSizeNWSE), "nwse-resize");
    EXPECT_STREQ(CursorName(crSizeNESW), "nesw-resize");
    EXPECT_STREQ(CursorName(crSizeNS), "ns-resize");
    EXPECT_STREQ(CursorName(crSizeWE), "ew-resize");
    EXPECT_STREQ(CursorName(crSizeAll), "move");
    EXPECT_EQ(CursorName(crDefault), nullptr);
    EXPECT_EQ(CursorName(5), nullptr);
    for (TCursor c = crSizeAll; c <= crNone; ++c)
        if (c != -5) {
            EXPECT_NE(CursorName(c), nullptr) << c;  // every stock cursor shows as something
        }

    GdkEventScroll s{};
    double pending = 0;
    s.type = GDK_SCROLL;
    s.direction = GDK_SCROLL_UP;
    EXPECT_EQ(ZoomStepsOf(s, pending), 0);  // without Ctrl the view scrolls
    s.state = GDK_CONTROL_MASK;
    EXPECT_EQ(ZoomStepsOf(s, pending), 1);
    s.direction = GDK_SCROLL_DOWN;
    EXPECT_EQ(ZoomStepsOf(s, pending), -1);
    s.direction = GDK_SCROLL_LEFT;
    EXPECT_EQ(ZoomStepsOf(s, pending), 0);
    s.direction = GDK_SCROLL_SMOOTH;
    s.delta_y = 1;  // a wheel notch
    EXPECT_EQ(ZoomStepsOf(s, pending), -1);
    s.delta_y = -0.4;  // a touchpad: one step per whole unit
    EXPECT_EQ(ZoomStepsOf(s, pending), 0);
    EXPECT_EQ(ZoomStepsOf(s, pending), 0);
    EXPECT_EQ(ZoomStepsOf(s, pending), 1);
    EXPECT_EQ(ZoomStepsOf(s, pending), 0);
    s.state = 0;  // Ctrl let go: what was pending is dropped
    EXPECT_EQ(ZoomStepsOf(s, pending), 0);
    s.state = GDK_CONTROL_MASK;
    EXPECT_EQ(ZoomStepsOf(s, pending), 0);
    EXPECT_EQ(ZoomStepsOf(s, pending), 0);
}

TEST_F(Adapter, PaintingCoversTheAskedAreaAndWhatTheSurfaceInvalidated) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 300);
    cairo_t* context = cairo_create(image);
    cairo_set_source_rgb(context, 0, 0, 1);  // blue: not painted
    cairo_paint(context);
    surface->Validate();
    surface->Controls(0)->SetBounds(300, 100, 50, 50);  // invalidates its old and new place
    PaintSurface(*surface, context, TRect{0, 0, 20, 20});
    cairo_surface_flush(image);
    const auto pixel = [&](int x, int y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image) +
                                                                 y * cairo_image_surface_get_stride(image));
        return row[x] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(5, 5), 0xFFFFFFu);    // the asked area: the surface's white
    EXPECT_EQ(pixel(150, 150), 0xFFFFFFu);  // where the control stood
    EXPECT_EQ(pixel(320, 120), 0xFF0000u);  // where it stands now
    EXPECT_EQ(pixel(250, 250), 0x0000FFu);  // neither asked for nor invalidated
    EXPECT_TRUE(IsRectEmpty(surface->InvalidRect()));
    cairo_destroy(context);
    cairo_surface_destroy(image);
}

}  // namespace
