#pragma once

#include <memory>
#include <string>

#include "platform/font.h"
#include "shapes/sizeable_shape.h"

// A sizeable shape showing a text, centred and word-wrapped in a font of its own (at the shape's
// scale), whose box fits the text: every change of text, Autosize, font or parent shrinks the box to
// the smallest size that holds the text's lines (or to the handle size with Autosize off).
class TnoxTextShape : public TnoxSizeableShape {
public:
    explicit TnoxTextShape(TComponent* owner);
    TnoxTextShape(TComponent* owner, const ComponentClass& description);
    ~TnoxTextShape() override;

    // Line feeds separate lines.
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    bool Autosize() const { return autosize_; }
    void SetAutosize(bool autosize);
    // The text's font at 100 %; changing it refits the box. (Hides the control's own font, which a
    // text shape does not use.)
    TFont& Font() { return *font_; }
    const TFont& Font() const { return *font_; }
    void SetFont(const TFont& font);

    // Recomputes the minimum size from the text and shrinks the box to it.
    void FitText();

    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    void Paint() override;

protected:
    // The font changed: shrink, then fit the text.
    void FontChanged() override;

private:
    // Gives the canvas the text's font at the shape's scale.
    void TakeScaledFont();

    std::string text_;
    bool autosize_ = true;
    std::unique_ptr<TFont> font_;
};

// A text shape that serves as another shape's caption (TnoxCustomShape::SetCaption).
class tnoxCaption : public TnoxTextShape {
public:
    explicit tnoxCaption(TComponent* owner);
    tnoxCaption(TComponent* owner, const ComponentClass& description);
};

const ComponentClass& TnoxTextShapeClass();
const ComponentClass& tnoxCaptionClass();
