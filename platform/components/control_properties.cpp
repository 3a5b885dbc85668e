#include "platform/components/control_properties.h"

#include <cassert>

#include "platform/components/graphics_idents.h"
#include "platform/formfile/printable.h"


namespace props {

namespace {

// The accessors are reached only through the descriptions of controls, whose instances are all
// TControl (the class's create makes them so): a checked cast per property and object would cost a
// good part of streaming a large diagram.
TControl& control(TPersistent& p) {
    assert(dynamic_cast<TControl*>(&p));
    return static_cast<TControl&>(p);
}
const TControl& control(const TPersistent& p) {
    assert(dynamic_cast<const TControl*>(&p));
    return static_cast<const TControl&>(p);
}

bool flag(const TPersistent& p, const char* name) { return boolean_of(p.GetProperty(name)); }

}  // namespace

PropertyInfo color(TColor def) {
    PropertyInfo p = prop("Color", PropertyKind::Color, std::int64_t{def});
    p.stored_if = [](const TPersistent& o) { return !flag(o, "ParentColor"); };
    p.set = [](TPersistent& o, const PropertyValue& v) {
        o.StoreValue("Color", v);
        o.StoreValue("ParentColor", bool(false));
    };
    return p;
}

PropertyInfo font_property() {
    PropertyInfo p = prop("Font", PropertyKind::Font);
    p.font = [](const TPersistent& o) { return &control(o).Font(); };
    p.stored_if = [](const TPersistent& o) { return !control(o).ParentFont(); };
    return p;
}

PropertyInfo parent_font(bool def) {
    PropertyInfo p = boolean("ParentFont", def);
    p.get = [](const TPersistent& o) { return bool(control(o).ParentFont()); };
    p.set = [](TPersistent& o, const PropertyValue& v) { control(o).SetParentFont(boolean_of(v)); };
    return p;
}

PropertyInfo caption() {
    PropertyInfo p = text("Caption");
    p.get = [](const TPersistent& o) { return std::string(control(o).Caption()); };
    p.set = [](TPersistent& o, const PropertyValue& v) { control(o).SetCaption(text_of(v)); };
    return p;
}

PropertyInfo visible(bool def) {
    PropertyInfo p = boolean("Visible", def);
    p.get = [](const TPersistent& o) { return bool(control(o).Visible()); };
    p.set = [](TPersistent& o, const PropertyValue& v) { control(o).SetVisible(boolean_of(v)); };
    return p;
}

constexpr const char* kAlignNames[] = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};

PropertyInfo align() {
    PropertyInfo p = enumeration("Align", "alNone");
    p.get = [](const TPersistent& o) { return Identifier{kAlignNames[static_cast<int>(control(o).Align())]}; };
    p.set = [](TPersistent& o, const PropertyValue& v) {
        for (int i = 0; i < 6; ++i)
            if (text_of(v) == kAlignNames[i]) return control(o).SetAlign(static_cast<TAlign>(i));
        throw EComponentError("unknown alignment " + formfile::printable(text_of(v)));
    };
    return p;
}

PropertyInfo anchors() {
    static constexpr std::pair<TAnchorKind, const char*> names[] = {
        {akLeft, "akLeft"}, {akTop, "akTop"}, {akRight, "akRight"}, {akBottom, "akBottom"}};
    PropertyInfo p = set("Anchors", {"akLeft", "akTop"});
    p.get = [](const TPersistent& o) {
        std::vector<std::string> members;
        for (const auto& [bit, name] : names)
            if (control(o).Anchors() & bit) members.emplace_back(name);
        return IdentifierSet{std::move(members)};
    };
    p.set = [](TPersistent& o, const PropertyValue& v) {
        TAnchors a = 0;
        for (const std::string& m : members_of(v)) {
            bool known = false;
            for (const auto& [bit, name] : names)
                if (m == name) a |= bit, known = true;
            if (!known) throw EComponentError("unknown anchor " + formfile::printable(m));
        }
        control(o).SetAnchors(a);
    };
    return p;
}

PropertyInfo tab_order() {
    PropertyInfo p = integer("TabOrder", -1);
    p.get = [](const TPersistent& o) { return std::int64_t(dynamic_cast<const TWinControl&>(o).TabOrder()); };
    p.set = [](TPersistent& o, const PropertyValue& v) { dynamic_cast<TWinControl&>(o).SetTabOrder(static_cast<int>(integer_of(v))); };
    return p;
}

PropertyInfo bound(const char* name, int which) {
    PropertyInfo p = prop(name, PropertyKind::Integer, {}, Stored::Always);
    if (which >= 2) p.stored_if = [](const TPersistent& o) { return control(o).StoresOuterSize(); };
    p.get = [which](const TPersistent& o) {
        const TControl& c = control(o);
        const int v[] = {c.Left(), c.Top(), c.Width(), c.Height()};
        return std::int64_t(v[which]);
    };
    p.set = [which](TPersistent& o, const PropertyValue& v) {
        TControl& c = control(o);
        int b[] = {c.Left(), c.Top(), c.Width(), c.Height()};
        b[which] = static_cast<int>(integer_of(v));
        c.SetBounds(b[0], b[1], b[2], b[3]);
    };
    return p;
}

std::vector<PropertyInfo> drag() {
    return {enumeration("DragCursor", "crDrag"), enumeration("DragKind", "dkDrag"), enumeration("DragMode", "dmManual")};
}

std::vector<PropertyInfo> data_binding() { return {text("DataField"), component("DataSource")}; }

std::vector<PropertyInfo> common_tail(bool windowed, bool parent_color) {
    // Edit-like controls keep their own (window) colour; check boxes and group boxes show the parent's.
    std::vector<PropertyInfo> tail = {boolean("ParentBiDiMode", true), boolean("ParentColor", parent_color)};
    if (windowed) tail.push_back(boolean("ParentCtl3D", true));
    tail.push_back(parent_font(true));
    tail.push_back(boolean("ParentShowHint", true));
    tail.push_back(component("PopupMenu"));
    return tail;
}

std::vector<PropertyInfo> mouse_events() {
    return events({"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                   "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

std::vector<PropertyInfo> focus_events() {
    return events({"OnChange", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
}

}  // namespace props
