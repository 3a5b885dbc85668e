// Published properties of the DBCtrls unit: the navigator and the data-aware controls.

#include "platform/components/control_properties.h"
#include "platform/components/library_classes.h"


namespace {

// The lookup controls' list of what they look up.
std::vector<PropertyInfo> lookup_fields() {
    using namespace props;
    return {text("KeyField"), text("ListField"), integer("ListFieldIndex", 0), component("ListSource")};
}

}  // namespace

const ComponentClass& TDBNavigatorClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass navigator("TDBNavigator", &TWinControlClass());
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
        return navigator;
    }();
    return description;
}


const ComponentClass& TDBEditClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass edit("TDBEdit", &TWinControlClass());
        edit.published = join(
            std::vector<PropertyInfo>{anchors(), boolean("AutoSelect", true), boolean("AutoSize", true),
                                      enumeration("BiDiMode", "bdLeftToRight"), enumeration("BorderStyle", "bsSingle"),
                                      enumeration("CharCase", "ecNormal"), color(clWindow), boolean("Ctl3D", true)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), enumeration("ImeMode", "imDontCare"),
                                      text("ImeName"), integer("MaxLength", 0)},
            common_tail(true),
            std::vector<PropertyInfo>{integer("PasswordChar", 0), boolean("ReadOnly", false), boolean("ShowHint", false),
                                      tab_order(), boolean("TabStop", true), visible(true)},
            focus_events(), mouse_events());
        control_class<TWinControl>(edit, 121, 25, true);
        return edit;
    }();
    return description;
}

const ComponentClass& TDBCheckBoxClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass check_box("TDBCheckBox", &TWinControlClass());
        check_box.published = join(
            std::vector<PropertyInfo>{enumeration("Alignment", "taRightJustify"), boolean("AllowGrayed", false), anchors(),
                                      enumeration("BiDiMode", "bdLeftToRight"), caption(), color(clBtnFace),
                                      boolean("Ctl3D", true)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), font_property()}, common_tail(true, true),
            std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), tab_order(),
                                      boolean("TabStop", true), text("ValueChecked", "True"),
                                      text("ValueUnchecked", "False"), visible(true)},
            focus_events(), mouse_events());
        control_class<TWinControl>(check_box, 97, 17, true);
        return check_box;
    }();
    return description;
}

const ComponentClass& TDBMemoClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass memo("TDBMemo", &TWinControlClass());
        memo.published = join(
            std::vector<PropertyInfo>{align(), enumeration("Alignment", "taLeftJustify"), anchors(),
                                      boolean("AutoDisplay", true), enumeration("BiDiMode", "bdLeftToRight"),
                                      enumeration("BorderStyle", "bsSingle"), color(clWindow), boolean("Ctl3D", true)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), enumeration("ImeMode", "imDontCare"),
                                      text("ImeName"), integer("MaxLength", 0)},
            common_tail(true),
            std::vector<PropertyInfo>{boolean("ReadOnly", false), enumeration("ScrollBars", "ssNone"),
                                      boolean("ShowHint", false), tab_order(), boolean("TabStop", true), visible(true),
                                      boolean("WantReturns", true), boolean("WantTabs", false), boolean("WordWrap", true)},
            focus_events(), mouse_events());
        control_class<TWinControl>(memo, 185, 89, true);
        return memo;
    }();
    return description;
}

const ComponentClass& TDBImageClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass image("TDBImage", &TWinControlClass());
        image.published = join(
            std::vector<PropertyInfo>{align(), anchors(), boolean("AutoDisplay", true),
                                      enumeration("BorderStyle", "bsSingle"), boolean("Center", true), color(clWindow),
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
        return image;
    }();
    return description;
}

const ComponentClass& TDBTextClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass db_text("TDBText", &TGraphicControlClass());
        db_text.published = join(
            std::vector<PropertyInfo>{align(), enumeration("Alignment", "taLeftJustify"), anchors(),
                                      boolean("AutoSize", false), enumeration("BiDiMode", "bdLeftToRight"),
                                      color(clBtnFace)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), boolean("ParentBiDiMode", true),
                                      boolean("ParentColor", true), parent_font(true), boolean("ParentShowHint", true),
                                      component("PopupMenu"), boolean("Transparent", false), boolean("ShowHint", false),
                                      visible(true), boolean("WordWrap", false)},
            mouse_events());
        control_class<TGraphicControl>(db_text, 65, 17, true);
        return db_text;
    }();
    return description;
}

const ComponentClass& TDBComboBoxClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass combo("TDBComboBox", &TWinControlClass());
        {
            // No default: the item height is always stored (16 is the library's value at creation).
            PropertyInfo item_height = prop("ItemHeight", PropertyKind::Integer, std::int64_t(16), Stored::Always);
            combo.published = join(
                std::vector<PropertyInfo>{enumeration("Style", "csDropDown"), anchors(),
                                          enumeration("BiDiMode", "bdLeftToRight"), enumeration("CharCase", "ecNormal"),
                                          color(clWindow), boolean("Ctl3D", true)},
                data_binding(), drag(),
                std::vector<PropertyInfo>{integer("DropDownCount", 8), boolean("Enabled", true), font_property(),
                                          enumeration("ImeMode", "imDontCare"), text("ImeName"), item_height,
                                          strings("Items")},
                common_tail(true),
                std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), boolean("Sorted", false),
                                          tab_order(), boolean("TabStop", true), visible(true)},
                focus_events(), mouse_events(), events({"OnDrawItem", "OnDropDown", "OnMeasureItem"}));
        }
        control_class<TWinControl>(combo, 145, 25, true);
        return combo;
    }();
    return description;
}

const ComponentClass& TDBListBoxClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass list_box("TDBListBox", &TWinControlClass());
        {
            // Stored only for owner-drawn styles, where the program sets it.
            PropertyInfo item_height = integer("ItemHeight", 16);
            item_height.stored_if = [](const TPersistent& o) { return text_of(o.GetProperty("Style")) != "lbStandard"; };
            list_box.published = join(
                std::vector<PropertyInfo>{align(), anchors(), enumeration("BiDiMode", "bdLeftToRight"),
                                          enumeration("BorderStyle", "bsSingle"), color(clWindow), boolean("Ctl3D", true)},
                data_binding(), drag(),
                std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), enumeration("ImeMode", "imDontCare"),
                                          text("ImeName"), boolean("IntegralHeight", false), item_height, strings("Items")},
                common_tail(true),
                std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false),
                                          enumeration("Style", "lbStandard"), tab_order(), boolean("TabStop", true),
                                          visible(true)},
                focus_events(), mouse_events(), events({"OnDrawItem", "OnMeasureItem"}));
        }
        control_class<TWinControl>(list_box, 121, 97, false);
        return list_box;
    }();
    return description;
}

const ComponentClass& TDBRadioGroupClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass radio_group("TDBRadioGroup", &TWinControlClass());
        radio_group.published = join(
            std::vector<PropertyInfo>{align(), anchors(), enumeration("BiDiMode", "bdLeftToRight"), caption(),
                                      color(clBtnFace), integer("Columns", 1), boolean("Ctl3D", true)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), strings("Items")}, common_tail(true, true),
            std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), tab_order(),
                                      boolean("TabStop", true), strings("Values"), visible(true)},
            events({"OnChange", "OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                    "OnEnter", "OnExit", "OnStartDock", "OnStartDrag"}));
        control_class<TWinControl>(radio_group, 185, 105, true);
        return radio_group;
    }();
    return description;
}

const ComponentClass& TDBLookupListBoxClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass lookup_list("TDBLookupListBox", &TWinControlClass());
        lookup_list.published = join(
            std::vector<PropertyInfo>{align(), anchors(), enumeration("BiDiMode", "bdLeftToRight"),
                                      enumeration("BorderStyle", "bsSingle"), color(clWindow), boolean("Ctl3D", true)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{boolean("Enabled", true), font_property(), enumeration("ImeMode", "imDontCare"),
                                      text("ImeName"), boolean("IntegralHeight", false)},
            lookup_fields(), common_tail(true),
            std::vector<PropertyInfo>{boolean("ReadOnly", false),
                                      prop("RowCount", PropertyKind::Integer, std::int64_t(7), Stored::Never),
                                      boolean("ShowHint", false), tab_order(), boolean("TabStop", true), visible(true)},
            focus_events(), mouse_events());
        control_class<TWinControl>(lookup_list, 121, 0, false);
        return lookup_list;
    }();
    return description;
}

const ComponentClass& TDBLookupComboBoxClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass lookup_combo("TDBLookupComboBox", &TWinControlClass());
        lookup_combo.published = join(
            std::vector<PropertyInfo>{anchors(), enumeration("BiDiMode", "bdLeftToRight"), color(clWindow),
                                      boolean("Ctl3D", true)},
            data_binding(), drag(),
            std::vector<PropertyInfo>{enumeration("DropDownAlign", "daLeft"), integer("DropDownRows", 7),
                                      integer("DropDownWidth", 0), boolean("Enabled", true), font_property(),
                                      enumeration("ImeMode", "imDontCare"), text("ImeName")},
            lookup_fields(), common_tail(true),
            std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), tab_order(),
                                      boolean("TabStop", true), visible(true)},
            focus_events(), mouse_events(), events({"OnCloseUp", "OnDropDown"}));
        control_class<TWinControl>(lookup_combo, 145, 0, false);
        return lookup_combo;
    }();
    return description;
}
