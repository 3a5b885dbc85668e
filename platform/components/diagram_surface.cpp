#include "platform/components/diagram_surface.h"

#include <algorithm>

#include "platform/components/control_properties.h"
#include "platform/components/property_builders.h"

TDiagramSurface::TDiagramSurface(TComponent* owner) : TDiagramSurface(owner, TDiagramSurfaceClass()) {}

TDiagramSurface::TDiagramSurface(TComponent* owner, const ComponentClass& description)
    : TWinControl(owner, description) {}

TColor TDiagramSurface::Color() const { return static_cast<TColor>(integer_of(GetProperty("Color"))); }

void TDiagramSurface::SetColor(TColor color) {
    SetProperty("Color", std::int64_t{color});
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Mouse input

TPoint TDiagramSurface::ToClientOf(const TControl* control, TPoint p) const {
    return control->ScreenToClient(ClientToScreen(p));
}

TControl* TDiagramSurface::Receiver(TPoint p, bool honour_capture) const {
    if (honour_capture) {
        // The capture counts only for a control on this surface (or the surface itself).
        for (TControl* c = CaptureControl(); c; c = c->Parent())
            if (c == this) return CaptureControl();
    }
    const TWinControl* container = this;
    TControl* found = const_cast<TDiagramSurface*>(this);
    while (container) {
        TControl* child = container->ControlAtPos(container->ScreenToClient(ClientToScreen(p)));
        if (!child) break;
        found = child;
        container = dynamic_cast<const TWinControl*>(child);
    }
    return found;
}

void TDiagramSurface::Press(TMouseButton button, TShiftState modifiers, int x, int y, bool double_click) {
    buttons_ |= ButtonShiftFlag(button);
    TControl* receiver = Receiver({x, y}, true);
    receiver->SetMouseCapture(true);
    if (button == TMouseButton::mbLeft && receiver != pressed_) {
        if (pressed_) RemoveFreeNotification(pressed_);
        pressed_ = receiver;
        if (pressed_ != this) FreeNotification(pressed_);
    }
    const TPoint local = ToClientOf(receiver, {x, y});
    TShiftState shift = modifiers | buttons_;
    if (double_click) {
        shift |= ssDouble;
        receiver->DblClick();
    }
    receiver->MouseDown(button, shift, local.X, local.Y);
    UpdateCursor({x, y});
}

void TDiagramSurface::DispatchMouseDown(TMouseButton button, TShiftState modifiers, int x, int y) {
    Press(button, modifiers, x, y, false);
}

void TDiagramSurface::DispatchDoubleClick(TMouseButton button, TShiftState modifiers, int x, int y) {
    Press(button, modifiers, x, y, true);
}

void TDiagramSurface::DispatchMouseMove(TShiftState modifiers, int x, int y) {
    TControl* receiver = Receiver({x, y}, true);
    const TPoint local = ToClientOf(receiver, {x, y});
    receiver->MouseMove(modifiers | buttons_, local.X, local.Y);
    UpdateCursor({x, y});
}

void TDiagramSurface::DispatchMouseUp(TMouseButton button, TShiftState modifiers, int x, int y) {
    buttons_ &= ~ButtonShiftFlag(button);
    TControl* receiver = Receiver({x, y}, true);
    receiver->SetMouseCapture(false);
    const TPoint local = ToClientOf(receiver, {x, y});
    bool alive = true;
    if (button == TMouseButton::mbLeft && pressed_) {
        if (pressed_ == receiver && local.X >= 0 && local.Y >= 0 && local.X < receiver->ClientWidth() &&
            local.Y < receiver->ClientHeight()) {
            receiver->Click();
            // A click handler may free what was clicked; the free notification clears pressed_.
            alive = pressed_ == receiver;
        }
        if (pressed_ && pressed_ != this) RemoveFreeNotification(pressed_);
        pressed_ = nullptr;
    }
    if (alive) receiver->MouseUp(button, modifiers | buttons_, local.X, local.Y);
    UpdateCursor({x, y});
}

void TDiagramSurface::UpdateCursor(TPoint p) {
    const TControl* over = Receiver(p, true);
    shown_cursor_ = over->Cursor() != crDefault ? over->Cursor() : Cursor();
}

void TDiagramSurface::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == pressed_) pressed_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Painting

void TDiagramSurface::InvalidateRect(const TRect& rect) {
    const TRect visible = IntersectRect(rect, ClientRect());
    if (IsRectEmpty(visible)) return;
    if (IsRectEmpty(invalid_)) {
        invalid_ = visible;
        return;
    }
    invalid_ = {std::min(invalid_.Left, visible.Left), std::min(invalid_.Top, visible.Top),
                std::max(invalid_.Right, visible.Right), std::max(invalid_.Bottom, visible.Bottom)};
}

void TDiagramSurface::PaintWindow(TCanvas& canvas) {
    TBrush& brush = canvas.Brush();
    const TBrush saved = brush;
    brush.SetColor(Color());
    brush.SetStyle(TBrushStyle::bsSolid);
    canvas.FillRect(ClientRect());
    brush = saved;
}

void TDiagramSurface::PaintTo(TCanvas& canvas) {
    PaintWindow(canvas);
    PaintControls(canvas);
    Validate();
}

TRect TDiagramSurface::PaintInvalidated(TCanvas& canvas) {
    const TRect area = invalid_;
    if (IsRectEmpty(area)) return area;
    const TRect saved_clip = canvas.DeviceClipRect();
    canvas.IntersectClipRect(area);
    PaintWindow(canvas);
    PaintControls(canvas);
    canvas.SetDeviceClipRect(saved_clip);
    Validate();
    return area;
}

// ---------------------------------------------------------------------------------------------
// Published properties

const ComponentClass& TDiagramSurfaceClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass c("TDiagramSurface", &TWinControlClass());
        // Color is stored unless ParentColor is set, so the surface publishes both.
        c.published = {align(), color(clWhite), boolean("ParentColor", false)};
        creatable<TDiagramSurface>(c);
        return c;
    }();
    return description;
}
