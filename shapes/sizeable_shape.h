#pragma once

#include <cstdint>

#include "shapes/moveable_shape.h"

// A moveable shape with eight sizing handles inside its corners and edge middles, drawn while it is
// selected: hovering one shows its sizing cursor, a left drag on it resizes the shape, never below
// the minimum size and never past the parent's left or top edge.
class TnoxSizeableShape : public TnoxMoveableShape {
public:
    static constexpr std::uint8_t kNoHandle = 8;

    explicit TnoxSizeableShape(TComponent* owner);
    TnoxSizeableShape(TComponent* owner, const ComponentClass& description);

    // Handle `index` (0..7 clockwise from the top-left corner by rows, see HandleRect's table in
    // docs/shapes.md) in client coordinates; kNoHandle or above: empty.
    TRect HandleRect(int index) const;
    void DrawHandles();
    // Finds the handle under (x, y) and shows its cursor; on an unselected shape finds none.
    void UpdateHandleCursor(int x, int y);
    // Drags the handle being held to (x, y).
    void ResizeTo(int x, int y);

    // Raises left and top to 0 and the size to the minimum.
    void SetBounds(int left, int top, int width, int height) override;
    void Paint() override;
    // Raises onselect when the flag changes; an unchanged flag does nothing.
    void SetSelected(bool selected) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    std::uint8_t HandleIndex = kNoHandle;  // handle under the mouse or being dragged
    TPoint SizeOrigin;                     // reference point of a resize drag, client coordinates
    int HandleHeight = 5;
    int HandleWidth = 5;
    int MinHeight = 5;
    int MinWidth = 5;
};

const ComponentClass& TnoxSizeableShapeClass();
