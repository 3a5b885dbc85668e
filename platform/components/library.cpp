#include "platform/components/library.h"

#include <deque>
#include <mutex>
#include <type_traits>

#include "platform/components/control.h"
#include "platform/components/dbgrids.h"
#include "platform/components/forms.h"
#include "platform/components/menus.h"
#include "platform/components/stdctrls.h"

// Published properties of the streamed classes, in the target library's declaration order. Where a
// default decides what is stored, docs/form-files.md says where it comes from.

using formfile::Value;
using formfile::ValueType;

namespace {

// ---------------------------------------------------------------------------------------------
// Names of colours and character sets

struct Named {
    std::int64_t value;
    const char* name;
};

constexpr Named kColors[] = {
    {0x000000, "clBlack"}, {0x000080, "clMaroon"}, {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"}, {0x800080, "clPurple"}, {0x808000, "clTeal"}, {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"}, {0x00FF00, "clLime"}, {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"}, {0xFFFFFF, "clWhite"},
    {static_cast<std::int32_t>(0x80000000u), "clScrollBar"}, {static_cast<std::int32_t>(0x80000001u), "clBackground"},
    {static_cast<std::int32_t>(0x80000002u), "clActiveCaption"}, {static_cast<std::int32_t>(0x80000003u), "clInactiveCaption"},
    {static_cast<std::int32_t>(0x80000004u), "clMenu"}, {static_cast<std::int32_t>(0x80000005u), "clWindow"},
    {static_cast<std::int32_t>(0x80000006u), "clWindowFrame"}, {static_cast<std::int32_t>(0x80000007u), "clMenuText"},
    {static_cast<std::int32_t>(0x80000008u), "clWindowText"}, {static_cast<std::int32_t>(0x80000009u), "clCaptionText"},
    {static_cast<std::int32_t>(0x8000000Au), "clActiveBorder"}, {static_cast<std::int32_t>(0x8000000Bu), "clInactiveBorder"},
    {static_cast<std::int32_t>(0x8000000Cu), "clAppWorkSpace"}, {static_cast<std::int32_t>(0x8000000Du), "clHighlight"},
    {static_cast<std::int32_t>(0x8000000Eu), "clHighlightText"}, {static_cast<std::int32_t>(0x8000000Fu), "clBtnFace"},
    {static_cast<std::int32_t>(0x80000010u), "clBtnShadow"}, {static_cast<std::int32_t>(0x80000011u), "clGrayText"},
    {static_cast<std::int32_t>(0x80000012u), "clBtnText"}, {static_cast<std::int32_t>(0x80000013u), "clInactiveCaptionText"},
    {static_cast<std::int32_t>(0x80000014u), "clBtnHighlight"}, {static_cast<std::int32_t>(0x80000015u), "cl3DDkShadow"},
    {static_cast<std::int32_t>(0x80000016u), "cl3DLight"}, {static_cast<std::int32_t>(0x80000017u), "clInfoText"},
    {static_cast<std::int32_t>(0x80000018u), "clInfoBk"}, {0x1FFFFFFF, "clNone"}, {0x20000000, "clDefault"},
};

constexpr Named kCharsets[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"}, {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"}, {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"}, {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

template <std::size_t N>
Value named_value(const Named (&table)[N], std::int64_t v) {
    for (const Named& n : table)
        if (n.value == v) return Value::ident(n.name);
    return Value::integer_value(v);
}

template <std::size_t N>
std::int64_t value_of_name(const Named (&table)[N], const Value& v, const char* what) {
    if (v.is_integer()) return v.integer();
    for (const Named& n : table)
        if (v.type() == ValueType::Ident && v.bytes() == n.name) return n.value;
    throw EComponentError(std::string("unknown ") + what + " " + v.ident_name());
}

// ---------------------------------------------------------------------------------------------
// Property builders

PropertyInfo prop(std::string name, PropertyKind kind, Value def = {}, Stored stored = Stored::NotDefault) {
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = kind;
    p.default_value = std::move(def);
    p.stored = stored;
    return p;
}
PropertyInfo integer(std::string name, std::int64_t def) { return prop(std::move(name), PropertyKind::Integer, Value::integer_value(def)); }
PropertyInfo boolean(std::string name, bool def) { return prop(std::move(name), PropertyKind::Boolean, Value::boolean(def)); }
PropertyInfo enumeration(std::string name, const char* def) { return prop(std::move(name), PropertyKind::Enumeration, Value::ident(def)); }
PropertyInfo set(std::string name, std::vector<std::string> def) { return prop(std::move(name), PropertyKind::Set, Value::set_value(std::move(def))); }
PropertyInfo text(std::string name) { return prop(std::move(name), PropertyKind::String); }
PropertyInfo text(std::string name, const char* def) { return prop(std::move(name), PropertyKind::String, Value::string_value(def)); }
PropertyInfo event(std::string name) { return prop(std::move(name), PropertyKind::Event); }
PropertyInfo component(std::string name) { return prop(std::move(name), PropertyKind::Component); }
PropertyInfo strings(std::string name) { return prop(std::move(name), PropertyKind::Strings); }

std::vector<PropertyInfo> events(std::initializer_list<const char*> names) {
    std::vector<PropertyInfo> out;
    for (const char* n : names) out.push_back(event(n));
    return out;
}

TControl& control(TPersistent& p) { return dynamic_cast<TControl&>(p); }
const TControl& control(const TPersistent& p) { return dynamic_cast<const TControl&>(p); }

bool flag(const TPersistent& p, const char* name) { return p.GetProperty(name).type() == ValueType::True; }

// A colour that a control takes from its parent while ParentColor is set: stored only when it is the
// control's own, and setting it makes it so.
PropertyInfo color(const char* def) {
    PropertyInfo p = prop("Color", PropertyKind::Color, Value::ident(def));
    p.stored_if = [](const TPersistent& o) { return !flag(o, "ParentColor"); };
    p.set = [](TPersistent& o, const Value& v) {
        o.StoreValue("Color", v);
        o.StoreValue("ParentColor", Value::boolean(false));
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
    p.get = [](const TPersistent& o) { return Value::boolean(control(o).ParentFont()); };
    p.set = [](TPersistent& o, const Value& v) { control(o).SetParentFont(v.type() == ValueType::True); };
    return p;
}

PropertyInfo caption() {
    PropertyInfo p = text("Caption");
    p.get = [](const TPersistent& o) { return Value::string_value(control(o).Caption()); };
    p.set = [](TPersistent& o, const Value& v) { control(o).SetCaption(std::string(v.bytes())); };
    return p;
}

PropertyInfo visible(bool def) {
    PropertyInfo p = boolean("Visible", def);
    p.get = [](const TPersistent& o) { return Value::boolean(control(o).Visible()); };
    p.set = [](TPersistent& o, const Value& v) { control(o).SetVisible(v.type() == ValueType::True); };
    return p;
}

constexpr const char* kAlignNames[] = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};

PropertyInfo align() {
    PropertyInfo p = enumeration("Align", "alNone");
    p.get = [](const TPersistent& o) { return Value::ident(kAlignNames[static_cast<int>(control(o).Align())]); };
    p.set = [](TPersistent& o, const Value& v) {
        for (int i = 0; i < 6; ++i)
            if (v.bytes() == kAlignNames[i]) return control(o).SetAlign(static_cast<TAlign>(i));
        throw EComponentError("unknown alignment " + std::string(v.bytes()));
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
        return Value::set_value(std::move(members));
    };
    p.set = [](TPersistent& o, const Value& v) {
        TAnchors a = 0;
        for (const std::string& m : v.set()) {
            bool known = false;
            for (const auto& [bit, name] : names)
                if (m == name) a |= bit, known = true;
            if (!known) throw EComponentError("unknown anchor " + m);
        }
        control(o).SetAnchors(a);
    };
    return p;
}

PropertyInfo tab_order() {
    PropertyInfo p = integer("TabOrder", -1);
    p.get = [](const TPersistent& o) { return Value::integer_value(dynamic_cast<const TWinControl&>(o).TabOrder()); };
    p.set = [](TPersistent& o, const Value& v) { dynamic_cast<TWinControl&>(o).SetTabOrder(static_cast<int>(v.integer())); };
    return p;
}

// Left, Top, Width and Height of a control: no default, always stored.
PropertyInfo bound(const char* name, int which) {
    PropertyInfo p = prop(name, PropertyKind::Integer, {}, Stored::Always);
    p.get = [which](const TPersistent& o) {
        const TControl& c = control(o);
        const int v[] = {c.Left(), c.Top(), c.Width(), c.Height()};
        return Value::integer_value(v[which]);
    };
    p.set = [which](TPersistent& o, const Value& v) {
        TControl& c = control(o);
        int b[] = {c.Left(), c.Top(), c.Width(), c.Height()};
        b[which] = static_cast<int>(v.integer());
        c.SetBounds(b[0], b[1], b[2], b[3]);
    };
    return p;
}

// The properties most data-aware controls share, in their declaration order, as a list to splice.
std::vector<PropertyInfo> drag() {
    return {enumeration("DragCursor", "crDrag"), enumeration("DragKind", "dkDrag"), enumeration("DragMode", "dmManual")};
}
std::vector<PropertyInfo> data_binding() { return {text("DataField"), component("DataSource")}; }

template <class... Lists>
std::vector<PropertyInfo> join(Lists&&... lists) {
    std::vector<PropertyInfo> out;
    (out.insert(out.end(), lists.begin(), lists.end()), ...);
    return out;
}

// ---------------------------------------------------------------------------------------------
// The classes

std::deque<ComponentClass>& storage() {
    static std::deque<ComponentClass> classes;
    return classes;
}

ComponentClass& add(std::string name, const ComponentClass* parent) {
    ComponentClass& c = storage().emplace_back();
    c.name = std::move(name);
    c.parent = parent;
    return c;
}

template <class T>
void creatable(ComponentClass& c) {
    const ComponentClass* self = &c;
    c.create = [self](TComponent* owner) -> TComponent* { return new T(owner, *self); };
}

// A control class: created as T, with its creation size and whether naming sets its caption.
template <class T>
void control_class(ComponentClass& c, int width, int height, bool caption_follows_name) {
    c.windowed = std::is_base_of_v<TWinControl, T>;
    c.caption_follows_name = caption_follows_name;
    c.create_width = width;
    c.create_height = height;
    creatable<T>(c);
}

void define_classes() {
    // TComponent: Name is published but never stored (the record carries it); a non-visual
    // component's design position follows the published values.
    ComponentClass& component_c = add("TComponent", nullptr);
    component_c.published = {prop("Name", PropertyKind::String, {}, Stored::Never), integer("Tag", 0)};
    component_c.published[0].get = [](const TPersistent& o) {
        return Value::string_value(dynamic_cast<const TComponent&>(o).Name());
    };
    component_c.published[0].set = [](TPersistent& o, const Value& v) { dynamic_cast<TComponent&>(o).SetName(std::string(v.bytes())); };
    component_c.published[1].get = [](const TPersistent& o) {
        return Value::integer_value(dynamic_cast<const TComponent&>(o).Tag());
    };
    component_c.published[1].set = [](TPersistent& o, const Value& v) {
        dynamic_cast<TComponent&>(o).SetTag(static_cast<int>(v.integer()));
    };
    component_c.defined = {integer("Left", 0), integer("Top", 0)};
    creatable<TComponent>(component_c);

    ComponentClass& control_c = add("TControl", &component_c);
    control_c.published = {bound("Left", 0), bound("Top", 1), bound("Width", 2), bound("Height", 3),
                           enumeration("Cursor", "crDefault"), text("Hint")};
    control_c.caption_follows_name = true;
    ComponentClass& graphic_c = add("TGraphicControl", &control_c);
    graphic_c.caption_follows_name = true;
    ComponentClass& win_c = add("TWinControl", &control_c);
    win_c.windowed = true;
    win_c.caption_follows_name = true;
    win_c.published = {integer("HelpContext", 0)};

    // Forms. Width and Height give way to ClientWidth and ClientHeight when the form does not scroll.
    ComponentClass& form_c = add("TForm", &win_c);
    {
        auto auto_scroll = [](const TPersistent& o) { return o.GetProperty("AutoScroll").type() != ValueType::False; };
        PropertyInfo client_height = integer("ClientHeight", 0);
        client_height.stored = Stored::Always;
        client_height.get = [](const TPersistent& o) { return Value::integer_value(control(o).ClientHeight()); };
        client_height.set = [](TPersistent& o, const Value& v) { control(o).SetClientHeight(static_cast<int>(v.integer())); };
        client_height.stored_if = [auto_scroll](const TPersistent& o) { return !auto_scroll(o); };
        PropertyInfo client_width = client_height;
        client_width.name = "ClientWidth";
        client_width.get = [](const TPersistent& o) { return Value::integer_value(control(o).ClientWidth()); };
        client_width.set = [](TPersistent& o, const Value& v) { control(o).SetClientWidth(static_cast<int>(v.integer())); };
        PropertyInfo form_color = prop("Color", PropertyKind::Color, Value::ident("clBtnFace"), Stored::Always);
        PropertyInfo old_create_order = prop("OldCreateOrder", PropertyKind::Boolean, Value::boolean(false), Stored::Always);
        PropertyInfo pixels = integer("PixelsPerInch", 96);
        pixels.stored = Stored::Always;
        pixels.get = [](const TPersistent& o) { return Value::integer_value(dynamic_cast<const TCustomForm&>(o).PixelsPerInch()); };
        pixels.set = [](TPersistent& o, const Value& v) { dynamic_cast<TCustomForm&>(o).SetPixelsPerInch(static_cast<int>(v.integer())); };
        PropertyInfo text_height = integer("TextHeight", 13);
        text_height.stored = Stored::Always;
        text_height.get = [](const TPersistent& o) { return Value::integer_value(dynamic_cast<const TCustomForm&>(o).TextHeight()); };
        text_height.set = [](TPersistent& o, const Value& v) { dynamic_cast<TCustomForm&>(o).SetTextHeight(static_cast<int>(v.integer())); };
        PropertyInfo stored_pixels = pixels;
        stored_pixels.stored = Stored::Never;  // published, but written by the form itself at the end
        form_c.published = join(
            std::vector<PropertyInfo>{component("ActiveControl"), align(), anchors(), boolean("AutoScroll", true),
                                      boolean("AutoSize", false), enumeration("BiDiMode", "bdLeftToRight"),
                                      set("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize"}),
                                      enumeration("BorderStyle", "bsSizeable"), integer("BorderWidth", 0), caption(),
                                      client_height, client_width, form_color, boolean("Ctl3D", true),
                                      boolean("UseDockManager", false), enumeration("DefaultMonitor", "dmActiveForm"),
                                      boolean("DockSite", false), enumeration("DragKind", "dkDrag"),
                                      enumeration("DragMode", "dmManual"), boolean("Enabled", true), parent_font(false)},
            std::vector<PropertyInfo>{font_property(), enumeration("FormStyle", "fsNormal"), text("HelpFile"),
                                      boolean("KeyPreview", false), component("Menu"), old_create_order,
                                      component("ObjectMenuItem"), boolean("ParentBiDiMode", true), stored_pixels,
                                      component("PopupMenu"), enumeration("Position", "poDesigned"),
                                      enumeration("PrintScale", "poProportional"), boolean("Scaled", true),
                                      boolean("ShowHint", false), visible(false), enumeration("WindowState", "wsNormal"),
                                      component("WindowMenu")},
            events({"OnActivate", "OnCanResize", "OnClick", "OnClose", "OnCloseQuery", "OnConstrainedResize",
                    "OnContextPopup", "OnCreate", "OnDblClick", "OnDestroy", "OnDeactivate", "OnDockDrop",
                    "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock", "OnGetSiteInfo", "OnHide", "OnHelp",
                    "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                    "OnMouseWheel", "OnMouseWheelDown", "OnMouseWheelUp", "OnPaint", "OnResize", "OnShortCut",
                    "OnShow", "OnStartDock", "OnUnDock"}));
        form_c.defined = {pixels, text_height};
        form_c.caption_follows_name = true;
        form_c.windowed = true;
        creatable<TCustomForm>(form_c);
    }

    // Width and Height of a form are stored while it scrolls (the default); otherwise its client size.
    for (PropertyInfo& p : control_c.published) {
        if (p.name != "Width" && p.name != "Height") continue;
        p.stored_if = [](const TPersistent& o) {
            if (!dynamic_cast<const TCustomForm*>(&o)) return true;
            return o.GetProperty("AutoScroll").type() != ValueType::False;
        };
    }

    ComponentClass& panel = add("TPanel", &win_c);
    panel.published = join(
        std::vector<PropertyInfo>{align(), enumeration("Alignment", "taCenter"), anchors(), boolean("AutoSize", false),
                                  enumeration("BevelInner", "bvNone"), enumeration("BevelOuter", "bvRaised"),
                                  integer("BevelWidth", 1), enumeration("BiDiMode", "bdLeftToRight"),
                                  integer("BorderWidth", 0), enumeration("BorderStyle", "bsNone"), caption(),
                                  color("clBtnFace"), boolean("Ctl3D", true), boolean("UseDockManager", true),
                                  boolean("DockSite", false)},
        drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), boolean("FullRepaint", true), font_property(),
                                  boolean("Locked", false), boolean("ParentBiDiMode", true),
                                  boolean("ParentColor", false), boolean("ParentCtl3D", true), parent_font(true),
                                  boolean("ParentShowHint", true), component("PopupMenu"), boolean("ShowHint", false),
                                  tab_order(), boolean("TabStop", false), visible(true)},
        events({"OnCanResize", "OnClick", "OnConstrainedResize", "OnContextPopup", "OnDockDrop", "OnDockOver",
                "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
                "OnGetSiteInfo", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock",
                "OnStartDrag", "OnUnDock"}));
    panel.align_inset = 1;  // the raised outer bevel
    control_class<TWinControl>(panel, 185, 41, true);

    ComponentClass& scroll_box = add("TScrollBox", &win_c);
    scroll_box.published = join(
        std::vector<PropertyInfo>{align(), anchors(), boolean("AutoScroll", true), boolean("AutoSize", false),
                                  enumeration("BiDiMode", "bdLeftToRight"), enumeration("BorderStyle", "bsSingle"),
                                  boolean("DockSite", false)},
        drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), color("clWindow"), boolean("Ctl3D", true),
                                  font_property(), boolean("ParentBiDiMode", true), boolean("ParentColor", false),
                                  boolean("ParentCtl3D", true), parent_font(true), boolean("ParentShowHint", true),
                                  component("PopupMenu"), boolean("ShowHint", false), tab_order(),
                                  boolean("TabStop", false), visible(true)},
        events({"OnCanResize", "OnClick", "OnConstrainedResize", "OnContextPopup", "OnDblClick", "OnDockDrop",
                "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
                "OnGetSiteInfo", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnMouseWheel", "OnResize",
                "OnStartDock", "OnStartDrag", "OnUnDock"}));
    scroll_box.client_inset = 2;  // single 3-D border
    control_class<TWinControl>(scroll_box, 185, 41, false);

    ComponentClass& navigator = add("TDBNavigator", &win_c);
    navigator.published = join(
        std::vector<PropertyInfo>{component("DataSource"),
                                  set("VisibleButtons", {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert",
                                                         "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh"}),
                                  align(), anchors()},
        drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), boolean("Flat", false), boolean("Ctl3D", true),
                                  strings("Hints"), boolean("ParentCtl3D", true), boolean("ParentShowHint", true),
                                  component("PopupMenu"), boolean("ConfirmDelete", true), boolean("ShowHint", false),
                                  tab_order(), boolean("TabStop", false), visible(true)},
        events({"BeforeAction", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                "OnEndDrag", "OnEnter", "OnExit", "OnResize", "OnStartDock", "OnStartDrag"}));
    control_class<TWinControl>(navigator, 240, 25, false);

    ComponentClass& data_source = add("TDataSource", &component_c);
    data_source.published = join(std::vector<PropertyInfo>{boolean("AutoEdit", true), component("DataSet"),
                                                           boolean("Enabled", true)},
                                  events({"OnStateChange", "OnDataChange", "OnUpdateData"}));
    creatable<TComponent>(data_source);

    ComponentClass& table = add("TTable", &component_c);
    table.published = join(
        std::vector<PropertyInfo>{boolean("Active", false), boolean("AutoCalcFields", true),
                                  boolean("CachedUpdates", false), text("DatabaseName"), boolean("DefaultIndex", true),
                                  boolean("Exclusive", false), text("Filter"), boolean("Filtered", false),
                                  set("FilterOptions", {}), text("IndexFieldNames"), text("IndexName"),
                                  text("MasterFields"), component("MasterSource"), boolean("ObjectView", false),
                                  boolean("ReadOnly", false), text("SessionName"), boolean("StoreDefs", false),
                                  text("TableName"), enumeration("TableType", "ttDefault"),
                                  enumeration("UpdateMode", "upWhereAll"), component("UpdateObject")},
        events({"AfterCancel", "AfterClose", "AfterDelete", "AfterEdit", "AfterInsert", "AfterOpen", "AfterPost",
                "AfterScroll", "BeforeCancel", "BeforeClose", "BeforeDelete", "BeforeEdit", "BeforeInsert",
                "BeforeOpen", "BeforePost", "BeforeScroll", "OnCalcFields", "OnDeleteError", "OnEditError",
                "OnFilterRecord", "OnNewRecord", "OnPostError"}));
    creatable<TComponent>(table);

    // Data-aware controls.
    // Edit-like controls keep their own (window) colour; check boxes and group boxes show the parent's.
    const auto common_tail = [](bool windowed, bool parent_color = false) {
        std::vector<PropertyInfo> tail = {boolean("ParentBiDiMode", true), boolean("ParentColor", parent_color)};
        if (windowed) tail.push_back(boolean("ParentCtl3D", true));
        tail.push_back(parent_font(true));
        tail.push_back(boolean("ParentShowHint", true));
        tail.push_back(component("PopupMenu"));
        return tail;
    };
    const auto mouse_events = events({"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver",
                                      "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                                      "OnStartDock", "OnStartDrag"});
    const auto focus_events = events({"OnChange", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});

    ComponentClass& label = add("TLabel", &graphic_c);
    {
        PropertyInfo auto_size = boolean("AutoSize", true);
        auto_size.get = [](const TPersistent& o) { return Value::boolean(dynamic_cast<const TLabel&>(o).AutoSize()); };
        auto_size.set = [](TPersistent& o, const Value& v) { dynamic_cast<TLabel&>(o).SetAutoSize(v.type() == ValueType::True); };
        label.published = join(
            std::vector<PropertyInfo>{align(), enumeration("Alignment", "taLeftJustify"), anchors(), auto_size,
                                      enumeration("BiDiMode", "bdLeftToRight"), caption(), color("clBtnFace")},
            drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), component("FocusControl"), font_property(),
                                      boolean("ParentBiDiMode", true), boolean("ParentColor", true), parent_font(true),
                                      boolean("ParentShowHint", true), component("PopupMenu"),
                                      boolean("ShowAccelChar", true), boolean("ShowHint", false),
                                      boolean("Transparent", false), enumeration("Layout", "tlTop"), visible(true),
                                      boolean("WordWrap", false)},
            mouse_events);
    }
    control_class<TLabel>(label, 65, 17, true);

    ComponentClass& edit = add("TDBEdit", &win_c);
    edit.published = join(
        std::vector<PropertyInfo>{anchors(), boolean("AutoSelect", true), boolean("AutoSize", true),
                                  enumeration("BiDiMode", "bdLeftToRight"), enumeration("BorderStyle", "bsSingle"),
                                  enumeration("CharCase", "ecNormal"), color("clWindow"), boolean("Ctl3D", true)},
        data_binding(), drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), enumeration("ImeMode", "imDontCare"),
                                  text("ImeName"), integer("MaxLength", 0)},
        common_tail(true),
        std::vector<PropertyInfo>{integer("PasswordChar", 0), boolean("ReadOnly", false), boolean("ShowHint", false),
                                  tab_order(), boolean("TabStop", true), visible(true)},
        focus_events, mouse_events);
    control_class<TWinControl>(edit, 121, 25, true);

    ComponentClass& check_box = add("TDBCheckBox", &win_c);
    check_box.published = join(
        std::vector<PropertyInfo>{enumeration("Alignment", "taRightJustify"), boolean("AllowGrayed", false), anchors(),
                                  enumeration("BiDiMode", "bdLeftToRight"), caption(), color("clBtnFace"),
                                  boolean("Ctl3D", true)},
        data_binding(), drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), font_property()}, common_tail(true, true),
        std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), tab_order(),
                                  boolean("TabStop", true), text("ValueChecked", "True"),
                                  text("ValueUnchecked", "False"), visible(true)},
        focus_events, mouse_events);
    control_class<TWinControl>(check_box, 97, 17, true);

    ComponentClass& memo = add("TDBMemo", &win_c);
    memo.published = join(
        std::vector<PropertyInfo>{align(), enumeration("Alignment", "taLeftJustify"), anchors(),
                                  boolean("AutoDisplay", true), enumeration("BiDiMode", "bdLeftToRight"),
                                  enumeration("BorderStyle", "bsSingle"), color("clWindow"), boolean("Ctl3D", true)},
        data_binding(), drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), enumeration("ImeMode", "imDontCare"),
                                  text("ImeName"), integer("MaxLength", 0)},
        common_tail(true),
        std::vector<PropertyInfo>{boolean("ReadOnly", false), enumeration("ScrollBars", "ssNone"),
                                  boolean("ShowHint", false), tab_order(), boolean("TabStop", true), visible(true),
                                  boolean("WantReturns", true), boolean("WantTabs", false), boolean("WordWrap", true)},
        focus_events, mouse_events);
    control_class<TWinControl>(memo, 185, 89, true);

    ComponentClass& image = add("TDBImage", &win_c);
    image.published = join(
        std::vector<PropertyInfo>{align(), anchors(), boolean("AutoDisplay", true),
                                  enumeration("BorderStyle", "bsSingle"), boolean("Center", true), color("clWindow"),
                                  boolean("Ctl3D", true)},
        data_binding(), drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), boolean("ParentColor", false),
                                  boolean("ParentCtl3D", true), parent_font(true), boolean("ParentShowHint", true),
                                  component("PopupMenu"), boolean("QuickDraw", true), boolean("ReadOnly", false),
                                  boolean("ShowHint", false), boolean("Stretch", false), tab_order(),
                                  boolean("TabStop", true), visible(true)},
        events({"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                "OnMouseUp", "OnStartDock", "OnStartDrag"}));
    control_class<TWinControl>(image, 105, 105, false);

    ComponentClass& db_text = add("TDBText", &graphic_c);
    db_text.published = join(
        std::vector<PropertyInfo>{align(), enumeration("Alignment", "taLeftJustify"), anchors(),
                                  boolean("AutoSize", false), enumeration("BiDiMode", "bdLeftToRight"),
                                  color("clBtnFace")},
        data_binding(), drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), boolean("ParentBiDiMode", true),
                                  boolean("ParentColor", true), parent_font(true), boolean("ParentShowHint", true),
                                  component("PopupMenu"), boolean("Transparent", false), boolean("ShowHint", false),
                                  visible(true), boolean("WordWrap", false)},
        mouse_events);
    control_class<TGraphicControl>(db_text, 65, 17, true);

    ComponentClass& combo = add("TDBComboBox", &win_c);
    {
        // No default: the item height is always stored (16 is the library's value at creation).
        PropertyInfo item_height = prop("ItemHeight", PropertyKind::Integer, Value::integer_value(16), Stored::Always);
        combo.published = join(
            std::vector<PropertyInfo>{enumeration("Style", "csDropDown"), anchors(),
                                      enumeration("BiDiMode", "bdLeftToRight"), enumeration("CharCase", "ecNormal"),
                                      color("clWindow"), boolean("Ctl3D", true)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{integer("DropDownCount", 8), boolean("Enabled", true), font_property(),
                                      enumeration("ImeMode", "imDontCare"), text("ImeName"), item_height,
                                      strings("Items")},
            common_tail(true),
            std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), boolean("Sorted", false),
                                      tab_order(), boolean("TabStop", true), visible(true)},
            focus_events, mouse_events, events({"OnDrawItem", "OnDropDown", "OnMeasureItem"}));
    }
    control_class<TWinControl>(combo, 145, 25, true);

    ComponentClass& list_box = add("TDBListBox", &win_c);
    {
        // Stored only for owner-drawn styles, where the program sets it.
        PropertyInfo item_height = integer("ItemHeight", 16);
        item_height.stored_if = [](const TPersistent& o) { return o.GetProperty("Style").bytes() != "lbStandard"; };
        list_box.published = join(
            std::vector<PropertyInfo>{align(), anchors(), enumeration("BiDiMode", "bdLeftToRight"),
                                      enumeration("BorderStyle", "bsSingle"), color("clWindow"), boolean("Ctl3D", true)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), enumeration("ImeMode", "imDontCare"),
                                      text("ImeName"), boolean("IntegralHeight", false), item_height, strings("Items")},
            common_tail(true),
            std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false),
                                      enumeration("Style", "lbStandard"), tab_order(), boolean("TabStop", true),
                                      visible(true)},
            focus_events, mouse_events, events({"OnDrawItem", "OnMeasureItem"}));
    }
    control_class<TWinControl>(list_box, 121, 97, false);

    ComponentClass& radio_group = add("TDBRadioGroup", &win_c);
    radio_group.published = join(
        std::vector<PropertyInfo>{align(), anchors(), enumeration("BiDiMode", "bdLeftToRight"), caption(),
                                  color("clBtnFace"), integer("Columns", 1), boolean("Ctl3D", true)},
        data_binding(), drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), strings("Items")}, common_tail(true, true),
        std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), tab_order(),
                                  boolean("TabStop", true), strings("Values"), visible(true)},
        events({"OnChange", "OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                "OnEnter", "OnExit", "OnStartDock", "OnStartDrag"}));
    control_class<TWinControl>(radio_group, 185, 105, true);

    const auto lookup_fields = [] {
        return std::vector<PropertyInfo>{text("KeyField"), text("ListField"), integer("ListFieldIndex", 0),
                                         component("ListSource")};
    };
    ComponentClass& lookup_list = add("TDBLookupListBox", &win_c);
    lookup_list.published = join(
        std::vector<PropertyInfo>{align(), anchors(), enumeration("BiDiMode", "bdLeftToRight"),
                                  enumeration("BorderStyle", "bsSingle"), color("clWindow"), boolean("Ctl3D", true)},
        data_binding(), drag(),
        std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), enumeration("ImeMode", "imDontCare"),
                                  text("ImeName"), boolean("IntegralHeight", false)},
        lookup_fields(), common_tail(true),
        std::vector<PropertyInfo>{boolean("ReadOnly", false),
                                  prop("RowCount", PropertyKind::Integer, Value::integer_value(7), Stored::Never),
                                  boolean("ShowHint", false), tab_order(), boolean("TabStop", true), visible(true)},
        focus_events, mouse_events);
    control_class<TWinControl>(lookup_list, 121, 0, false);

    ComponentClass& lookup_combo = add("TDBLookupComboBox", &win_c);
    lookup_combo.published = join(
        std::vector<PropertyInfo>{anchors(), enumeration("BiDiMode", "bdLeftToRight"), color("clWindow"),
                                  boolean("Ctl3D", true)},
        data_binding(), drag(),
        std::vector<PropertyInfo>{enumeration("DropDownAlign", "daLeft"), integer("DropDownRows", 7),
                                  integer("DropDownWidth", 0), boolean("Enabled", true), font_property(),
                                  enumeration("ImeMode", "imDontCare"), text("ImeName")},
        lookup_fields(), common_tail(true),
        std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), tab_order(),
                                  boolean("TabStop", true), visible(true)},
        focus_events, mouse_events, events({"OnCloseUp", "OnDropDown"}));
    control_class<TWinControl>(lookup_combo, 145, 0, false);

    // Grid columns: the title's properties carry their path. A column without an object field is never
    // expanded, so Expanded reads False and, against its default True, is stored.
    ComponentClass& column = add("TColumn", nullptr);
    {
        PropertyInfo expanded = boolean("Expanded", true);
        expanded.get = [](const TPersistent&) { return Value::boolean(false); };
        expanded.set = [](TPersistent&, const Value&) {};  // no object field: stays collapsed
        PropertyInfo column_visible = prop("Visible", PropertyKind::Boolean, Value::boolean(true), Stored::Always);
        column.published = {enumeration("Alignment", "taLeftJustify"),
                            enumeration("ButtonStyle", "cbsAuto"),
                            prop("Color", PropertyKind::Color, Value::ident("clWindow"), Stored::Assigned),
                            integer("DropDownRows", 7),
                            expanded,
                            text("FieldName"),
                            enumeration("ImeMode", "imDontCare"),
                            text("ImeName"),
                            strings("PickList"),
                            component("PopupMenu"),
                            boolean("ReadOnly", false),
                            enumeration("Title.Alignment", "taLeftJustify"),
                            prop("Title.Caption", PropertyKind::String, {}, Stored::Assigned),
                            prop("Title.Color", PropertyKind::Color, Value::ident("clBtnFace"), Stored::Assigned),
                            prop("Width", PropertyKind::Integer, Value::integer_value(64), Stored::Assigned),
                            column_visible};
    }

    ComponentClass& grid = add("TDBGrid", &win_c);
    {
        PropertyInfo title_font = prop("TitleFont", PropertyKind::Font, {}, Stored::Always);
        title_font.font = [](const TPersistent& o) { return &dynamic_cast<const TDBGrid&>(o).TitleFont(); };
        PropertyInfo columns = prop("Columns", PropertyKind::Collection, {}, Stored::Assigned);
        columns.collection = [](const TPersistent& o) -> const TCollection* {
            return &dynamic_cast<const TDBGrid&>(o).Columns();
        };
        // Published but written by the grid itself after everything else.
        PropertyInfo published_columns = columns;
        published_columns.stored = Stored::Never;
        grid.published = join(
            std::vector<PropertyInfo>{align(), anchors(), enumeration("BiDiMode", "bdLeftToRight"),
                                      enumeration("BorderStyle", "bsSingle"), color("clWindow"), published_columns,
                                      boolean("Ctl3D", true), component("DataSource"), boolean("DefaultDrawing", true)},
            drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true),
                                      prop("FixedColor", PropertyKind::Color, Value::ident("clBtnFace")),
                                      font_property(), enumeration("ImeMode", "imDontCare"), text("ImeName"),
                                      set("Options", {"dgEditing", "dgTitles", "dgIndicator", "dgColumnResize",
                                                      "dgColLines", "dgRowLines", "dgTabs", "dgConfirmDelete",
                                                      "dgCancelOnExit"})},
            common_tail(true),
            std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), tab_order(),
                                      boolean("TabStop", true), title_font, visible(true)},
            events({"OnCellClick", "OnColEnter", "OnColExit", "OnColumnMoved", "OnDrawDataCell",
                    "OnDrawColumnCell", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEditButtonClick",
                    "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                    "OnStartDock", "OnStartDrag", "OnTitleClick"}));
        grid.defined = {columns};
    }
    control_class<TDBGrid>(grid, 320, 120, false);

    ComponentClass& main_menu = add("TMainMenu", &component_c);
    main_menu.published = join(
        std::vector<PropertyInfo>{enumeration("AutoHotkeys", "maAutomatic"),
                                  enumeration("AutoLineReduction", "maAutomatic"), boolean("AutoMerge", false),
                                  enumeration("BiDiMode", "bdLeftToRight"), component("Images"),
                                  boolean("OwnerDraw", false), boolean("ParentBiDiMode", true)},
        events({"OnChange"}));
    creatable<TMainMenu>(main_menu);

    ComponentClass& menu_item = add("TMenuItem", &component_c);
    {
        PropertyInfo item_caption = text("Caption");
        item_caption.get = [](const TPersistent& o) {
            return Value::string_value(dynamic_cast<const TMenuItem&>(o).Caption());
        };
        item_caption.set = [](TPersistent& o, const Value& v) { dynamic_cast<TMenuItem&>(o).SetCaption(std::string(v.bytes())); };
        menu_item.published = join(
            std::vector<PropertyInfo>{component("Action"), enumeration("AutoHotkeys", "maParent"),
                                      enumeration("AutoLineReduction", "maParent"), enumeration("Break", "mbNone"),
                                      item_caption, boolean("Checked", false), component("SubMenuImages"),
                                      boolean("Default", false), boolean("Enabled", true), integer("GroupIndex", 0),
                                      integer("HelpContext", 0), text("Hint"), integer("ImageIndex", -1),
                                      boolean("RadioItem", false), integer("ShortCut", 0), boolean("Visible", true)},
            events({"OnClick", "OnDrawItem", "OnAdvancedDrawItem", "OnMeasureItem"}));
    }
    creatable<TMenuItem>(menu_item);

    for (const ComponentClass& c : storage()) register_class(c);
}

}  // namespace

void register_library_classes() {
    static std::once_flag once;
    std::call_once(once, define_classes);
}

const ComponentClass& component_class(std::string_view class_name) {
    const ComponentClass* c = find_class(class_name);
    if (!c) throw EComponentError("Classe " + std::string(class_name) + " n\xE3o encontrada");
    return *c;
}

const ComponentClass& define_form_class(std::string_view class_name) {
    if (const ComponentClass* existing = find_class(class_name)) {
        if (!existing->inherits_from("TForm"))
            throw EComponentError("class " + std::string(class_name) + " exists and is not a form");
        return *existing;
    }
    if (!IsValidIdent(class_name)) throw EComponentError("'" + std::string(class_name) + "' is not a class name");
    ComponentClass& c = add(std::string(class_name), &component_class("TForm"));
    c.windowed = true;
    c.caption_follows_name = true;
    creatable<TCustomForm>(c);
    register_class(c);
    return c;
}

formfile::Value color_value(TColor color) { return named_value(kColors, color); }
formfile::Value charset_value(TFontCharset charset) { return named_value(kCharsets, charset); }
TColor color_from_value(const formfile::Value& value) {
    return static_cast<TColor>(value_of_name(kColors, value, "colour"));
}
TFontCharset charset_from_value(const formfile::Value& value) {
    return static_cast<TFontCharset>(value_of_name(kCharsets, value, "character set"));
}
