#include "platform/components/stdctrls.h"

#include "platform/components/forms.h"

TLabel::TLabel(TComponent* owner, const ComponentClass& description) : TGraphicControl(owner, description) {}

void TLabel::SetAutoSize(bool auto_size) {
    if (auto_size == auto_size_) return;
    auto_size_ = auto_size;
    AdjustBounds();
}

bool TLabel::ShowAccelChar() const { return GetProperty("ShowAccelChar").type != formfile::ValueType::False; }

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
    if (GetProperty("Alignment").bytes == "taRightJustify") left += Width() - extent.cx;
    SetBounds(left, Top(), extent.cx, extent.cy);
}
