// GDK events to the diagram surface's mouse calls; the surface painted on a widget.

#include "editor/surface_input.h"

#include "diagram/modern_painter.h"
#include "diagram/scene.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/components/diagram_surface.h"
#include "platform/graphics/cairo_device.h"
#include "platform/graphics/canvas.h"

namespace {

// Event coordinates are fractional on some devices; the surface counts whole pixels, and the pixel
// under the hot spot is the one floor gives (also left of and above the widget during a grab).
TPoint PointOf(double x, double y) {
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

// Copies an image painted offscreen to the window at its place, and frees it.
void CopyImage(cairo_t* context, cairo_surface_t* image, const TRect& painted) {
    cairo_save(context);
    cairo_set_source_surface(context, image, painted.Left, painted.Top);
    cairo_rectangle(context, painted.Left, painted.Top, RectWidth(painted), RectHeight(painted));
    cairo_fill(context);
    cairo_restore(context);
    cairo_surface_destroy(image);
}

}  // namespace

TShiftState ModifiersOf(unsigned gdk_state) {
    TShiftState s = 0;
    if (gdk_state & GDK_SHIFT_MASK) s |= ssShift;
    if (gdk_state & GDK_CONTROL_MASK) s |= ssCtrl;
    if (gdk_state & GDK_MOD1_MASK) s |= ssAlt;
    return s;
}

std::optional<TMouseButton> ButtonOf(unsigned gdk_button) {
    switch (gdk_button) {
        case GDK_BUTTON_PRIMARY: return TMouseButton::mbLeft;
        case GDK_BUTTON_MIDDLE: return TMouseButton::mbMiddle;
        case GDK_BUTTON_SECONDARY: return TMouseButton::mbRight;
        default: return std::nullopt;
    }
}

const char* CursorName(TCursor cursor) {
    switch (cursor) {
        case crNone: return "none";
        case crArrow: return "default";
        case crCross: return "crosshair";
        case crIBeam: return "text";
        case crSizeNESW: return "nesw-resize";
        case crSizeNS: return "ns-resize";
        case crSizeNWSE: return "nwse-resize";
        case crSizeWE: return "ew-resize";
        case crUpArrow: return "default";  // no such shape among the names; the arrow is closest
        case crHourGlass: return "wait";
        case crDrag: return "alias";
        case crNoDrop: return "no-drop";
        case crHSplit: return "col-resize";
        case crVSplit: return "row-resize";
        case crMultiDrag: return "copy";
        case crSQLWait: return "progress";
        case crNo: return "not-allowed";
        case crAppStart: return "progress";
        case crHelp: return "help";
        case crHandPoint: return "pointer";
        case crSizeAll: return "move";
        default: return nullptr;
    }
}

bool SurfaceInput::Deliver(TDiagramSurface& surface, const GdkEvent& event) {
    switch (event.type) {
        case GDK_BUTTON_PRESS: return Press(surface, event.button);
        case GDK_BUTTON_RELEASE: return Release(surface, event.button);
        case GDK_MOTION_NOTIFY: {
            last_ = PointOf(event.motion.x, event.motion.y);
            surface.DispatchMouseMove(ModifiersOf(event.motion.state), last_.X, last_.Y);
            return true;
        }
        default: return false;  // 2BUTTON_PRESS and 3BUTTON_PRESS among them: see the class comment
    }
}

bool SurfaceInput::Press(TDiagramSurface& surface, const GdkEventButton& event) {
    const std::optional<TMouseButton> button = ButtonOf(event.button);
    if (!button || (held_ & ButtonShiftFlag(*button))) return false;
    last_ = PointOf(event.x, event.y);
    const TShiftState modifiers = ModifiersOf(event.state);
    const bool second = last_press_ && last_press_->button == *button &&
                        event.time - last_press_->time <= settings_.double_click_ms &&
                        std::abs(last_.X - last_press_->at.X) <= settings_.distance &&
                        std::abs(last_.Y - last_press_->at.Y) <= settings_.distance;
    held_ |= ButtonShiftFlag(*button);
    if (second) {
        // A third press starts afresh, as the target's double clicks do.
        last_press_.reset();
        surface.DispatchDoubleClick(*button, modifiers, last_.X, last_.Y);
    } else {
        last_press_ = LastPress{*button, event.time, last_};
        surface.DispatchMouseDown(*button, modifiers, last_.X, last_.Y);
    }
    return true;
}

void SurfaceInput::PressAgain(TDiagramSurface& surface, const GdkEventButton& event) {
    const std::optional<TMouseButton> button = ButtonOf(event.button);
    if (!button || (held_ & ButtonShiftFlag(*button))) return;
    last_ = PointOf(event.x, event.y);
    held_ |= ButtonShiftFlag(*button);
    last_press_ = LastPress{*button, event.time, last_};
    surface.DispatchMouseDown(*button, ModifiersOf(event.state), last_.X, last_.Y);
}

bool SurfaceInput::Release(TDiagramSurface& surface, const GdkEventButton& event) {
    const std::optional<TMouseButton> button = ButtonOf(event.button);
    if (!button || !(held_ & ButtonShiftFlag(*button))) return false;
    held_ &= ~ButtonShiftFlag(*button);
    last_ = PointOf(event.x, event.y);
    surface.DispatchMouseUp(*button, ModifiersOf(event.state), last_.X, last_.Y);
    return true;
}

void SurfaceInput::Cancel(TDiagramSurface& surface) {
    for (TMouseButton button : {TMouseButton::mbLeft, TMouseButton::mbMiddle, TMouseButton::mbRight}) {
        if (!(held_ & ButtonShiftFlag(button))) continue;
        held_ &= ~ButtonShiftFlag(button);
        surface.DispatchMouseUp(button, 0, last_.X, last_.Y);
    }
    last_press_.reset();
}

int ZoomStepsOf(const GdkEventScroll& event, double& pending) {
    if (!(event.state & GDK_CONTROL_MASK)) {
        pending = 0;
        return 0;
    }
    switch (event.direction) {
        case GDK_SCROLL_UP: return 1;
        case GDK_SCROLL_DOWN: return -1;
        case GDK_SCROLL_SMOOTH: {
            pending += event.delta_y;
            const int whole = static_cast<int>(pending);  // toward zero
            pending -= whole;
            return -whole;  // scrolling up (negative delta) zooms in
        }
        default: return 0;
    }
}

void PaintSurface(TDiagramSurface& surface, cairo_t* context, const TRect& area) {
    surface.InvalidateRect(area);
    const TRect painted = IntersectRect(surface.InvalidRect(), TRect{0, 0, surface.Width(), surface.Height()});
    if (IsRectEmpty(painted)) {
        surface.Validate();
        return;
    }
    // Drawn into an image first and then copied: pixman rasterises it exactly as the offscreen canvas
    // (and `kzr40 draw`) does, where a window's own surface may render lines and text differently.
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, RectWidth(painted), RectHeight(painted));
    cairo_t* image_context = cairo_create(image);
    cairo_translate(image_context, -painted.Left, -painted.Top);
    {
        CairoDevice device(image_context, TRect{0, 0, surface.Width(), surface.Height()});
        TCanvas canvas(device);
        surface.PaintInvalidated(canvas);
    }
    cairo_destroy(image_context);
    CopyImage(context, image, painted);
}

void PaintModernSurface(DiagramScene& scene, cairo_t* context, const TRect& area, DiagramTheme theme) {
    TDiagramSurface& surface = scene.surface();
    const TRect whole{0, 0, surface.Width(), surface.Height()};
    const TRect painted = IntersectRect(area, whole);
    surface.Validate();
    if (IsRectEmpty(painted)) return;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, RectWidth(painted), RectHeight(painted));
    cairo_t* image_context = cairo_create(image);
    cairo_translate(image_context, -painted.Left, -painted.Top);
    {
        CairoDevice device(image_context, whole);
        TCanvas canvas(device);
        canvas.IntersectClipRect(painted);
        paint_modern_scene(scene, canvas, whole, theme);
    }
    cairo_destroy(image_context);
    CopyImage(context, image, painted);
}
