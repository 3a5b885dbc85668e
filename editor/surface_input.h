#pragma once

#include <cstdint>
#include <optional>

#include <gdk/gdk.h>

#include "platform/components/cursors.h"
#include "platform/components/mouse.h"
#include "diagram/diagram.h"
#include "platform/geometry.h"

class DiagramScene;

class TDiagramSurface;

// The GTK side of a diagram surface: GDK pointer events become the surface's mouse calls, the
// surface's cursors become GDK cursor names, and the surface paints on a widget's cairo context.
// Nothing here needs a display, so the tests feed it hand-made events.

// The modifier keys of a GDK state as shift-state flags (the surface adds the buttons itself).
TShiftState ModifiersOf(unsigned gdk_state);
// Buttons 1, 2 and 3; none for the others (back, forward, tilt), which the shapes never saw.
std::optional<TMouseButton> ButtonOf(unsigned gdk_button);

// The name of the GDK cursor (CSS cursor names) that shows `cursor`; null for crDefault and for
// numbers that are not stock cursors, which leave the widget's own cursor.
const char* CursorName(TCursor cursor);

// Whether the second press makes a double click.
struct ClickSettings {
    std::uint32_t double_click_ms = 400;  // GTK's default gtk-double-click-time
    int distance = 5;                      // GTK's default gtk-double-click-distance
};

// Feeds one widget's pointer events to a surface, whose client coordinates are the widget's.
//
// GDK reports a double click as press, release, press, 2BUTTON_PRESS; the surface wants press,
// release, double click. So the adapter recognises the second press itself (same button within the
// time and distance) and drops GDK's own 2BUTTON_PRESS and 3BUTTON_PRESS. It also keeps the buttons
// it passed on: a release of a button whose press the surface never saw is dropped, and Cancel
// releases what is still held, so the surface never keeps a capture the pointer has lost.
class SurfaceInput {
public:
    void SetClickSettings(const ClickSettings& settings) { settings_ = settings; }

    // Hands `event` to `surface`; returns whether it was a pointer event the surface got.
    bool Deliver(TDiagramSurface& surface, const GdkEvent& event);
    // Passes the last press on again as a single press once the surface has let it go (Cancel): a
    // press that a shape handed to the surface reaches the shape now under the point. The press
    // still counts as the first of a double click.
    void PressAgain(TDiagramSurface& surface, const GdkEventButton& event);
    // Releases every button still held, at the last point seen (a grab broken, the window losing
    // focus, a command about to replace the surface).
    void Cancel(TDiagramSurface& surface);
    // Buttons held, as shift-state flags.
    TShiftState Held() const { return held_; }

private:
    bool Press(TDiagramSurface& surface, const GdkEventButton& event);
    bool Release(TDiagramSurface& surface, const GdkEventButton& event);

    ClickSettings settings_;
    TShiftState held_ = 0;
    TPoint last_{0, 0};
    struct LastPress {
        TMouseButton button;
        std::uint32_t time;
        TPoint at;
    };
    std::optional<LastPress> last_press_;  // a first press a second one may complete
};

// Zoom steps a Ctrl + wheel event asks for: +1 in, -1 out, 0 for none (no Ctrl, sideways scrolling).
// Smooth scrolling (touchpads send many small deltas, a wheel notch is 1) adds its vertical delta to
// `pending` and steps once per whole unit, so a swipe does not zoom by dozens of stops.
int ZoomStepsOf(const GdkEventScroll& event, double& pending);

// Paints the part of `surface` inside `area` (client coordinates, those of the widget) onto the
// widget's cairo context, together with whatever the surface had invalidated inside it.
void PaintSurface(TDiagramSurface& surface, cairo_t* context, const TRect& area);
// The same in the modern style: the whole scene drawn by diagram/modern_painter.h, clipped to `area`.
void PaintModernSurface(DiagramScene& scene, cairo_t* context, const TRect& area, DiagramTheme theme);
