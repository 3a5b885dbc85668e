#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/components/component.h"
#include "platform/components/cursors.h"
#include "platform/components/mouse.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/graphics/canvas.h"

// Controls: components with a parent, bounds, visibility, caption and font. Windowed controls hold
// child controls (z-ordered, index 0 at the back) and number their windowed children's tab order.
// Controls take mouse input (dispatched by a diagram surface, diagram_surface.h), show a cursor and
// tell their windowed parents which areas need painting again.

class TWinControl;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;  // TAnchorKind bits
inline constexpr TAnchors kDefaultAnchors = akLeft | akTop;

// Measures `text` drawn in `font` (accelerator marks honoured when `show_accel_char`), as a canvas of
// the control's form would.
using TextExtentFunction = std::function<TSize(std::string_view text, const TFont& font, bool show_accel_char)>;

class KZR40_API TControl : public TComponent {
public:
    TControl(TComponent* owner, const ComponentClass& description);
    // Releases the mouse capture if this control holds it, and leaves the parent (invalidating the
    // area it covered).
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    // Moves the control to the end of `parent`'s children (null: no parent). Takes the parent's font
    // while ParentFont is set.
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Invalidates the old and the new area in the parent when the bounds change.
    virtual void SetBounds(int left, int top, int width, int height);
    // Sets the bounds directly: no notification, no realignment, nothing invalidated.
    void UpdateBoundsRect(const TRect& bounds);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Right and bottom are held at the ends of int: a generated form may place a control as wide as an
    // int allows beside another.
    TRect BoundsRect() const;
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    void SetClientHeight(int h) { SetHeight(h + height_ - ClientHeight()); }
    void SetClientWidth(int w) { SetWidth(w + width_ - ClientWidth()); }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors) { anchors_ = anchors; }

    // The control's font; changing it clears ParentFont. While ParentFont is set the control follows
    // its parent's font.
    TFont& Font() { return *font_; }
    const TFont& Font() const { return *font_; }
    bool ParentFont() const { return parent_font_; }
    void SetParentFont(bool parent_font);

    // Z-order among the parent's controls of the same kind (graphic or windowed); the control is
    // invalidated.
    void BringToFront();
    void SendToBack();

    // Screen coordinates: a control without a parent stands at (Left, Top) of the screen; a child's
    // client area is offset by its position in the parent's client area (and a windowed control's
    // borders).
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint client) const;
    TPoint ScreenToClient(TPoint screen) const;

    // Marks the control's area for painting again (in the parent, which passes it on to the
    // surface). Nothing happens without a parent or while hidden.
    virtual void Invalidate();

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    // Mouse input, in client coordinates. The default handlers raise the events; overrides call them
    // to keep the events. `shift` holds the modifier keys and the buttons held (a press includes its
    // own button, a release no longer does).
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // The mouse capture: while a control holds it, every move and the release go to it. One control
    // of the user-interface thread holds it at a time; taking it takes it from any other.
    bool MouseCapture() const;
    void SetMouseCapture(bool capture);
    static TControl* CaptureControl();

    bool HasParent() const override { return true; }
    void SetParentComponent(TComponent* parent) override;
    // Whether Width and Height are stored (a form that does not scroll stores its client size).
    virtual bool StoresOuterSize() const { return true; }

protected:
    void NameChanged(const std::string& old_name) override;
    // Called after the caption or font changed (labels size themselves here).
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    // The parent's client area changed size by (dx, dy): follow the anchors.
    void ParentResized(int dx, int dy);

private:
    friend class TWinControl;
    void ParentFontChanged();
    void InvalidateInParent(const TRect& bounds) const;

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    std::string caption_;
    TAlign align_ = TAlign::alNone;
    TAnchors anchors_ = kDefaultAnchors;
    std::unique_ptr<TFont> font_;
    bool parent_font_ = true;
    bool following_parent_ = false;  // the font is being changed by the parent, not by the program
    bool is_windowed_ = false;       // set by TWinControl; kept so destructors still know the kind
    TCursor cursor_ = crDefault;
    mutable int list_position_ = -1;  // index in the parent's list of its kind, when numbered (IndexOfControl)
};

// A control without a window of its own (labels, data-aware texts, the diagram shapes). It paints on
// its own canvas, whose pen, brush and font stay from one paint to the next; while no paint is under
// way the canvas only measures.
class KZR40_API TGraphicControl : public TControl {
public:
    using TControl::TControl;
    ~TGraphicControl() override;

    TCanvas& Canvas();
    // Draws the control on Canvas(), in client coordinates; the canvas is clipped to the control.
    virtual void Paint() {}

    // Paints the control onto `device` with its client (0, 0) at device pixel `origin`, inside
    // `device_clip`. The canvas measures only again afterwards, also when Paint throws.
    void PaintOn(CanvasDevice& device, TPoint origin, const TRect& device_clip);

private:
    std::unique_ptr<TCanvas> canvas_;  // made on first use: most controls never paint or measure
};

class TWinControl : public TControl {
public:
    TWinControl(TComponent* owner, const ComponentClass& description);
    // Frees every child control, owned or not, as the target library does.
    ~TWinControl() override;

    // Child controls in streaming order: graphic controls first, then windowed ones, each in z-order.
    int ControlCount() const { return static_cast<int>(graphic_.size() + windowed_.size()); }
    TControl* Controls(int index) const;
    // The index of `control` among Controls(), -1 when it is not a child. Constant time while the
    // order stands; after a change the positions from the first changed one onward are numbered
    // again on the next call.
    int IndexOfControl(const TControl* control) const;

    // Position among the windowed siblings in tab order; -1 without a parent.
    int TabOrder() const;
    void SetTabOrder(int order);

    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    // Client area relative to the control, the area aligned children share.
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    // Borders between outer and client size (width: both sides; height: caption and both sides).
    virtual TSize ClientInsets() const;
    // The part of the client area that aligned children share.
    virtual TRect AlignRect() const;

    // Lays the aligned children out again (called on every change that may move them).
    void Realign();

    void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;

    // Where the client area starts inside the control's bounds (its left and top borders).
    TPoint ClientOffset() const;
    // The front-most visible child whose bounds contain `p` (client coordinates; right and bottom
    // edges exclusive), windowed children before graphic ones; null when none does.
    TControl* ControlAtPos(TPoint p) const;

    void Invalidate() override;
    // Marks `rect` (client coordinates) for painting again; a control passes it on to its parent,
    // clipped to its client area, and the diagram surface collects it.
    virtual void InvalidateRect(const TRect& rect);

    // The control's own content under its children, in client coordinates (nothing by default).
    virtual void PaintWindow(TCanvas& canvas) { (void)canvas; }
    // Paints the visible children back to front onto `canvas` (whose logical coordinates are this
    // control's client coordinates), each at its own origin and clipped to its bounds and to the
    // canvas's clip; a windowed child paints its own content and then its children.
    void PaintControls(TCanvas& canvas);

private:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    std::vector<TControl*>& list_of(const TControl* control);

    // Lists the control is in, and the order changed at `index` of it.
    void ListChangedAt(const TControl* control, std::size_t index);

    std::vector<TControl*> graphic_;
    std::vector<TControl*> windowed_;
    // Leading entries of graphic_ and windowed_ whose list_position_ is known to be right.
    mutable std::size_t graphic_numbered_ = 0;
    mutable std::size_t windowed_numbered_ = 0;
    std::vector<TWinControl*> tab_list_;
    mutable bool tab_positions_valid_ = true;  // false once a child left or moved in tab_list_
    mutable int tab_position_ = -1;            // this control's index in its parent's tab_list_
    bool aligning_ = false;
};

// Descriptions of the control classes, for the classes that derive from them.
const ComponentClass& TControlClass();
const ComponentClass& TGraphicControlClass();
const ComponentClass& TWinControlClass();
