#include "shapes/sizeable_shape.h"

#include "platform/components/property_builders.h"

namespace {

constexpr TCursor kHandleCursors[] = {crSizeNWSE, crSizeNS, crSizeNESW, crSizeWE, crSizeWE,
                                      crSizeNESW, crSizeNS, crSizeNWSE, crDefault};

}  // namespace

TnoxSizeableShape::TnoxSizeableShape(TComponent* owner) : TnoxSizeableShape(owner, TnoxSizeableShapeClass()) {}

TnoxSizeableShape::TnoxSizeableShape(TComponent* owner, const ComponentClass& description)
    : TnoxMoveableShape(owner, description) {}

TRect TnoxSizeableShape::HandleRect(int index) const {
    const int w = HandleWidth, h = HandleHeight, width = Width(), height = Height();
    const int middle_x = width / 2 - w / 2, middle_y = height / 2 - h / 2;
    int left = 0, top = 0;
    switch (index) {
        case 0: left = 0, top = 0; break;
        case 1: left = middle_x, top = 0; break;
        case 2: left = width - w, top = 0; break;
        case 3: left = 0, top = middle_y; break;
        case 4: left = width - w, top = middle_y; break;
        case 5: left = 0, top = height - h; break;
        case 6: left = middle_x, top = height - h; break;
        case 7: left = width - w, top = height - h; break;
        default: return {};
    }
    return {left, top, left + w, top + h};
}

void TnoxSizeableShape::DrawHandles() {
    if (!Selected()) return;
    TCanvas& canvas = Canvas();
    // The brush comes back whatever happens while filling.
    struct RestoreBrush {
        TCanvas& canvas;
        TBrush saved;
        ~RestoreBrush() { canvas.Brush() = saved; }
    } restore{canvas, canvas.Brush()};
    canvas.Brush().SetColor(clBlack);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Pen().SetColor(clBlack);
    for (int i = 0; i < kNoHandle; ++i) canvas.FillRect(HandleRect(i));
}

void TnoxSizeableShape::UpdateHandleCursor(int x, int y) {
    HandleIndex = kNoHandle;
    if (!Selected()) return;
    for (int i = 0; i < kNoHandle; ++i) {
        const TRect r = HandleRect(i);
        if (r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom) {
            HandleIndex = static_cast<std::uint8_t>(i);
            break;
        }
    }
    SetCursor(kHandleCursors[HandleIndex]);
}

void TnoxSizeableShape::ResizeTo(int x, int y) {
    const long long dx = static_cast<long long>(x) - SizeOrigin.X, dy = static_cast<long long>(y) - SizeOrigin.Y;
    long long l = Left(), t = Top(), w = Width(), h = Height();
    // Left and top drags keep SizeOrigin (the shape's origin moves with the edge); right and bottom
    // drags move it to the mouse.
    auto left_step = [&] {
        if (l + dx >= 0 && w - dx > MinWidth) l += dx, w -= dx;
    };
    auto top_step = [&] {
        if (t + dy >= 0 && h - dy > MinHeight) t += dy, h -= dy;
    };
    switch (HandleIndex) {
        case 0: left_step(), top_step(); break;
        case 1: top_step(); break;
        case 2: w += dx, top_step(), SizeOrigin.X = x; break;
        case 3: left_step(); break;
        case 4: w += dx, SizeOrigin.X = x; break;
        case 5: left_step(), h += dy, SizeOrigin.Y = y; break;
        case 6: h += dy, SizeOrigin = {x, y}; break;
        case 7: w += dx, h += dy, SizeOrigin = {x, y}; break;
        default: break;
    }
    SetBounds(ClampToInt(l), ClampToInt(t), ClampToInt(w), ClampToInt(h));
}

void TnoxSizeableShape::SetBounds(int left, int top, int width, int height) {
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (width < MinWidth) width = MinWidth;
    if (height < MinHeight) height = MinHeight;
    TnoxMoveableShape::SetBounds(left, top, width, height);
}

void TnoxSizeableShape::Paint() {
    TnoxMoveableShape::Paint();
    if (Parent()) DrawHandles();
}

void TnoxSizeableShape::SetSelected(bool selected) {
    if (selected == Selected()) return;
    TnoxMoveableShape::SetSelected(selected);
    Invalidate();
    if (onselect) onselect(this);
}

void TnoxSizeableShape::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (HandleIndex == kNoHandle || button != TMouseButton::mbLeft || (shift & ssShift)) {
        HandleIndex = kNoHandle;
        TnoxMoveableShape::MouseDown(button, shift, x, y);
        return;
    }
    ClearSelection(Parent());
    BringToFront();
    StoreSelected(true);
    SizeOrigin = {x, y};
}

void TnoxSizeableShape::MouseMove(TShiftState shift, int x, int y) {
    if (Moving) TnoxMoveableShape::MouseMove(shift, x, y);
    else if (HandleIndex != kNoHandle && (shift & ssLeft)) ResizeTo(x, y);
    else UpdateHandleCursor(x, y);
}

void TnoxSizeableShape::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft) HandleIndex = kNoHandle;
    TnoxMoveableShape::MouseUp(button, shift, x, y);
}

const ComponentClass& TnoxSizeableShapeClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TnoxSizeableShape", &TnoxMoveableShapeClass());
        props::creatable<TnoxSizeableShape>(c);
        return c;
    }();
    return description;
}
