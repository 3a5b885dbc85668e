#include "platform/components/control.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/components/component_list.h"
#include "platform/components/control_properties.h"
#include "platform/formfile/printable.h"

namespace {

// The control that holds the mouse capture. Controls live on the user-interface thread; a thread of
// its own (a test, a second window thread) has its own capture.
thread_local TControl* capture_control = nullptr;

}  // namespace

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner, const ComponentClass& description)
    : TComponent(owner, description), width_(description.create_width), height_(description.create_height),
      font_(std::make_unique<TFont>()) {
    font_->OnChange = [this](TFont&) {
        // A change made by the program (not one that follows the parent) makes the font the
        // control's own.
        if (!following_parent_) parent_font_ = false;
        FontChanged();
        if (auto* self = dynamic_cast<TWinControl*>(this))
            for (int i = 0; i < self->ControlCount(); ++i) self->Controls(i)->ParentFontChanged();
    };
}

namespace {
int saturated_sum(int a, int b) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{a} + b, INT_MIN, INT_MAX));
}
}  // namespace

TRect TControl::BoundsRect() const { return {left_, top_, saturated_sum(left_, width_), saturated_sum(top_, height_)}; }

TControl::~TControl() {
    font_->OnChange = nullptr;
    if (capture_control == this) capture_control = nullptr;
    if (parent_) {
        InvalidateInParent(BoundsRect());
        parent_->RemoveControl(this);
    }
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    for (const TControl* p = parent; p; p = p->parent_)
        if (p == this) throw EComponentError("Um controle n\xE3o pode ter a si mesmo como pai");
    if (parent_) {
        TWinControl* old = parent_;
        InvalidateInParent(BoundsRect());
        old->RemoveControl(this);
        parent_ = nullptr;
        if (align_ != TAlign::alNone) old->Realign();
    }
    parent_ = parent;
    if (!parent_) return;
    parent_->InsertControl(this);
    InvalidateInParent(BoundsRect());
    if (parent_font_) ParentFontChanged();
    if (align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetParentComponent(TComponent* parent) {
    auto* windowed = dynamic_cast<TWinControl*>(parent);
    if (!windowed)
        throw EComponentError("O controle " + Name() + " n\xE3o pode estar dentro de " +
                              (parent ? parent->Name() + " (" + parent->ClassName() + ")" : std::string("nada")));
    SetParent(windowed);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    InvalidateInParent(BoundsRect());
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    InvalidateInParent(BoundsRect());
    if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::UpdateBoundsRect(const TRect& bounds) {
    left_ = bounds.Left;
    top_ = bounds.Top;
    width_ = bounds.Right - bounds.Left;
    height_ = bounds.Bottom - bounds.Top;
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) InvalidateInParent(BoundsRect());
    visible_ = visible;
    if (visible) InvalidateInParent(BoundsRect());
}

void TControl::InvalidateInParent(const TRect& bounds) const {
    if (parent_ && visible_) parent_->InvalidateRect(bounds);
}

void TControl::Invalidate() { InvalidateInParent(BoundsRect()); }

TPoint TControl::ClientOrigin() const {
    TPoint origin{left_, top_};
    if (parent_) {
        const TPoint parent_origin = parent_->ClientOrigin();
        origin = {origin.X + parent_origin.X, origin.Y + parent_origin.Y};
    }
    if (is_windowed_) {
        const TPoint offset = static_cast<const TWinControl*>(this)->ClientOffset();
        origin = {origin.X + offset.X, origin.Y + offset.Y};
    }
    return origin;
}

TPoint TControl::ClientToScreen(TPoint client) const {
    const TPoint origin = ClientOrigin();
    return {client.X + origin.X, client.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint screen) const {
    const TPoint origin = ClientOrigin();
    return {screen.X - origin.X, screen.Y - origin.Y};
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

bool TControl::MouseCapture() const { return capture_control == this; }

void TControl::SetMouseCapture(bool capture) {
    if (capture) capture_control = this;
    else if (capture_control == this) capture_control = nullptr;
}

TControl* TControl::CaptureControl() { return capture_control; }

void TControl::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    TextChanged();
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_) parent_->Realign();
}

void TControl::SetParentFont(bool parent_font) {
    parent_font_ = parent_font;
    if (parent_font_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parent_font_ || !parent_) return;
    following_parent_ = true;
    font_->Assign(parent_->Font());
    following_parent_ = false;
}

void TControl::NameChanged(const std::string& old_name) {
    // A control whose caption still shows its old name follows a rename, unless it is being read from
    // a stored design (itself or its owner).
    if (!ClassType().caption_follows_name || Loading()) return;
    if (const auto* owner = dynamic_cast<const TControl*>(Owner()); owner && owner->Loading()) return;
    if (caption_ == old_name) SetCaption(Name());
}

void TControl::ParentResized(int dx, int dy) {
    if (align_ != TAlign::alNone) return;
    int left = left_, top = top_, width = width_, height = height_;
    if (anchors_ & akRight) {
        if (anchors_ & akLeft) width += dx;
        else left += dx;
    } else if (!(anchors_ & akLeft)) {
        left += dx / 2;
    }
    if (anchors_ & akBottom) {
        if (anchors_ & akTop) height += dy;
        else top += dy;
    } else if (!(anchors_ & akTop)) {
        top += dy / 2;
    }
    SetBounds(left, top, width, height);
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->list_of(this);
    if (list.back() == this) return;
    const auto at = std::find(list.begin(), list.end(), this);
    parent_->ListChangedAt(this, static_cast<std::size_t>(at - list.begin()));
    list.erase(at);
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->list_of(this);
    if (list.front() == this) return;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    parent_->ListChangedAt(this, 0);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::~TGraphicControl() = default;

TCanvas& TGraphicControl::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
    return *canvas_;
}

void TGraphicControl::PaintOn(CanvasDevice& device, TPoint origin, const TRect& device_clip) {
    TCanvas& canvas = Canvas();
    canvas.BindDevice(device, origin, device_clip);
    struct Unbind {
        TCanvas& canvas;
        ~Unbind() { canvas.UnbindDevice(); }
    } unbind{canvas};
    Paint();
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner, const ComponentClass& description) : TControl(owner, description) {
    is_windowed_ = true;
}

TWinControl::~TWinControl() {
    // Owned components go first, in the owner's order, which keeps each removal at the end of a list.
    DestroyComponents();
    while (ControlCount() > 0) delete Controls(ControlCount() - 1);
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EComponentError("\xCDndice de controle fora dos limites (" + std::to_string(index) + ")");
    const auto i = static_cast<std::size_t>(index);
    return i < graphic_.size() ? graphic_[i] : windowed_[i - graphic_.size()];
}

std::vector<TControl*>& TWinControl::list_of(const TControl* control) {
    return control->is_windowed_ ? windowed_ : graphic_;
}

void TWinControl::InsertControl(TControl* control) {
    control->list_position_ = -1;  // a position from an earlier parent means nothing here
    list_of(control).push_back(control);
    if (control->is_windowed_) {
        auto* windowed = static_cast<TWinControl*>(control);
        windowed->tab_position_ = static_cast<int>(tab_list_.size());
        tab_list_.push_back(windowed);
    }
}

void TWinControl::RemoveControl(TControl* control) {
    auto& list = list_of(control);
    for (std::size_t i = list.size(); i-- > 0;)
        if (list[i] == control) {
            ListChangedAt(control, i);
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    if (control->is_windowed_) {
        EraseFromBack(tab_list_, control);
        tab_positions_valid_ = false;
    }
}

void TWinControl::ListChangedAt(const TControl* control, std::size_t index) {
    std::size_t& numbered = control->is_windowed_ ? windowed_numbered_ : graphic_numbered_;
    numbered = std::min(numbered, index);
}

int TWinControl::IndexOfControl(const TControl* control) const {
    if (!control || control->parent_ != this) return -1;
    const auto& list = control->is_windowed_ ? windowed_ : graphic_;
    std::size_t& numbered = control->is_windowed_ ? windowed_numbered_ : graphic_numbered_;
    const auto known = static_cast<std::size_t>(control->list_position_);
    if (control->list_position_ < 0 || known >= numbered || list[known] != control) {
        for (std::size_t i = numbered; i < list.size(); ++i) list[i]->list_position_ = static_cast<int>(i);
        numbered = list.size();
    }
    return control->list_position_ + (control->is_windowed_ ? static_cast<int>(graphic_.size()) : 0);
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    // Positions are numbered once after a change, so that reading every child's tab order (as the
    // writer does) stays linear in the number of children.
    const TWinControl& parent = *Parent();
    if (!parent.tab_positions_valid_) {
        for (std::size_t i = 0; i < parent.tab_list_.size(); ++i) parent.tab_list_[i]->tab_position_ = static_cast<int>(i);
        parent.tab_positions_valid_ = true;
    }
    return tab_position_;
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tab_list_;
    const int count = static_cast<int>(list.size());
    if (order < 0 || order >= count) order = count - 1;  // out of range: last, as the target does
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin() + order, this);
    Parent()->tab_positions_valid_ = false;
}

TSize TWinControl::ClientInsets() const {
    const int inset = ClassType().client_inset;
    return {2 * inset, 2 * inset};
}

int TWinControl::ClientWidth() const { return Width() - ClientInsets().cx; }
int TWinControl::ClientHeight() const { return Height() - ClientInsets().cy; }

TRect TWinControl::AlignRect() const {
    const int inset = ClassType().align_inset;
    return {inset, inset, ClientWidth() - inset, ClientHeight() - inset};
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    const int old_width = ClientWidth(), old_height = ClientHeight();
    TControl::SetBounds(left, top, width, height);
    const int dx = ClientWidth() - old_width, dy = ClientHeight() - old_height;
    if (dx == 0 && dy == 0) return;
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ParentResized(dx, dy);
    Realign();
}

void TWinControl::Realign() {
    if (aligning_) return;
    aligning_ = true;
    TRect rect = AlignRect();
    const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient};
    for (TAlign align : order) {
        std::vector<TControl*> controls;
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c->Align() == align && c->Visible()) controls.push_back(c);
        }
        // Among controls of one alignment, the one nearer the edge comes first.
        std::stable_sort(controls.begin(), controls.end(), [align](const TControl* a, const TControl* b) {
            switch (align) {
                case TAlign::alTop: return a->Top() < b->Top();
                case TAlign::alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
                case TAlign::alLeft: return a->Left() < b->Left();
                case TAlign::alRight: return a->Left() + a->Width() > b->Left() + b->Width();
                default: return false;
            }
        });
        for (TControl* c : controls) {
            const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
            switch (align) {
                case TAlign::alTop:
                    c->SetBounds(rect.Left, rect.Top, w, c->Height());
                    rect.Top += c->Height();
                    break;
                case TAlign::alBottom:
                    c->SetBounds(rect.Left, rect.Bottom - c->Height(), w, c->Height());
                    rect.Bottom -= c->Height();
                    break;
                case TAlign::alLeft:
                    c->SetBounds(rect.Left, rect.Top, c->Width(), h);
                    rect.Left += c->Width();
                    break;
                case TAlign::alRight:
                    c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), h);
                    rect.Right -= c->Width();
                    break;
                default: c->SetBounds(rect.Left, rect.Top, w, h); break;
            }
        }
    }
    aligning_ = false;
}

TPoint TWinControl::ClientOffset() const {
    // The borders left and right are equal; what the height has beyond them is on top (a caption).
    const TSize insets = ClientInsets();
    return {insets.cx / 2, insets.cy - insets.cx / 2};
}

TControl* TWinControl::ControlAtPos(TPoint p) const {
    for (int i = ControlCount() - 1; i >= 0; --i) {
        TControl* c = Controls(i);
        if (c->Visible() && p.X >= c->Left() && p.X < c->Left() + c->Width() && p.Y >= c->Top() &&
            p.Y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

void TWinControl::Invalidate() { InvalidateRect(ClientRect()); }

void TWinControl::InvalidateRect(const TRect& rect) {
    if (!Parent() || !Visible()) return;
    const TRect visible = IntersectRect(rect, ClientRect());
    if (IsRectEmpty(visible)) return;
    const TPoint offset = ClientOffset();
    Parent()->InvalidateRect(OffsetRect(visible, Left() + offset.X, Top() + offset.Y));
}

void TWinControl::PaintControls(TCanvas& canvas) {
    const TRect canvas_clip = canvas.DeviceClipRect();
    const TPoint origin = canvas.Origin();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        const TRect device_bounds = OffsetRect(c->BoundsRect(), origin.X, origin.Y);
        const TRect clip = IntersectRect(device_bounds, canvas_clip);
        if (IsRectEmpty(clip)) continue;
        if (!c->is_windowed_) {
            if (auto* graphic = dynamic_cast<TGraphicControl*>(c))
                graphic->PaintOn(canvas.Device(), {device_bounds.Left, device_bounds.Top}, clip);
            continue;
        }
        auto* windowed = static_cast<TWinControl*>(c);
        const TPoint offset = windowed->ClientOffset();
        const TRect client{c->Left() + offset.X, c->Top() + offset.Y, c->Left() + offset.X + windowed->ClientWidth(),
                           c->Top() + offset.Y + windowed->ClientHeight()};
        TCanvasViewport viewport(canvas, client);
        windowed->PaintWindow(canvas);
        windowed->PaintControls(canvas);
    }
}

void TWinControl::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Owner() == root) children.push_back(c);
    }
}

// ---------------------------------------------------------------------------------------------
// Published properties

namespace {

// Cursor: a stock cursor by name, as stored designs write it.
PropertyInfo cursor_property() {
    PropertyInfo p = props::enumeration("Cursor", "crDefault");
    p.get = [](const TPersistent& o) -> PropertyValue {
        const TCursor cursor = static_cast<const TControl&>(o).Cursor();
        if (auto name = CursorToIdent(cursor)) return Identifier{*name};
        return std::int64_t{cursor};
    };
    p.set = [](TPersistent& o, const PropertyValue& v) {
        auto& control = static_cast<TControl&>(o);
        if (const auto* ident = std::get_if<Identifier>(&v)) {
            const auto cursor = IdentToCursor(ident->name);
            if (!cursor) throw EComponentError("Cursor desconhecido: " + formfile::printable(ident->name));
            control.SetCursor(*cursor);
        } else if (const auto* number = std::get_if<std::int64_t>(&v)) {
            control.SetCursor(static_cast<TCursor>(*number));
        } else {
            throw EComponentError("Valor inv\xE1lido para Cursor");
        }
    };
    return p;
}

}  // namespace

const ComponentClass& TControlClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass c("TControl", &TComponentClass());
        c.published = {bound("Left", 0), bound("Top", 1), bound("Width", 2), bound("Height", 3),
                       cursor_property(), text("Hint")};
        c.caption_follows_name = true;
        return c;
    }();
    return description;
}

const ComponentClass& TGraphicControlClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TGraphicControl", &TControlClass());
        c.caption_follows_name = true;
        return c;
    }();
    return description;
}

const ComponentClass& TWinControlClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TWinControl", &TControlClass());
        c.windowed = true;
        c.caption_follows_name = true;
        c.published = {props::integer("HelpContext", 0)};
        return c;
    }();
    return description;
}
