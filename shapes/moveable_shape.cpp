#include "shapes/moveable_shape.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/components/property_builders.h"

TnoxMoveableShape::TnoxMoveableShape(TComponent* owner) : TnoxMoveableShape(owner, TnoxMoveableShapeClass()) {}

TnoxMoveableShape::TnoxMoveableShape(TComponent* owner, const ComponentClass& description)
    : TnoxCustomShape(owner, description) {}

bool CanMoveBy(const TnoxCustomShape& shape, int dx, int dy) {
    const TWinControl* parent = shape.Parent();
    if (!parent || !shape.Selected()) return true;
    const int w = parent->ClientWidth(), h = parent->ClientHeight();
    const long long left = static_cast<long long>(shape.Left()) + dx, top = static_cast<long long>(shape.Top()) + dy;
    return left >= 0 && top >= 0 && left + shape.Width() - 1 < w && top + shape.Height() - 1 < h;
}

void MoveBy(TControl& control, int dx, int dy) {
    control.SetBounds(ClampToInt(static_cast<long long>(control.Left()) + dx),
                      ClampToInt(static_cast<long long>(control.Top()) + dy), control.Width(), control.Height());
}

void TnoxMoveableShape::BeginMove(int x, int y) {
    SetSelected(true);
    Moving = true;
    MoveOrigin = {x, y};
}

void TnoxMoveableShape::MoveSelection(int dx, int dy) {
    TWinControl* parent = Parent();
    if (!parent) return;
    // Only selected shapes can refuse a move, and only they move: the selection list stands in for
    // the two passes over every child, in the same child order.
    std::vector<std::pair<int, TnoxMoveableShape*>> moving;
    for (TComponent* c : SelectedShapes()) {
        auto* shape = dynamic_cast<TnoxMoveableShape*>(c);
        if (shape && shape->Parent() == parent) moving.emplace_back(parent->IndexOfControl(shape), shape);
    }
    std::sort(moving.begin(), moving.end());
    for (const auto& entry : moving)
        if (!CanMoveBy(*entry.second, dx, dy)) return;
    for (const auto& entry : moving)
        if (entry.second->Selected()) MoveBy(*entry.second, dx, dy);
}

void TnoxMoveableShape::EndMove() {
    Moving = false;
    MoveOrigin = {0, 0};
    if (Parent()) Parent()->Invalidate();
}

void TnoxMoveableShape::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TnoxCustomShape::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    if (!(shift & ssShift)) ClearSelection(Parent());
    BeginMove(x, y);
}

void TnoxMoveableShape::MouseMove(TShiftState shift, int x, int y) {
    TnoxCustomShape::MouseMove(shift, x, y);
    if (!(shift & ssLeft)) Moving = false;
    else if (Moving)
        MoveSelection(ClampToInt(static_cast<long long>(x) - MoveOrigin.X), ClampToInt(static_cast<long long>(y) - MoveOrigin.Y));
}

void TnoxMoveableShape::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TnoxCustomShape::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    EndMove();
    TWinControl* parent = Parent();
    if (!parent) return;
    // A shape dropped over a smaller one must not hide it.
    const TRect bounds = BoundsRect();
    auto inside = [&](int x, int y) { return bounds.Left <= x && x <= bounds.Right && bounds.Top <= y && y <= bounds.Bottom; };
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* shape = dynamic_cast<TnoxCustomShape*>(parent->Controls(i));
        if (!shape || shape == this || !shape->AcceptsMouse) continue;
        const TRect r = shape->BoundsRect();
        if (inside(r.Left, r.Top) && inside(r.Right, r.Bottom)) {
            shape->BringToFront();
            return;
        }
    }
}

const ComponentClass& TnoxMoveableShapeClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TnoxMoveableShape", &TnoxCustomShapeClass());
        props::creatable<TnoxMoveableShape>(c);
        return c;
    }();
    return description;
}
