#include "platform/components/forms.h"

#include <deque>

#include "platform/components/control_properties.h"
#include "platform/components/library_classes.h"


TCustomForm::TCustomForm(TComponent* owner, const ComponentClass& description) : TWinControl(owner, description) {
    SetVisible(false);
    SetParentFont(false);
}

bool TCustomForm::StoresOuterSize() const { return boolean_of(GetProperty("AutoScroll")); }

void TCustomForm::SetFrame(TSize frame) {
    const int client_width = ClientWidth(), client_height = ClientHeight();
    frame_ = frame;
    SetBounds(Left(), Top(), client_width + frame.cx, client_height + frame.cy);
}

void TCustomForm::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    TWinControl::GetChildren(children, root);
    if (root != this) return;
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (!c->HasParent()) children.push_back(c);
    }
}

const TCustomForm* GetParentForm(const TControl& control) {
    const TControl* top = &control;
    while (top->Parent()) top = top->Parent();
    if (const auto* form = dynamic_cast<const TCustomForm*>(top)) return form;
    return dynamic_cast<const TCustomForm*>(control.Owner());
}

// ---------------------------------------------------------------------------------------------
// Published properties

namespace {
TControl& control(TPersistent& p) { return dynamic_cast<TControl&>(p); }
const TControl& control(const TPersistent& p) { return dynamic_cast<const TControl&>(p); }
}  // namespace

// Width and Height give way to ClientWidth and ClientHeight when the form does not scroll.
const ComponentClass& TFormClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass form_c("TForm", &TWinControlClass());
        {
            auto auto_scroll = [](const TPersistent& o) { return boolean_of(o.GetProperty("AutoScroll")); };
            PropertyInfo client_height = integer("ClientHeight", 0);
            client_height.stored = Stored::Always;
            client_height.get = [](const TPersistent& o) { return std::int64_t(control(o).ClientHeight()); };
            client_height.set = [](TPersistent& o, const PropertyValue& v) { control(o).SetClientHeight(static_cast<int>(integer_of(v))); };
            client_height.stored_if = [auto_scroll](const TPersistent& o) { return !auto_scroll(o); };
            PropertyInfo client_width = client_height;
            client_width.name = "ClientWidth";
            client_width.get = [](const TPersistent& o) { return std::int64_t(control(o).ClientWidth()); };
            client_width.set = [](TPersistent& o, const PropertyValue& v) { control(o).SetClientWidth(static_cast<int>(integer_of(v))); };
            PropertyInfo form_color = prop("Color", PropertyKind::Color, std::int64_t{clBtnFace}, Stored::Always);
            PropertyInfo old_create_order = prop("OldCreateOrder", PropertyKind::Boolean, bool(false), Stored::Always);
            PropertyInfo pixels = integer("PixelsPerInch", 96);
            pixels.stored = Stored::Always;
            pixels.get = [](const TPersistent& o) { return std::int64_t(dynamic_cast<const TCustomForm&>(o).PixelsPerInch()); };
            pixels.set = [](TPersistent& o, const PropertyValue& v) { dynamic_cast<TCustomForm&>(o).SetPixelsPerInch(static_cast<int>(integer_of(v))); };
            PropertyInfo text_height = integer("TextHeight", 13);
            text_height.stored = Stored::Always;
            text_height.get = [](const TPersistent& o) { return std::int64_t(dynamic_cast<const TCustomForm&>(o).TextHeight()); };
            text_height.set = [](TPersistent& o, const PropertyValue& v) { dynamic_cast<TCustomForm&>(o).SetTextHeight(static_cast<int>(integer_of(v))); };
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
        return form_c;
    }();
    return description;
}

const ComponentClass& TScrollBoxClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass scroll_box("TScrollBox", &TWinControlClass());
        scroll_box.published = join(
            std::vector<PropertyInfo>{align(), anchors(), boolean("AutoScroll", true), boolean("AutoSize", false),
                                      enumeration("BiDiMode", "bdLeftToRight"), enumeration("BorderStyle", "bsSingle"),
                                      boolean("DockSite", false)},
            drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), color(clWindow), boolean("Ctl3D", true),
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
        return scroll_box;
    }();
    return description;
}

const ComponentClass& define_form_class(std::string_view class_name) {
    if (const ComponentClass* existing = find_class(class_name)) {
        if (!existing->inherits_from("TForm"))
            throw EComponentError("class " + std::string(class_name) + " exists and is not a form");
        return *existing;
    }
    if (!IsValidIdent(class_name)) throw EComponentError("'" + std::string(class_name) + "' is not a class name");
    // Defined once per name and kept for the life of the process, as registered classes are.
    static std::deque<ComponentClass> defined;
    ComponentClass& c = defined.emplace_back(std::string(class_name), &TFormClass());
    c.windowed = true;
    c.caption_follows_name = true;
    props::creatable<TCustomForm>(c);
    register_class(c);
    return c;
}
