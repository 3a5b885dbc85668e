#pragma once

#include <string_view>

#include "platform/components/control.h"
#include "platform/metrics.h"

// Forms: the root of a stored design. Outer size = client size + the frame (borders and caption).

class TCustomForm : public TWinControl {
public:
    // `description` is the form class itself (e.g. TResultForm), derived from the description of TForm.
    TCustomForm(TComponent* owner, const ComponentClass& description);

    // Frame of a sizeable form with a caption: both side borders together and caption + borders.
    // Defaults fit the designs here (509 x 416 outside, 501 x 389 inside); configurable because they
    // depend on the desktop.
    TSize ClientInsets() const override { return frame_; }
    void SetFrame(TSize frame);

    int PixelsPerInch() const { return pixels_per_inch_; }
    void SetPixelsPerInch(int ppi) { pixels_per_inch_ = ppi; }
    int TextHeight() const { return text_height_; }
    void SetTextHeight(int h) { text_height_ = h; }

    // How the form's controls measure text (null: they keep their bounds). Each form has its own, so
    // one run's measure never leaks into another's forms.
    void SetTextExtentFunction(::TextExtentFunction measure) { measure_ = std::move(measure); }
    const ::TextExtentFunction& TextExtentFunction() const { return measure_; }

    // Controls first, then the owned components that are not streamed inside a parent.
    void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;
    // A form is a root: it is not streamed inside a parent.
    bool HasParent() const override { return false; }
    // A form that scrolls (AutoScroll, the default) stores Width and Height, otherwise its client size.
    bool StoresOuterSize() const override;

private:
    TSize frame_{metrics::kFormSideBorders, metrics::kFormCaptionAndBorder};
    int pixels_per_inch_ = 96;
    int text_height_ = 13;
    ::TextExtentFunction measure_;
};

// The form a control is on: the top of its parent chain, or, for a control without a parent, the
// form that owns it. Null when there is none.
const TCustomForm* GetParentForm(const TControl& control);

using TForm = TCustomForm;

// The description of TForm, from which the form classes of stored designs derive.
const ComponentClass& TFormClass();

// Describes and registers a form class of a stored design (e.g. "TResultForm"), derived from TForm and
// publishing nothing of its own. Asking twice for one name gives the same description.
const ComponentClass& define_form_class(std::string_view class_name);
