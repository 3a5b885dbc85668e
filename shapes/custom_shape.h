#pragma once

#include <string>

#include "platform/components/control.h"
#include "shapes/attached_connectors.h"

// The root of the diagram shapes: a windowless control on a diagram surface with a name of its own
// (Shape1, Shape2, ...), a zoom scale, an optional caption below it, selection, press routing to the
// shape underneath, and the connectors attached to it, which follow when its bounds change and go
// when it goes.

class tnoxCaption;
class TnoxConnection;

class KZR40_API TnoxCustomShape : public TGraphicControl {
public:
    explicit TnoxCustomShape(TComponent* owner);
    TnoxCustomShape(TComponent* owner, const ComponentClass& description);
    // Frees the caption and the connectors on the same parent attached to this shape first.
    ~TnoxCustomShape() override;

    // The attached caption; none frees the current one, another one is placed, scaled and tagged.
    tnoxCaption* Caption() const { return caption_; }
    virtual void SetCaption(tnoxCaption* caption);

    // Zoom in percent, never below 10; changing it moves the shape (not a caption: Tag 999).
    int Escala() const { return escala_; }
    virtual void SetEscala(int percent);
    // `value` at this shape's scale: value * Escala / 100, rounded half to even.
    int Scaled(int value) const;

    bool Selected() const { return selected_; }
    virtual void SetSelected(bool selected);
    // Attaches a connector's ends; shapes that are not connectors ignore it.
    virtual void Connect(TnoxConnection* start, TnoxConnection* end);

    // Places the caption 5 pixels below the shape: 0 left-aligned, 1 at the right edge, 2 centred.
    void PositionCaption(int mode);
    // The other shape under (x, y) (this shape's client coordinates) that takes presses, scanning the
    // parent's children from the back; inclusive edges.
    TnoxCustomShape* ShapeAt(int x, int y) const;
    // Deselects every shape on `parent`, in child order.
    static void ClearSelection(TWinControl* parent);

    void SetParent(TWinControl* parent) override;
    // Reroutes the connectors on the same parent attached to this shape, in child order.
    void SetBounds(int left, int top, int width, int height) override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    bool AcceptsMouse = true;  // false: presses go on to the shape underneath, or the parent
    bool ClickPending = false; // a press was handed to this shape: click on the next release
    int CaptionMode = 0;       // 1: a connector leaves its caption where it is
    TNotifyEvent ondelete;     // kept for the diagram's code; raised by nothing here
    TNotifyEvent onselect;     // raised by sizeable shapes when Selected changes

    // The connectors whose start or end is this shape (kept by the connectors).
    AttachedConnectors& Attachments() { return attachments_; }

protected:
    // What a change of scale rescales besides the position, from one zoom factor to another (both
    // Escala / 100); a shape with no geometry of its own beyond its bounds has nothing to do.
    virtual void RescaleMidPoint(long double /*from*/, long double /*to*/) {}
    // Sets the flag without anything else (the resize press of a sizeable shape).
    void StoreSelected(bool selected);
    void MarkBeingDestroyed() { being_destroyed_ = true; }
    // What destruction does first: frees the caption and the attached connectors on the same parent
    // and lets go of the others. A derived class whose connectors still read its own members calls it
    // at the start of its destructor; a second call finds nothing left to do.
    void LetGoOfAttachments();

public:
    // Set once destruction has begun, so that a cascade never frees this shape a second time.
    bool BeingDestroyed() const { return being_destroyed_; }

private:
    void TakeNextName();
    void FreeAttachments();

    tnoxCaption* caption_ = nullptr;
    int escala_ = 100;
    bool selected_ = false;
    bool being_destroyed_ = false;
    AttachedConnectors attachments_;
};

// The number the next shape's name starts from (the module's shape counter; 1 when the program
// starts). Names an owner already has are skipped, and numbers are never reused.
int NextShapeNumber();

// The shapes of the calling (user-interface) thread that are selected, in no particular order; kept
// so that a group move need not scan every child of the surface.
const std::vector<TComponent*>& SelectedShapes();

// Rounds half to even and saturates at the limits of int.
int RoundToInt(long double value);
// Saturates at the limits of int: geometry is computed wide, so that stored or dragged extremes clamp
// instead of overflowing.
int ClampToInt(long long value);

const ComponentClass& TnoxCustomShapeClass();
