#include "model/relacionamento.h"

#include <algorithm>
#include <cmath>

#include "model/foreign_keys.h"
#include "platform/components/property_builders.h"
#include "platform/graphics.h"
#include "platform/identifier.h"
#include "plugin/enum_names.h"
#include "shapes/text_shape.h"
#include "platform/formfile/printable.h"

namespace {

constexpr int kGrabMargin = 2;   // a segment can be grabbed this far to either side of it
constexpr int kEdgeMargin = 7;   // moves closer than this to the box's edges are ignored
// The marks at the end entity, in pixels at 100 %, measured from the end point along the line
// (out) or across it.
constexpr int kCircleOut = 8;    // the circle's centre; also where the bar and the foot are measured from
constexpr int kCircleRadius = 4;
constexpr int kBarBack = 3;      // the bar and the foot's apex lie this far back from the centre
constexpr int kBarHalf = 6;      // the bar reaches this far to each side of the line
constexpr int kFootHalf = 4;     // the foot spreads this far to each side at the entity's edge
// A self-relationship's loop: how far it reaches out of the box, at 100 %.
constexpr int kLoopMin = 12;
constexpr int kLoopSpan = 60;
constexpr int kCornerGap = 7;    // as every connector: an end stays this far from its box's corners

TPoint point(long long x, long long y) { return {ClampToInt(x), ClampToInt(y)}; }
TRect rect(long long left, long long top, long long right, long long bottom) {
    return {ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)};
}
// The bounding rectangle of a segment, grown by the grab margin.
TRect grab_area(TPoint a, TPoint b) {
    return rect(static_cast<long long>(std::min(a.X, b.X)) - kGrabMargin, static_cast<long long>(std::min(a.Y, b.Y)) - kGrabMargin,
                static_cast<long long>(std::max(a.X, b.X)) + kGrabMargin, static_cast<long long>(std::max(a.Y, b.Y)) + kGrabMargin);
}
bool contains(const TRect& r, int x, int y) { return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom; }

// Tells whether a component was freed while it ran code that may free it (an event handler).
class FreeWatch : public TComponent {
public:
    explicit FreeWatch(TComponent& watched) : TComponent(nullptr, TComponentClass()), watched_(&watched) {
        watched.FreeNotification(this);
    }
    ~FreeWatch() override {
        if (watched_) watched_->RemoveFreeNotification(this);
    }
    bool Freed() const { return watched_ == nullptr; }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == watched_) watched_ = nullptr;
    }

private:
    TComponent* watched_;
};

}  // namespace

TRelacionamento::TRelacionamento(TComponent* owner) : TRelacionamento(owner, TRelacionamentoClass()) {}

TRelacionamento::TRelacionamento(TComponent* owner, const ComponentClass& description)
    : TnoxConnector(owner, description), descricao_(std::make_unique<StringList>()) {
    // The box is at least 1 x 1, and the midpoint lies one pixel outside each entity.
    SetMarkRect(1, {0, 0, 1, 1});
    SetMarkRect(2, {0, 0, 1, 1});
}

TRelacionamento::~TRelacionamento() {
    auto* start = dynamic_cast<TEntidade*>(GetConnection(1)->Shape());
    auto* end = dynamic_cast<TEntidade*>(GetConnection(2)->Shape());
    if (start && end) RemoverEstrangeiras(*end, *start, Name());
}

void TRelacionamento::SetDescricao(std::unique_ptr<StringList> lista) {
    descricao_ = lista ? std::move(lista) : std::make_unique<StringList>();
}

void TRelacionamento::SetRelacao(trelacao valor) {
    if (valor == relacao_) return;
    relacao_ = valor;
    Invalidate();
}

void TRelacionamento::SetChave(tchave valor) { chave_ = valor; }

void TRelacionamento::Setmeioperc(int valor) { meioperc_ = std::clamp(valor, 0, 100); }

void TRelacionamento::Connect(TnoxConnection* start, TnoxConnection* end) {
    TnoxConnector::Connect(start, end);
    ComputeRoute();
}

bool TRelacionamento::IsLoop() const {
    const TnoxCustomShape* start = GetConnection(1)->Shape();
    return start && start == GetConnection(2)->Shape();
}

long long TRelacionamento::LoopReach() const {
    return Scaled(kLoopMin + static_cast<int>(static_cast<long long>(meioperc_) * kLoopSpan / 100));
}

void TRelacionamento::Reroute() {
    if (!IsLoop()) {
        TnoxConnector::Reroute();
        return;
    }
    TnoxConnection& start = *GetConnection(1);
    TnoxConnection& end = *GetConnection(2);
    const TnoxCustomShape& shape = *start.Shape();
    start.Side = csRight;
    end.Side = csBottom;
    Vertical = false;
    VerticalRoute = false;
    start.SetOffset(RoundToInt(std::trunc(static_cast<long double>(static_cast<long long>(shape.Height()) * start.perc()) / 100)));
    end.SetOffset(RoundToInt(std::trunc(static_cast<long double>(static_cast<long long>(shape.Width()) * end.perc()) / 100)));
    FitLoopBounds();
    start.maxoffset = ClampToInt(static_cast<long long>(shape.Height()) - kCornerGap);
    end.maxoffset = ClampToInt(static_cast<long long>(shape.Width()) - kCornerGap);
    start.minoffset = end.minoffset = kCornerGap;
}

// The box holds the loop at any offset of its ends, so that dragging an end never moves it (and the
// pointer's client coordinates stay put); the reach only widens it to the right and down.
void TRelacionamento::FitLoopBounds() {
    const TnoxCustomShape* shape = GetConnection(1)->Shape();
    if (!Parent() || !shape) return;
    const long long pad = Scaled(kCircleOut + kCircleRadius) + kGrabMargin + 1, reach = LoopReach();
    const long long left = static_cast<long long>(shape->Left()) - pad, top = static_cast<long long>(shape->Top()) - pad;
    const long long right = static_cast<long long>(shape->Left()) + shape->Width() + reach + pad;
    const long long bottom = static_cast<long long>(shape->Top()) + shape->Height() + reach + pad;
    SetBounds(ClampToInt(left), ClampToInt(top), ClampToInt(right - left), ClampToInt(bottom - top));
    ComputeLoop();
}

void TRelacionamento::RescaleMidPoint(long double from, long double to) {
    TnoxConnector::RescaleMidPoint(from, to);
    if (IsLoop()) FitLoopBounds();
}

TPoint TRelacionamento::GetMidPoint() const {
    if (!IsLoop()) return TnoxConnector::GetMidPoint();
    // The loop's outer corner, in the parent's coordinates.
    return {ClampToInt(static_cast<long long>(Left()) + loop_[2].X), ClampToInt(static_cast<long long>(Top()) + loop_[2].Y)};
}

void TRelacionamento::ComputeLoop() {
    const TPoint p = ParentToClient(SidePoint(*GetConnection(1)));
    const TPoint q = ParentToClient(SidePoint(*GetConnection(2)));
    const long long reach = LoopReach();
    const TPoint corner = point(p.X + reach, q.Y + reach);
    loop_ = {p, TPoint{corner.X, p.Y}, corner, TPoint{q.X, corner.Y}, q};
    route_ = {p, loop_[1], loop_[3], q};
    // The mark below the bottom side, as at the end of a line that comes up from below.
    const long long out = Scaled(kCircleOut), back = Scaled(kBarBack), bar = Scaled(kBarHalf), foot = Scaled(kFootHalf);
    const long long cx = q.X, cy = static_cast<long long>(q.Y) + out;
    mark_centre_ = point(cx, cy);
    marks_ = {point(cx - bar, cy - back), point(cx + bar, cy - back), point(cx + foot, q.Y), point(cx, cy - back), point(cx - foot, q.Y)};
    start_hit_ = grab_area(loop_[0], loop_[1]);
    middle_hit_ = grab_area(loop_[1], loop_[2]);
    loop_bottom_hit_ = grab_area(loop_[2], loop_[3]);
    end_hit_ = grab_area(loop_[3], loop_[4]);
}

bool TRelacionamento::StepLoopEnd(TnoxConnection& end, long long step, int side_length) {
    const long long moved = static_cast<long long>(end.Offset()) + step;
    const bool taken = moved <= end.maxoffset && moved >= end.minoffset;
    if (!taken) return false;
    end.SetOffset(ClampToInt(moved));
    const double per_cent = static_cast<double>(side_length) / 100;
    if (per_cent > 0) end.SetPerc(RoundToInt(std::trunc(std::clamp(end.Offset() / static_cast<long double>(per_cent), -1.0L, 101.0L))));
    return true;
}

void TRelacionamento::ComputeRoute() {
    if (!Parent()) return;
    if (IsLoop()) {
        ComputeLoop();
        return;
    }
    const TnoxConnectionSide side = GetConnection(1)->Side;
    const TPoint p = ParentToClient(SidePoint(*GetConnection(1)));
    const TPoint q = ParentToClient(SidePoint(*GetConnection(2)));
    VerticalRoute = side == csTop || side == csBottom;
    // The middle segment at meioperc percent of the larger coordinate: both are at least 0, and one of
    // them lies on the box's near edge.
    const int middle = static_cast<int>(static_cast<long long>(VerticalRoute ? std::max(p.Y, q.Y) : std::max(p.X, q.X)) * meioperc_ / 100);
    route_ = VerticalRoute ? std::array<TPoint, 4>{p, TPoint{p.X, middle}, TPoint{q.X, middle}, q}
                           : std::array<TPoint, 4>{p, TPoint{middle, p.Y}, TPoint{middle, q.Y}, q};

    const long long out = Scaled(kCircleOut), back = Scaled(kBarBack), bar = Scaled(kBarHalf), foot = Scaled(kFootHalf);
    const long long qx = q.X, qy = q.Y;
    switch (side) {
        case csTop: {
            const long long cx = qx, cy = qy + out;
            mark_centre_ = point(cx, cy);
            marks_ = {point(cx - bar, cy - back), point(cx + bar, cy - back), point(cx + foot, qy), point(cx, cy - back), point(cx - foot, qy)};
            break;
        }
        case csBottom: {
            const long long cx = qx, cy = qy - out;
            mark_centre_ = point(cx, cy);
            marks_ = {point(cx + bar, cy + back), point(cx - bar, cy + back), point(cx - foot, qy), point(cx, cy + back), point(cx + foot, qy)};
            break;
        }
        case csLeft: {
            const long long cx = qx + out, cy = qy;
            mark_centre_ = point(cx, cy);
            marks_ = {point(cx - back, cy + bar), point(cx - back, cy - bar), point(qx, qy - foot), point(cx - back, cy), point(qx, qy + foot)};
            break;
        }
        default: {
            const long long cx = qx - out, cy = qy;
            mark_centre_ = point(cx, cy);
            marks_ = {point(cx + back, cy - bar), point(cx + back, cy + bar), point(qx, qy + foot), point(cx + back, cy), point(qx, qy - foot)};
            break;
        }
    }

    const TPoint p1 = route_[1], p2 = route_[2];
    const long long m = kGrabMargin;
    switch (side) {
        case csTop:
            start_hit_ = rect(static_cast<long long>(std::min(p.X, p1.X)) - m, middle, static_cast<long long>(std::max(p.X, p1.X)) + m, p.Y);
            end_hit_ = rect(qx - m, qy, p2.X + m, middle);
            break;
        case csBottom:
            start_hit_ = rect(p.X - m, p.Y, p1.X + m, middle);
            end_hit_ = rect(p2.X - m, std::min(middle, q.Y), qx + m, std::max(middle, q.Y));
            break;
        case csLeft:
            start_hit_ = rect(middle, p.Y - m, p.X, p.Y + m);
            end_hit_ = rect(qx, qy - m, middle, qy + m);
            break;
        default:
            start_hit_ = rect(p.X, p.Y - m, middle, p.Y + m);
            end_hit_ = rect(middle, qy - m, qx, qy + m);
            break;
    }
    middle_hit_ = grab_area(p1, p2);
}

TRect TRelacionamento::HitRect(int segment) const {
    switch (segment) {
        case kStartSegment: return start_hit_;
        case kMiddleSegment: return middle_hit_;
        case kEndSegment: return end_hit_;
        default: return {};
    }
}

int TRelacionamento::HitSegment(int x, int y) const {
    if (contains(start_hit_, x, y)) return kStartSegment;
    if (contains(middle_hit_, x, y)) return kMiddleSegment;
    if (IsLoop() && contains(loop_bottom_hit_, x, y)) return kMiddleSegment;
    if (contains(end_hit_, x, y)) return kEndSegment;
    return kNoSegment;
}

bool TRelacionamento::StepEnd(TnoxConnection& end, int dx, int dy, int first_point) {
    const TnoxCustomShape* shape = end.Shape();
    if (!shape) return false;  // a detached end has no side to move along
    long long step = VerticalRoute ? dx : dy;
    const long long moved = static_cast<long long>(end.Offset()) + step;
    const bool taken = moved <= end.maxoffset && moved >= end.minoffset;
    if (!taken) step = 0;
    end.SetOffset(ClampToInt(end.Offset() + step));
    // perc as the share of the side's length; a side of no length keeps the percentage it had.
    const double per_cent = static_cast<double>(VerticalRoute ? shape->Width() : shape->Height()) / 100;
    if (per_cent > 0) end.SetPerc(RoundToInt(std::trunc(std::clamp(end.Offset() / static_cast<long double>(per_cent), -1.0L, 101.0L))));
    for (int i = first_point; i <= first_point + 1; ++i) {
        TPoint& p = route_[static_cast<std::size_t>(i)];
        if (VerticalRoute) p.X = ClampToInt(p.X + step);
        else p.Y = ClampToInt(p.Y + step);
    }
    return taken;
}

void TRelacionamento::DragSegment(int dx, int dy, int x, int y) {
    if (IsLoop()) {
        const TnoxCustomShape& shape = *GetConnection(1)->Shape();
        switch (DragPart) {
            case kStartSegment: StepLoopEnd(*GetConnection(1), dy, shape.Height()); break;
            case kEndSegment:
                if (!StepLoopEnd(*GetConnection(2), dx, shape.Width())) DragPart = kNoSegment;
                break;
            case kMiddleSegment: {
                // The reach follows the pointer: from the right side across, or from the bottom down.
                const long long reach = loop_drag_bottom_ ? static_cast<long long>(y) - loop_[4].Y : static_cast<long long>(x) - loop_[0].X;
                const long long unscaled = std::max<long long>(Scaled(100), 1);
                const long long at_100 = reach * 100 / unscaled;
                Setmeioperc(static_cast<int>(std::clamp<long long>((at_100 - kLoopMin) * 100 / kLoopSpan, 0, 100)));
                Invalidate();
                FitLoopBounds();
                break;
            }
            default: break;
        }
        ComputeLoop();
        Invalidate();
        return;
    }
    switch (DragPart) {
        case kStartSegment:
            StepEnd(*GetConnection(1), dx, dy, 0);
            break;
        case kEndSegment:
            if (!StepEnd(*GetConnection(2), dx, dy, 2)) DragPart = kNoSegment;
            break;
        case kMiddleSegment: {
            const int at = VerticalRoute ? y : x;
            const int length = VerticalRoute ? Height() : Width();
            if (at < kEdgeMargin || at > static_cast<long long>(length) - kEdgeMargin) break;
            for (int i = 1; i <= 2; ++i) (VerticalRoute ? route_[static_cast<std::size_t>(i)].Y : route_[static_cast<std::size_t>(i)].X) = at;
            const double per_cent = static_cast<double>(length) / 100;
            Setmeioperc(static_cast<int>(std::trunc(at / static_cast<long double>(per_cent) + 0.5L)));
            break;
        }
        default:
            break;
    }
    Invalidate();
    RebuildHitRects();
}

void TRelacionamento::RebuildHitRects() {
    start_hit_ = grab_area(route_[0], route_[1]);
    middle_hit_ = grab_area(route_[1], route_[2]);
    end_hit_ = grab_area(route_[2], route_[3]);
}

void TRelacionamento::Paint() {
    // An end without an entity has nowhere to run to: nothing is drawn, as for any connector.
    if (!Parent() || !GetConnection(1)->Shape() || !GetConnection(2)->Shape()) return;
    ComputeRoute();
    TCanvas& canvas = Canvas();
    canvas.Pen().SetColor(Selected() ? clRed : LineColour);
    if (IsLoop()) {
        canvas.MoveTo(loop_[0].X, loop_[0].Y);
        for (std::size_t i = 1; i < loop_.size(); ++i) canvas.LineTo(loop_[i].X, loop_[i].Y);
    } else {
        canvas.MoveTo(route_[0].X, route_[0].Y);
        for (std::size_t i = 1; i < route_.size(); ++i) canvas.LineTo(route_[i].X, route_[i].Y);
    }

    const auto line = [&](int from, int to) {
        canvas.MoveTo(marks_[static_cast<std::size_t>(from)].X, marks_[static_cast<std::size_t>(from)].Y);
        canvas.LineTo(marks_[static_cast<std::size_t>(to)].X, marks_[static_cast<std::size_t>(to)].Y);
    };
    const auto bar = [&] { line(kBarStart, kBarEnd); };
    const auto foot = [&] {
        line(kFootFirst, kFootApex);
        canvas.LineTo(marks_[kFootLast].X, marks_[kFootLast].Y);
    };
    const auto circle = [&] {
        const long long r = Scaled(kCircleRadius), cx = mark_centre_.X, cy = mark_centre_.Y;
        canvas.Ellipse(rect(cx - r, cy - r, cx + r, cy + r));
    };
    switch (relacao_) {
        case trelacao::tr1x1: bar(); break;
        case trelacao::tr1xn: bar(), foot(); break;
        case trelacao::tr0x1: circle(); break;
        case trelacao::tr0xn: circle(), foot(); break;
    }
}

void TRelacionamento::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TWinControl* parent = Parent();
    if (!parent) return;
    if (button != TMouseButton::mbLeft) {
        DragPart = kNoSegment;
        return;
    }
    DragPart = static_cast<std::uint8_t>(HitSegment(x, y));
    loop_drag_bottom_ = IsLoop() && DragPart == kMiddleSegment && !contains(middle_hit_, x, y);
    if (DragPart != kNoSegment) {
        ClearSelection(parent);
        SetSelected(true);
        Invalidate();
        DragOrigin = {x, y};
        TnoxConnector::MouseDown(button, shift, x, y);
        return;
    }
    // Off the line: the press belongs to a relationship whose line is under it, or else to the surface.
    // A relationship that does not take presses hands this one back through the shape under the point;
    // taking it again would go round for ever.
    if (handing_on_) return;
    ClearSelection(parent);
    SetSelected(false);
    const TPoint screen = ClientToScreen({x, y});
    const FreeWatch watch(*this);  // the handlers that run next may free this relationship
    bool handed_on = false;
    handing_on_ = true;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TRelacionamento*>(parent->Controls(i));
        if (!other || other == this) continue;
        const TPoint p = other->ScreenToClient(screen);
        if (other->HitSegment(p.X, p.Y) == kNoSegment) continue;
        other->MouseDown(button, shift, p.X, p.Y);
        handed_on = true;
        break;
    }
    if (watch.Freed()) return;
    handing_on_ = false;
    if (!handed_on && parent->OnMouseDown) {
        const TPoint p = parent->ScreenToClient(screen);
        parent->OnMouseDown(parent, button, shift, p.X, p.Y);
    }
    if (watch.Freed()) return;
    SendToBack();
    Click();
}

void TRelacionamento::MouseMove(TShiftState shift, int x, int y) {
    if (x < kEdgeMargin || y < kEdgeMargin || x > static_cast<long long>(Width()) - kEdgeMargin ||
        y > static_cast<long long>(Height()) - kEdgeMargin)
        return;
    TnoxConnector::MouseMove(shift, x, y);
    if (shift & ssShift) {
        DragPart = kNoSegment;
    } else if (DragPart != kNoSegment) {
        DragSegment(ClampToInt(static_cast<long long>(x) - DragOrigin.X), ClampToInt(static_cast<long long>(y) - DragOrigin.Y), x, y);
        DragOrigin = {x, y};
    }
}

void TRelacionamento::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    DragPart = kNoSegment;
    const FreeWatch watch(*this);
    TnoxConnector::MouseUp(button, shift, x, y);  // may raise a click whose handler frees this
    if (watch.Freed()) return;
    if (tnoxCaption* caption = Caption()) caption->BringToFront();
}

// ---------------------------------------------------------------------------------------------
// Published properties

namespace {


TRelacionamento& relationship(TPersistent& o) { return static_cast<TRelacionamento&>(o); }
const TRelacionamento& relationship(const TPersistent& o) { return static_cast<const TRelacionamento&>(o); }

// An enumerated property read and written by its value names; an unknown name is an invalid value, as
// for every enumeration the streams read.
template <class Enum, std::size_t N>
PropertyInfo enumerated(const char* name, const std::array<std::string_view, N>& names, Enum initial,
                        Enum (TRelacionamento::*read)() const, void (TRelacionamento::*write)(Enum)) {
    PropertyInfo p = props::enumeration(name, names[static_cast<std::size_t>(initial)].data());
    p.get = [&names, read](const TPersistent& o) {
        const auto ordinal = static_cast<std::size_t>((relationship(o).*read)());
        return PropertyValue{Identifier{std::string(names[ordinal < N ? ordinal : 0])}};
    };
    p.set = [name, &names, write](TPersistent& o, const PropertyValue& v) {
        for (std::size_t i = 0; i < N; ++i)
            if (SameIdent(text_of(v), names[i])) return (relationship(o).*write)(static_cast<Enum>(i));
        throw EComponentError("Valor inv\xE1lido para a propriedade " + std::string(name) + " (" + formfile::printable(text_of(v)) + ")");
    };
    return p;
}

}  // namespace

const ComponentClass& TRelacionamentoClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TRelacionamento", &TnoxConnectorClass());
        PropertyInfo meioperc = props::integer("meioperc", 50);
        meioperc.get = [](const TPersistent& o) { return std::int64_t{relationship(o).meioperc()}; };
        meioperc.set = [](TPersistent& o, const PropertyValue& v) {
            relationship(o).Setmeioperc(static_cast<int>(std::clamp<std::int64_t>(integer_of(v), -1, 101)));
        };
        c.published = {
            TComponentClass().published[0],  // Name, republished
            props::replaced_lines("descricao", &TRelacionamento::descricao, &TRelacionamento::SetDescricao),
            enumerated("Relacao", kRelacaoNames, trelacao::tr1x1, &TRelacionamento::Relacao, &TRelacionamento::SetRelacao),
            enumerated("Chave", kChaveNames, tchave::tcatrib, &TRelacionamento::Chave, &TRelacionamento::SetChave),
            meioperc,
        };
        props::creatable<TRelacionamento>(c);
        return c;
    }();
    return description;
}
