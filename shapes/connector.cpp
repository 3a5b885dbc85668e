#include "shapes/connector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/components/control_properties.h"
#include "shapes/text_shape.h"

namespace {

constexpr TColor kLineGreen = 0x008000;
constexpr int kCornerGap = 7;  // an end never comes closer than this to a corner of its shape

bool is_vertical_side(TnoxConnectionSide side) { return side == csTop || side == csBottom; }

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
    if (rect.Right - rect.Left < 0 || rect.Bottom - rect.Top < 0) return;
    if (index == 1) StartMarkRect = rect;
    else if (index == 2) EndMarkRect = rect;
}

void TnoxConnector::SetLineWidth(int width) {
    if (width >= 1) line_width_ = width;
}

TPoint TnoxConnector::ConnectionPoint(const TnoxConnection& connection, const TRect& mark) const {
    const TnoxCustomShape* s = connection.Shape();
    if (!s) return {};
    const int d = mark.Right - mark.Left;
    switch (connection.Side) {
        case csLeft: return {s->Left() - d, s->Top() + connection.Offset()};
        case csRight: return {s->Left() + s->Width() - 1 + d, s->Top() + connection.Offset()};
        case csTop: return {s->Left() + connection.Offset(), s->Top() - d};
        case csBottom: return {s->Left() + connection.Offset(), s->Top() + s->Height() - 1 + d};
    }
    return {};
}

TPoint TnoxConnector::SidePoint(const TnoxConnection& connection) const { return ConnectionPoint(connection, {}); }

void TnoxConnector::ChooseSides(const TnoxCustomShape& s, const TnoxCustomShape& e) {
    TnoxConnectionSide from = csBottom, to = csTop;
    // Only the left edges decide left or right; shapes overlapping horizontally still face each other
    // sideways unless one lies wholly above or below the other.
    if (e.Left() != s.Left()) {
        const bool right = e.Left() > s.Left();
        const bool beside = e.Top() < s.Top() ? s.Top() < e.Top() + e.Height() : e.Top() < s.Top() + s.Height();
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
        c->maxoffset = (is_vertical_side(c->Side) ? shape->Width() : shape->Height()) - kCornerGap;
        c->minoffset = kCornerGap;
    }
}

void TnoxConnector::FitBounds() {
    const TnoxCustomShape* s = start_->Shape();
    const TnoxCustomShape* e = end_->Shape();
    if (!Parent() || !s || !e) return;
    int left = Left(), top = Top(), width = Width(), height = Height();
    switch (start_->Side) {
        case csLeft:
        case csRight:
            left = start_->Side == csLeft ? e->Left() + e->Width() : s->Left() + s->Width();
            width = (start_->Side == csLeft ? s->Left() : e->Left()) - left;
            top = std::min(s->Top(), e->Top());
            height = std::max(s->Top() + s->Height(), e->Top() + e->Height()) - top;
            break;
        case csTop:
        case csBottom:
            left = std::min(s->Left(), e->Left());
            width = std::max(s->Left() + s->Width(), e->Left() + e->Width()) - left;
            top = start_->Side == csTop ? e->Top() + e->Height() : s->Top() + s->Height();
            height = (start_->Side == csTop ? s->Top() : e->Top()) - top;
            break;
    }
    SetBounds(left, top, width, height);
}

TPoint TnoxConnector::GetMidPoint() const {
    const TPoint a = ConnectionPoint(*start_, StartMarkRect), b = ConnectionPoint(*end_, EndMarkRect);
    return {std::min(a.X, b.X) + std::abs(a.X - b.X) / 2, std::min(a.Y, b.Y) + std::abs(a.Y - b.Y) / 2};
}

void TnoxConnector::MoveCaption() {
    tnoxCaption* caption = Caption();
    if (CaptionMode == 1 || !caption) return;
    const TPoint m = GetMidPoint();
    caption->Invalidate();
    if (PrevMidPoint.X == 0) PrevMidPoint.X = m.X;
    if (PrevMidPoint.Y == 0) PrevMidPoint.Y = m.Y;
    caption->UpdateBoundsRect(OffsetRect(caption->BoundsRect(), m.X - PrevMidPoint.X, m.Y - PrevMidPoint.Y));
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
    width = std::max({width, line_width_, RectWidth(StartMarkRect), RectWidth(EndMarkRect)});
    height = std::max({height, line_width_, RectHeight(StartMarkRect), RectHeight(EndMarkRect)});
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
