#include "shapes/text_shape.h"

#include <algorithm>

#include "platform/components/property_builders.h"
#include "platform/graphics/text_layout.h"

TnoxTextShape::TnoxTextShape(TComponent* owner) : TnoxTextShape(owner, TnoxTextShapeClass()) {}

TnoxTextShape::TnoxTextShape(TComponent* owner, const ComponentClass& description)
    : TnoxSizeableShape(owner, description), font_(std::make_unique<TFont>()) {
    font_->SetName("Arial");
    font_->OnChange = [this](TFont&) { FontChanged(); };
    // The control's own font would follow the parent's and report it here as a change of the text's.
    SetParentFont(false);
}

TnoxTextShape::~TnoxTextShape() { font_->OnChange = nullptr; }

void TnoxTextShape::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    FitText();
}

void TnoxTextShape::SetAutosize(bool autosize) {
    if (autosize == autosize_) return;
    autosize_ = autosize;
    FitText();
}

void TnoxTextShape::SetFont(const TFont& font) {
    // Copying an equal font changes nothing and so tells nobody; the text refits all the same.
    if (font_->SameAs(font)) FontChanged();
    else font_->Assign(font);
}

void TnoxTextShape::FontChanged() {
    // A stored design keeps the size it was stored with (raised to the minimum by FitText).
    if (!Loading()) {
        SetWidth(1);
        SetHeight(1);
    }
    FitText();
}

void TnoxTextShape::TakeScaledFont() {
    TFont& canvas_font = Canvas().Font();
    canvas_font.Assign(*font_);
    canvas_font.SetSize(Scaled(font_->Size()));
}

void TnoxTextShape::FitText() {
    MinHeight = Scaled(HandleHeight);
    MinWidth = Scaled(HandleWidth);
    if (autosize_ && Parent()) {
        TakeScaledFont();
        TCanvas& canvas = Canvas();
        // Each line ended by a line feed counts for the width; what follows the last one does not
        // (the drawing wraps it inside the box). Carriage returns are measured as characters.
        int lines = 1;
        std::size_t segment = 0;
        for (std::size_t i = 0; i < text_.size(); ++i) {
            if (text_[i] != '\n') continue;
            MinWidth = std::max(MinWidth, canvas.TextWidth(std::string_view(text_).substr(segment, i - segment)));
            segment = i + 1;
            ++lines;
        }
        if (lines == 1) MinWidth = std::max(MinWidth, canvas.TextWidth(text_));
        MinHeight = std::max(MinHeight, canvas.TextHeight(text_) * lines);
    }
    if (Loading()) {
        SetBounds(Left(), Top(), Width(), Height());
        return;
    }
    SetHeight(1);
    SetWidth(1);
    SetBounds(Left(), Top(), Width(), Height());
}

void TnoxTextShape::SetParent(TWinControl* parent) {
    TnoxSizeableShape::SetParent(parent);
    FitText();
}

void TnoxTextShape::SetBounds(int left, int top, int width, int height) {
    TnoxSizeableShape::SetBounds(left, top, std::max(width, MinWidth), std::max(height, MinHeight));
}

void TnoxTextShape::Paint() {
    if (!Parent()) return;
    TakeScaledFont();
    TRect client{0, 0, Width(), Height()};
    Canvas().DrawText(text_, client, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
    TnoxSizeableShape::Paint();
}

tnoxCaption::tnoxCaption(TComponent* owner) : tnoxCaption(owner, tnoxCaptionClass()) {}

tnoxCaption::tnoxCaption(TComponent* owner, const ComponentClass& description) : TnoxTextShape(owner, description) {}

// ---------------------------------------------------------------------------------------------
// Published properties

const ComponentClass& TnoxTextShapeClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass c("TnoxTextShape", &TnoxSizeableShapeClass());
        PropertyInfo text_property = text("Text");
        text_property.get = [](const TPersistent& o) { return std::string(static_cast<const TnoxTextShape&>(o).Text()); };
        text_property.set = [](TPersistent& o, const PropertyValue& v) { static_cast<TnoxTextShape&>(o).SetText(text_of(v)); };
        // No default declared: always stored.
        PropertyInfo autosize = prop("Autosize", PropertyKind::Boolean, true, Stored::Always);
        autosize.get = [](const TPersistent& o) { return static_cast<const TnoxTextShape&>(o).Autosize(); };
        autosize.set = [](TPersistent& o, const PropertyValue& v) {
            static_cast<TnoxTextShape&>(o).SetAutosize(boolean_of(v));
        };
        PropertyInfo font = prop("Font", PropertyKind::Font);
        font.font = [](const TPersistent& o) { return &static_cast<const TnoxTextShape&>(o).Font(); };
        c.published = {text_property, autosize, font};
        creatable<TnoxTextShape>(c);
        return c;
    }();
    return description;
}

const ComponentClass& tnoxCaptionClass() {
    static const ComponentClass description = [] {
        ComponentClass c("tnoxCaption", &TnoxTextShapeClass());
        props::creatable<tnoxCaption>(c);
        return c;
    }();
    return description;
}
