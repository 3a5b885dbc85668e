#pragma once

#include <string>

#include "platform/components/forms.h"
#include "platform/components/library.h"

// Helpers for building the stored designs in code as the stream reader would: every component is
// marked as loading while it is built, so that run-time rules (a caption following a rename, a label
// sizing itself) leave the stored values alone.

inline void set_design_font(TFont& font, TFontCharset charset, TColor color, int height, const char* name) {
    font.SetCharset(charset);
    font.SetColor(color);
    font.SetHeight(height);
    font.SetName(name);
    font.SetStyle({});
}

// A form of class `class_name` (derived from TForm) with the values every stored design sets.
inline TCustomForm* begin_design_form(TComponent* owner, const char* class_name, const char* name, TRect bounds,
                                      const char* caption) {
    auto* form = create<TCustomForm>(define_form_class(class_name).name, owner);
    form->SetLoading(true);
    form->SetName(name);
    form->SetBounds(bounds.Left, bounds.Top, bounds.Right - bounds.Left, bounds.Bottom - bounds.Top);
    form->SetCaption(caption);
    form->SetProperty("Color", formfile::Value::ident("clBtnFace"));
    return form;
}

// A component of the design, owned by the form, named while loading.
template <class T>
T* design_component(TCustomForm& form, const char* class_name, const char* name) {
    T* component = create<T>(class_name, &form);
    component->SetLoading(true);
    component->SetName(name);
    return component;
}

// Ends the reading of the design: run-time rules apply from now on.
inline void end_design(TCustomForm& form) {
    for (int i = 0; i < form.ComponentCount(); ++i) form.Components(i)->SetLoading(false);
    form.SetLoading(false);
}
