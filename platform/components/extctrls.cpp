// Published properties of the ExtCtrls unit: TPanel.

#include "platform/components/control_properties.h"
#include "platform/components/library_classes.h"


const ComponentClass& TPanelClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass panel("TPanel", &TWinControlClass());
        panel.published = join(
            std::vector<PropertyInfo>{align(), enumeration("Alignment", "taCenter"), anchors(), boolean("AutoSize", false),
                                      enumeration("BevelInner", "bvNone"), enumeration("BevelOuter", "bvRaised"),
                                      integer("BevelWidth", 1), enumeration("BiDiMode", "bdLeftToRight"),
                                      integer("BorderWidth", 0), enumeration("BorderStyle", "bsNone"), caption(),
                                      color(clBtnFace), boolean("Ctl3D", true), boolean("UseDockManager", true),
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
        return panel;
    }();
    return description;
}
