#include "shapes/custom_shape.h"

#include <climits>
#include <cmath>

#include "platform/components/component_list.h"
#include "platform/components/property_builders.h"
#include "shapes/caption_tag.h"
#include "shapes/connector.h"
#include "shapes/text_shape.h"

namespace {

// The module's shape counter: the number of the next candidate name.
int shape_counter = 1;

// Selected shapes of this thread (shapes live on the user-interface thread, as the mouse capture).
thread_local ComponentList selected_shapes;

bool Inside(const TRect& r, int x, int y) { return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom; }

}  // namespace

int NextShapeNumber() { return shape_counter; }

const std::vector<TComponent*>& SelectedShapes() { return selected_shapes.Members(); }

int RoundToInt(long double value) {
    if (!(value > static_cast<long double>(INT_MIN))) return INT_MIN;  // also NaN
    if (value >= static_cast<long double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(std::nearbyint(value));  // the default rounding mode: half to even
}

int ClampToInt(long long value) { return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value); }

TnoxCustomShape::TnoxCustomShape(TComponent* owner) : TnoxCustomShape(owner, TnoxCustomShapeClass()) {}

TnoxCustomShape::TnoxCustomShape(TComponent* owner, const ComponentClass& description)
    : TGraphicControl(owner, description) {
    TakeNextName();
}

TnoxCustomShape::~TnoxCustomShape() { LetGoOfAttachments(); }

void TnoxCustomShape::LetGoOfAttachments() {
    being_destroyed_ = true;
    FreeAttachments();
    onselect = nullptr;
    ondelete = nullptr;
    // Connectors attached from another parent stay; their ends let go of this shape now, while it
    // is still whole, rather than in the free notification once it is half gone.
    while (!attachments_.Empty()) {
        TnoxConnector* connector = attachments_.Members().back();
        connector->ShapeRemoved(this);
        attachments_.Remove(connector);
    }
    selected_shapes.Remove(this);
}

void TnoxCustomShape::TakeNextName() {
    // The owner's own name check ignores letter case; so does this one, or a candidate it let pass
    // ("Shape1" beside "SHAPE1") would then be refused by the owner.
    for (;;) {
        const std::string candidate = "Shape" + std::to_string(shape_counter++);
        if (!Owner() || !Owner()->FindComponent(candidate)) {
            SetName(candidate);
            return;
        }
    }
}

void TnoxCustomShape::FreeAttachments() {
    if (tnoxCaption* caption = caption_) {
        caption_ = nullptr;
        if (!caption->BeingDestroyed()) delete caption;
    }
    if (!Parent()) return;
    // One at a time: freeing a connector may free others (those attached to it).
    for (;;) {
        const std::vector<TnoxConnector*> attached = attachments_.InChildOrder(Parent());
        if (attached.empty()) return;
        delete attached.front();
    }
}

int TnoxCustomShape::Scaled(int value) const {
    return RoundToInt(static_cast<long double>(static_cast<long long>(value) * escala_) / 100);
}

void TnoxCustomShape::SetCaption(tnoxCaption* caption) {
    if (!caption) {
        if (tnoxCaption* old = caption_) {
            caption_ = nullptr;
            delete old;
        }
        return;
    }
    if (caption == static_cast<TControl*>(this)) return;  // a shape cannot be its own caption
    if (caption != caption_) {
        caption_ = caption;
        caption->FreeNotification(this);
        caption->SetParent(Parent());
        caption->SetEscala(escala_);
        if (caption->Left() == 0 && caption->Top() == 0) PositionCaption(2);
    }
    if (caption_) caption_->SetTag(kCaptionTag);
}

void TnoxCustomShape::SetEscala(int percent) {
    if (percent == escala_) return;
    if (percent < 10) percent = 10;
    // A stored design holds positions already at its scale: reading one only takes the value.
    if (Loading()) {
        escala_ = percent;
        return;
    }
    const long double from = static_cast<long double>(escala_) / 100, to = static_cast<long double>(percent) / 100;
    if (Tag() != kCaptionTag) {
        SetTop(RoundToInt(Top() / from * to));
        SetLeft(RoundToInt(to * (Left() / from)));
    }
    RescaleMidPoint(from, to);
    escala_ = percent;
}

void TnoxCustomShape::StoreSelected(bool selected) {
    selected_ = selected;
    if (selected) selected_shapes.Add(this);
    else selected_shapes.Remove(this);
}

void TnoxCustomShape::SetSelected(bool selected) {
    StoreSelected(selected);
    if (Parent()) Invalidate();
    if (caption_) caption_->SetSelected(selected);
}

void TnoxCustomShape::Connect(TnoxConnection*, TnoxConnection*) {}

void TnoxCustomShape::PositionCaption(int mode) {
    if (!caption_) return;
    long long left = Left();
    if (mode == 1) left += static_cast<long long>(Width()) - 1;
    else if (mode == 2) left += (static_cast<long long>(Width()) - caption_->Width()) / 2;
    caption_->SetBounds(ClampToInt(left), ClampToInt(static_cast<long long>(Top()) + Height() + 5), caption_->Width(),
                        caption_->Height());
}

TnoxCustomShape* TnoxCustomShape::ShapeAt(int x, int y) const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    const TPoint p = parent->ScreenToClient(ClientToScreen({x, y}));
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* shape = dynamic_cast<TnoxCustomShape*>(parent->Controls(i));
        if (shape && shape != this && shape->AcceptsMouse && Inside(shape->BoundsRect(), p.X, p.Y)) return shape;
    }
    return nullptr;
}

void TnoxCustomShape::ClearSelection(TWinControl* parent) {
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (auto* shape = dynamic_cast<TnoxCustomShape*>(parent->Controls(i))) shape->SetSelected(false);
}

void TnoxCustomShape::SetParent(TWinControl* parent) {
    TGraphicControl::SetParent(parent);
    if (caption_) caption_->SetParent(parent);
}

void TnoxCustomShape::SetBounds(int left, int top, int width, int height) {
    TGraphicControl::SetBounds(left, top, width, height);
    if (!Parent() || attachments_.Empty()) return;
    for (TnoxConnector* connector : attachments_.InChildOrder(Parent())) connector->Reroute();
}

void TnoxCustomShape::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == static_cast<TComponent*>(caption_)) caption_ = nullptr;
}

void TnoxCustomShape::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (AcceptsMouse) {
        BringToFront();
        SetMouseCapture(true);
        TGraphicControl::MouseDown(button, shift, x, y);
        return;
    }
    TnoxCustomShape* target = ShapeAt(x, y);
    SetMouseCapture(false);
    if (target) {
        SendToBack();
        const TPoint p = target->ScreenToClient(ClientToScreen({x, y}));
        target->MouseDown(button, shift, p.X, p.Y);
        target->ClickPending = true;
    } else if (TWinControl* parent = Parent()) {
        const TPoint p = parent->ScreenToClient(ClientToScreen({x, y}));
        parent->MouseDown(button, shift, p.X, p.Y);
    }
}

void TnoxCustomShape::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!ClickPending) return;
    ClickPending = false;  // first: the click handler may free the shape
    Click();
}

// ---------------------------------------------------------------------------------------------
// Published properties

const ComponentClass& TnoxCustomShapeClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass c("TnoxCustomShape", &TGraphicControlClass());
        PropertyInfo caption = component("Caption");
        caption.get_component = [](const TPersistent& o) -> TComponent* {
            return static_cast<const TnoxCustomShape&>(o).Caption();
        };
        caption.set_component = [](TPersistent& o, TComponent* target) {
            auto* text = dynamic_cast<tnoxCaption*>(target);
            if (target && !text)
                throw EComponentError("Valor inv\xE1lido para a propriedade Caption (" + target->ClassName() + ")");
            static_cast<TnoxCustomShape&>(o).SetCaption(text);
        };
        // No default declared: always stored.
        PropertyInfo escala = prop("Escala", PropertyKind::Integer, std::int64_t{100}, Stored::Always);
        escala.get = [](const TPersistent& o) {
            return std::int64_t{static_cast<const TnoxCustomShape&>(o).Escala()};
        };
        escala.set = [](TPersistent& o, const PropertyValue& v) {
            const std::int64_t percent = integer_of(v);
            static_cast<TnoxCustomShape&>(o).SetEscala(
                percent > INT_MAX ? INT_MAX : percent < INT_MIN ? INT_MIN : static_cast<int>(percent));
        };
        c.published = join(std::vector<PropertyInfo>{caption, escala}, events({"OnClick", "OnDblClick", "ondelete", "onselect"}));
        creatable<TnoxCustomShape>(c);
        return c;
    }();
    return description;
}
