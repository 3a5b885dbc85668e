#include "shapes/connector.h"

#include <algorithm>
#include <cmath>

#include "platform/components/control_properties.h"
#include "shapes/text_shape.h"

namespace {

constexpr TColor kLineGreen = 0x008000;
constexpr int kCornerGap = 7;  // an end never comes closer than this to a corner of its shape

bool is_vertical_side(TnoxConnectionSide side) { return side == csTop || side == csBottom; }

// Edges computed wide: stored extremes clamp instead of overflowing.
long long left_of(const TControl& c) { return c.Left(); }
long long top_of(const TControl& c) { return c.Top(); }
long long right_of(const TControl& c) { return left_of(c) + c.Width(); }
long long bottom_of(const TControl& c) { return top_of(c) + c.Height(); }

}  // namespace

TnoxConnector::TnoxConnector(TComponent* owner) : TnoxConnector(owner, TnoxConnectorClass()) {}

TnoxConnector::TnoxConnector(TComponent* owner, const ComponentClass& description)
    : TnoxCustomShape(owner, description),
      start_(std::make_unique<TnoxConnection>(this)),
      end_(std::make_unique<TnoxConnection>(this)) {
    AcceptsMouse = true;
}

TnoxConnector::~TnoxConnector() {
    MarkBeingDestroyed();
    start_->SetShape(nullptr);
    end_->SetShape(nullptr);
    start_.reset();
    end_.reset();
}

bool IsAttachedTo(const TnoxConnector& connector, const TnoxCustomShape* shape) {
    const TnoxConnection* start = connector.GetConnection(1);
    const TnoxConnection* end = connector.GetConnection(2);
    return (start && start->Shape() == shape) || (end && end->Shape() == shape);
}

void TnoxConnector::ConnectionShapeChanged(TnoxCustomShape* old_shape, TnoxCustomShape* new_shape) {
    if (old_shape && !IsAttachedTo(*this, old_shape)) old_shape->Attachments().Remove(this);
    if (new_shape) {
        new_shape->Attachments().Add(this);
        new_shape->FreeNotification(this);
    }
}

void TnoxConnector::ShapeRemoved(const TComponent* shape) {
    for (TnoxConnection* c : {start_.get(), end_.get()})
        if (c && c->Shape() == shape) c->SetShape(nullptr);
}

TnoxConnection* TnoxConnector::GetConnection(int index) const {
    if (index == 1) return start_.get();
    if (index == 2) return end_.get();
    return nullptr;
}

void TnoxConnector::SetConnection(int index, const TnoxConnection* connection) {
    if (TnoxConnection* target = GetConnection(index); target && connection) target->Assign(*connection);
    Reroute();
}

void TnoxConnector::Connect(TnoxConnection* start, TnoxConnection* end) {
    SetConnection(1, start);
    SetConnection(2, end);
}

void TnoxConnector::GetMarkRect(int index, TRect& rect) const {
    if (index == 1) rect = StartMarkRect;
    else if (index == 2) rect = EndMarkRect;
}

void TnoxConnector::SetMarkRect(int index, const TRect& rect) {
    if (static_cast<long long>(rect.Right) < rect.Left || static_cast<long long>(rect.Bottom) < rect.Top) return;
    if (index == 1) StartMarkRect = rect;
    else if (index == 2) EndMarkRect = rect;
}

void TnoxConnector::SetLineWidth(int width) {
    if (width >= 1) line_width_ = width;
}

TPoint TnoxConnector::ConnectionPoint(const TnoxConnection& connection, const TRect& mark) const {
    const TnoxCustomShape* s = connection.Shape();
    if (!s) return {};
    const long long d = static_cast<long long>(mark.Right) - mark.Left, offset = connection.Offset();
    long long x = 0, y = 0;
    switch (connection.Side) {
        case csLeft: x = left_of(*s) - d, y = top_of(*s) + offset; break;
        case csRight: x = right_of(*s) - 1 + d, y = top_of(*s) + offset; break;
        case csTop: x = left_of(*s) + offset, y = top_of(*s) - d; break;
        case csBottom: x = left_of(*s) + offset, y = bottom_of(*s) - 1 + d; break;
    }
    return {ClampToInt(x), ClampToInt(y)};
}

TPoint TnoxConnector::SidePoint(const TnoxConnection& connection) const { return ConnectionPoint(connection, {}); }

void TnoxConnector::ChooseSides(const TnoxCustomShape& s, const TnoxCustomShape& e) {
    TnoxConnectionSide from = csBottom, to = csTop;
    // Only the left edges decide left or right; shapes overlapping horizontally still face each other
    // sideways unless one lies wholly above or below the other.
    if (e.Left() != s.Left()) {
        const bool right = e.Left() > s.Left();
        const bool beside = e.Top() < s.Top() ? s.Top() < bottom_of(e) : e.Top() < bottom_of(s);
        if (beside) from = right ? csRight : csLeft, to = right ? csLeft : csRight;
        else if (e.Top() < s.Top()) from = csTop, to = csBottom;
    } else if (e.Top() < s.Top()) {
        from = csTop, to = csBottom;
    }
    start_->Side = from;
    end_->Side = to;
    Vertical = is_vertical_side(from);
    for (TnoxConnection* c : {start_.get(), end_.get()}) {
        const TnoxCustomShape& shape = c == start_.get() ? s : e;
        const long long length = is_vertical_side(c->Side) ? shape.Width() : shape.Height();
        c->SetOffset(RoundToInt(std::trunc(static_cast<long double>(length * c->perc()) / 100)));
    }
    ComputeRoute();
}

void TnoxConnector::Reroute() {
    if (!start_->Shape() || !end_->Shape()) return;
    ChooseSides(*start_->Shape(), *end_->Shape());
    FitBounds();
    // The limits apply from the next routing on.
    for (TnoxConnection* c : {start_.get(), end_.get()}) {
        const TnoxCustomShape* shape = c->Shape();
        if (!shape) continue;
        c->maxoffset = ClampToInt(static_cast<long long>(is_vertical_side(c->Side) ? shape->Width() : shape->Height()) - kCornerGap);
        c->minoffset = kCornerGap;
    }
}

void TnoxConnector::FitBounds() {
    const TnoxCustomShape* s = start_->Shape();
    const TnoxCustomShape* e = end_->Shape();
    if (!Parent() || !s || !e) return;
    long long left = Left(), top = Top(), width = Width(), height = Height();
    switch (start_->Side) {
        case csLeft:
        case csRight:
            left = start_->Side == csLeft ? right_of(*e) : right_of(*s);
            width = (start_->Side == csLeft ? left_of(*s) : left_of(*e)) - left;
            top = std::min(top_of(*s), top_of(*e));
            height = std::max(bottom_of(*s), bottom_of(*e)) - top;
            break;
        case csTop:
        case csBottom:
            left = std::min(left_of(*s), left_of(*e));
            width = std::max(right_of(*s), right_of(*e)) - left;
            top = start_->Side == csTop ? bottom_of(*e) : bottom_of(*s);
            height = (start_->Side == csTop ? top_of(*s) : top_of(*e)) - top;
            break;
    }
    SetBounds(ClampToInt(left), ClampToInt(top), ClampToInt(width), ClampToInt(height));
}

TPoint TnoxConnector::GetMidPoint() const {
    const TPoint a = ConnectionPoint(*start_, StartMarkRect), b = ConnectionPoint(*end_, EndMarkRect);
    auto middle = [](long long p, long long q) { return ClampToInt(std::min(p, q) + (p > q ? p - q : q - p) / 2); };
    return {middle(a.X, b.X), middle(a.Y, b.Y)};
}

void TnoxConnector::MoveCaption() {
    tnoxCaption* caption = Caption();
    if (CaptionMode == 1 || !caption) return;
    const TPoint m = GetMidPoint();
    caption->Invalidate();
    if (PrevMidPoint.X == 0) PrevMidPoint.X = m.X;
    if (PrevMidPoint.Y == 0) PrevMidPoint.Y = m.Y;
    const long long dx = static_cast<long long>(m.X) - PrevMidPoint.X, dy = static_cast<long long>(m.Y) - PrevMidPoint.Y;
    const TRect r = caption->BoundsRect();
    caption->UpdateBoundsRect({ClampToInt(r.Left + dx), ClampToInt(r.Top + dy), ClampToInt(r.Right + dx), ClampToInt(r.Bottom + dy)});
    PrevMidPoint = m;
}

void TnoxConnector::RescaleMidPoint(long double from, long double to) {
    // The scale step gives a formula for Top and one for Left: Y follows the first, X the second.
    PrevMidPoint.Y = RoundToInt(PrevMidPoint.Y / from * to);
    PrevMidPoint.X = RoundToInt(to * (PrevMidPoint.X / from));
    FitBounds();
}

TPoint TnoxConnector::ParentToClient(TPoint p) const {
    const TPoint screen = Parent() ? Parent()->ClientToScreen(p) : p;
    const TPoint client = ScreenToClient(screen);
    return {std::max(client.X, 0), std::max(client.Y, 0)};
}

void TnoxConnector::SetBounds(int left, int top, int width, int height) {
    auto wide = [](int from, int to) { return ClampToInt(static_cast<long long>(to) - from); };
    width = std::max({width, line_width_, wide(StartMarkRect.Left, StartMarkRect.Right), wide(EndMarkRect.Left, EndMarkRect.Right)});
    height = std::max({height, line_width_, wide(StartMarkRect.Top, StartMarkRect.Bottom), wide(EndMarkRect.Top, EndMarkRect.Bottom)});
    TnoxCustomShape::SetBounds(left, top, width, height);
    MoveCaption();
}

void TnoxConnector::Paint() {
    TnoxCustomShape::Paint();
    if (!Parent() || !start_->Shape() || !end_->Shape()) return;
    PaintPrologue1();
    PaintPrologue2();
    TCanvas& canvas = Canvas();
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Pen().SetWidth(line_width_);
    canvas.Pen().SetColor(kLineGreen);
    const TPoint a = ParentToClient(ConnectionPoint(*start_, StartMarkRect));
    const TPoint b = ParentToClient(ConnectionPoint(*end_, EndMarkRect));
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
}

void TnoxConnector::SetCaption(tnoxCaption* caption) {
    TnoxCustomShape::SetCaption(caption);
    MoveCaption();
}

void TnoxConnector::Notification(TComponent* component, TOperation operation) {
    TnoxCustomShape::Notification(component, operation);
    if (operation == TOperation::opRemove) ShapeRemoved(component);
}

// ---------------------------------------------------------------------------------------------
// Published properties

const ComponentClass& TnoxConnectorClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass c("TnoxConnector", &TnoxCustomShapeClass());
        PropertyInfo line_width = integer("LineWidth", 1);
        line_width.get = [](const TPersistent& o) { return std::int64_t{static_cast<const TnoxConnector&>(o).LineWidth()}; };
        line_width.set = [](TPersistent& o, const PropertyValue& v) {
            const std::int64_t w = integer_of(v);
            static_cast<TnoxConnector&>(o).SetLineWidth(w > INT32_MAX ? INT32_MAX : static_cast<int>(std::max<std::int64_t>(w, 0)));
        };
        PropertyInfo line_colour = prop("LineColour", PropertyKind::Color, std::int64_t{0});
        line_colour.get = [](const TPersistent& o) { return std::int64_t{static_cast<const TnoxConnector&>(o).LineColour}; };
        line_colour.set = [](TPersistent& o, const PropertyValue& v) {
            static_cast<TnoxConnector&>(o).LineColour = static_cast<TColor>(integer_of(v));
        };
        auto connection = [](const char* name, int index) {
            PropertyInfo p = prop(name, PropertyKind::Object);
            p.object = [index](const TPersistent& o) -> const TPersistent* {
                return static_cast<const TnoxConnector&>(o).GetConnection(index);
            };
            return p;
        };
        c.published = {line_width, line_colour, connection("StartConn", 1), connection("EndConn", 2)};
        creatable<TnoxConnector>(c);
        return c;
    }();
    return description;
}
