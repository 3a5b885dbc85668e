#include "shapes/connection.h"

#include <cmath>
#include <cstdint>

#include "platform/components/property_builders.h"
#include "shapes/connector.h"
#include "platform/formfile/printable.h"

TnoxConnection::TnoxConnection(TnoxConnector* connector) : TPersistent(TnoxConnectionClass()), connector_(connector) {}

void TnoxConnection::SetShape(TnoxCustomShape* shape) {
    if (shape == shape_) return;
    TnoxCustomShape* old = shape_;
    shape_ = shape;
    if (connector_) connector_->ConnectionShapeChanged(old, shape);
}

int TnoxConnection::perc() const {
    // Exact: a single's 24-bit significand times 100 fits a double's.
    return static_cast<int>(std::trunc(static_cast<double>(fraction_) * 100));
}

void TnoxConnection::SetPerc(int value) {
    if (value < 0) value = 0;
    if (value > 100) value = 100;
    const long double wanted = static_cast<long double>(value) / 100;
    if (wanted != static_cast<long double>(fraction_)) fraction_ = static_cast<float>(wanted);
}

void TnoxConnection::SetOffset(int value) {
    if (value < minoffset) value = minoffset;
    if (value > maxoffset) value = maxoffset;
    offset_ = value;
}

void TnoxConnection::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TnoxConnection*>(&source);
    if (!other) throw EComponentError("N\xE3o \xE9 poss\xEDvel atribuir um " + source.ClassName() + " a um TnoxConnection");
    SetShape(other->shape_);
    Side = other->Side;
    SetOffset(other->offset_);
}

// ---------------------------------------------------------------------------------------------
// Published properties

namespace {

constexpr const char* kSideNames[] = {"csLeft", "csRight", "csTop", "csBottom"};

TnoxConnection& connection(TPersistent& o) { return static_cast<TnoxConnection&>(o); }
const TnoxConnection& connection(const TPersistent& o) { return static_cast<const TnoxConnection&>(o); }

int to_int(const PropertyValue& v) {
    const std::int64_t i = integer_of(v);
    return i > INT32_MAX ? INT32_MAX : i < INT32_MIN ? INT32_MIN : static_cast<int>(i);
}

// An integer with no default declared (always stored), backed by a member.
PropertyInfo integer_member(const char* name, int (*get)(const TnoxConnection&), void (*set)(TnoxConnection&, int)) {
    PropertyInfo p = props::prop(name, PropertyKind::Integer, {}, Stored::Always);
    p.get = [get](const TPersistent& o) { return std::int64_t{get(connection(o))}; };
    p.set = [set](TPersistent& o, const PropertyValue& v) { set(connection(o), to_int(v)); };
    return p;
}

}  // namespace

const ComponentClass& TnoxConnectionClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass c("TnoxConnection", nullptr);
        PropertyInfo shape = component("Shape");
        shape.get_component = [](const TPersistent& o) -> TComponent* { return connection(o).Shape(); };
        shape.set_component = [](TPersistent& o, TComponent* target) {
            auto* s = dynamic_cast<TnoxCustomShape*>(target);
            if (target && !s) throw EComponentError("Valor inv\xE1lido para a propriedade Shape (" + target->ClassName() + ")");
            connection(o).SetShape(s);
        };
        PropertyInfo side = prop("Side", PropertyKind::Enumeration, {}, Stored::Always);
        side.get = [](const TPersistent& o) { return Identifier{kSideNames[connection(o).Side & 3]}; };
        side.set = [](TPersistent& o, const PropertyValue& v) {
            for (int i = 0; i < 4; ++i)
                if (SameIdent(text_of(v), kSideNames[i])) {
                    connection(o).Side = static_cast<TnoxConnectionSide>(i);
                    return;
                }
            throw EComponentError("Valor inv\xE1lido para a propriedade Side (" + formfile::printable(text_of(v)) + ")");
        };
        c.published = {
            shape,
            side,
            integer_member("perc", [](const TnoxConnection& c) { return c.perc(); },
                           [](TnoxConnection& c, int v) { c.SetPerc(v); }),
            integer_member("maxoffset", [](const TnoxConnection& c) { return c.maxoffset; },
                           [](TnoxConnection& c, int v) { c.maxoffset = v; }),
            integer_member("minoffset", [](const TnoxConnection& c) { return c.minoffset; },
                           [](TnoxConnection& c, int v) { c.minoffset = v; }),
            integer_member("Offset", [](const TnoxConnection& c) { return c.Offset(); },
                           [](TnoxConnection& c, int v) { c.SetOffset(v); }),
        };
        return c;
    }();
    return description;
}
