#pragma once

#include "shapes/custom_shape.h"

// A shape the user drags with the left button: alone, or with every other selected shape on the same
// parent, never out of the parent's client area.
class KZR40_API TnoxMoveableShape : public TnoxCustomShape {
public:
    explicit TnoxMoveableShape(TComponent* owner);
    TnoxMoveableShape(TComponent* owner, const ComponentClass& description);

    // Selects the shape and starts a move grabbed at (x, y), client coordinates.
    void BeginMove(int x, int y);
    // Moves every selected moveable shape on the parent by (dx, dy), or none if any would leave it.
    void MoveSelection(int dx, int dy);
    virtual void EndMove();

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    TPoint MoveOrigin;  // the grab point, client coordinates; (0, 0) while idle
    bool Moving = false;
};

// Whether `shape` may move by (dx, dy): always when it has no parent or is not selected, else only
// if it stays inside the parent's client area.
bool CanMoveBy(const TnoxCustomShape& shape, int dx, int dy);
void MoveBy(TControl& control, int dx, int dy);

const ComponentClass& TnoxMoveableShapeClass();
