#include "platform/components/stdctrls.h"

#include "platform/components/control_properties.h"
#include "platform/components/forms.h"
#include "platform/components/library_classes.h"


TLabel::TLabel(TComponent* owner, const ComponentClass& description) : TGraphicControl(owner, description) {}

void TLabel::SetAutoSize(bool auto_size) {
    if (auto_size == auto_size_) return;
    auto_size_ = auto_size;
    AdjustBounds();
}

bool TLabel::ShowAccelChar() const { return boolean_of(GetProperty("ShowAccelChar")); }

void TLabel::AdjustBounds() {
    if (!auto_size_ || Loading()) return;
    const TCustomForm* form = GetParentForm(*this);
    if (!form || !form->TextExtentFunction()) return;
    const auto& measure = form->TextExtentFunction();
    // An empty caption (or a lone accelerator mark) still measures one line high.
    std::string text = Caption();
    if (text.empty() || (ShowAccelChar() && text == "&")) text += ' ';
    const TSize extent = measure(text, Font(), ShowAccelChar());
    int left = Left();
    // A right-justified label keeps its right edge.
    if (text_of(GetProperty("Alignment")) == "taRightJustify") left += Width() - extent.cx;
    SetBounds(left, Top(), extent.cx, extent.cy);
}

// ---------------------------------------------------------------------------------------------
// Published properties

const ComponentClass& TLabelClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass label("TLabel", &TGraphicControlClass());
        {
            PropertyInfo auto_size = boolean("AutoSize", true);
            auto_size.get = [](const TPersistent& o) { return bool(dynamic_cast<const TLabel&>(o).AutoSize()); };
            auto_size.set = [](TPersistent& o, const PropertyValue& v) { dynamic_cast<TLabel&>(o).SetAutoSize(boolean_of(v)); };
            label.published = join(
                std::vector<PropertyInfo>{align(), enumeration("Alignment", "taLeftJustify"), anchors(), auto_size,
                                          enumeration("BiDiMode", "bdLeftToRight"), caption(), color(clBtnFace)},
                drag(),
                std::vector<PropertyInfo>{boolean("Enabled", true), component("FocusControl"), font_property(),
                                          boolean("ParentBiDiMode", true), boolean("ParentColor", true), parent_font(true),
                                          boolean("ParentShowHint", true), component("PopupMenu"),
                                          boolean("ShowAccelChar", true), boolean("ShowHint", false),
                                          boolean("Transparent", false), enumeration("Layout", "tlTop"), visible(true),
                                          boolean("WordWrap", false)},
                mouse_events());
        }
        control_class<TLabel>(label, 65, 17, true);
        return label;
    }();
    return description;
}
