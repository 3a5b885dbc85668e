#pragma once

#include "platform/components/control.h"
#include "platform/graphics.h"

// The windowed control that diagrams live on. It stands where a window of the host would be: a
// window adapter (or a test) hands it the mouse events of its client area and asks it to paint, and
// it does what the target's control framework does for the windowless controls inside it.
//
// Mouse input (client coordinates of the surface; `modifiers` are ssShift, ssAlt and ssCtrl — the
// surface adds the flags of the buttons held itself):
// - A press goes to the control that holds the mouse capture if it lies on this surface, otherwise to
//   the front-most visible control under the point (ControlAtPos, descending into windowed children),
//   otherwise to the surface itself. The receiver takes the capture first, is marked as pressed when
//   the button is the left one, and then gets MouseDown in its client coordinates.
// - A double click (the second press of one) raises DblClick on the receiver and then MouseDown with
//   ssDouble added.
// - A move and a release go to the capture control, or to the control under the point when no
//   control holds it.
// - A release gives up the receiver's capture; a left release delivered to the control that took the
//   left press raises its Click when the point lies inside its client rectangle (right and bottom
//   edges exclusive), before its MouseUp runs.
// - After each event the shown cursor is that of the capture control, or else of the control under
//   the point; crDefault defers to the surface's own cursor.
//
// Painting: the surface fills its client area with its Color and paints its children back to front
// (TWinControl::PaintControls). It collects the areas its children invalidate (moves, z-order
// changes, Invalidate) as one rectangle until the next paint.
class TDiagramSurface : public TWinControl {
public:
    explicit TDiagramSurface(TComponent* owner);
    TDiagramSurface(TComponent* owner, const ComponentClass& description);

    TColor Color() const;
    void SetColor(TColor color);

    void DispatchMouseDown(TMouseButton button, TShiftState modifiers, int x, int y);
    void DispatchDoubleClick(TMouseButton button, TShiftState modifiers, int x, int y);
    void DispatchMouseMove(TShiftState modifiers, int x, int y);
    void DispatchMouseUp(TMouseButton button, TShiftState modifiers, int x, int y);
    // The cursor to show after the last event.
    TCursor ShownCursor() const { return shown_cursor_; }
    // The buttons held, as shift-state flags.
    TShiftState ButtonsHeld() const { return buttons_; }

    // Paints the whole client area onto `canvas` (logical coordinates: the surface's client
    // coordinates) and clears the invalidated area.
    void PaintTo(TCanvas& canvas);
    // Paints only the invalidated area (clipped to it), then clears it; returns the area painted.
    TRect PaintInvalidated(TCanvas& canvas);
    // The area invalidated since the last paint, in client coordinates; empty when none.
    const TRect& InvalidRect() const { return invalid_; }
    void InvalidateRect(const TRect& rect) override;
    void Validate() { invalid_ = {}; }

    void PaintWindow(TCanvas& canvas) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The control an event at `p` goes to, and `p` in its client coordinates.
    TControl* Receiver(TPoint p, bool honour_capture) const;
    void Press(TMouseButton button, TShiftState modifiers, int x, int y, bool double_click);
    void UpdateCursor(TPoint p);
    TPoint ToClientOf(const TControl* control, TPoint p) const;

    TShiftState buttons_ = 0;
    TControl* pressed_ = nullptr;  // took the last left press; cleared when it is freed
    TRect invalid_;
    TCursor shown_cursor_ = crDefault;
};

const ComponentClass& TDiagramSurfaceClass();
