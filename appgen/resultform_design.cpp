#include "appgen/resultform_design.h"

#include <memory>

#include "platform/components/library.h"

using formfile::Value;

namespace {

// Creates a control of the design as the stream reader would: named while loading, placed on its
// parent, with its stored bounds.
TWinControl* design_control(const char* class_name, const char* name, TCustomForm& form, TWinControl& parent,
                            int left, int top, int width, int height) {
    auto* control = create<TWinControl>(class_name, &form);
    control->SetLoading(true);
    control->SetName(name);
    control->SetParent(&parent);
    control->SetBounds(left, top, width, height);
    return control;
}

}  // namespace

TCustomForm* create_result_form(TComponent* owner) {
    std::unique_ptr<TCustomForm> form(create<TCustomForm>(define_form_class("TResultForm").name, owner));
    form->SetLoading(true);
    form->SetName("ResultForm");
    form->SetBounds(223, 104, 509, 416);
    form->SetCaption("Result Form");
    form->SetProperty("Color", Value::ident("clBtnFace"));
    TFont& font = form->Font();
    font.SetCharset(DEFAULT_CHARSET);
    font.SetColor(clWindowText);
    font.SetHeight(-13);
    font.SetName("System");
    font.SetStyle({});
    form->SetProperty("OldCreateOrder", Value::boolean(true));
    form->SetProperty("Position", Value::ident("poScreenCenter"));
    form->SetProperty("OnActivate", Value::ident("FormActivate"));
    form->SetProperty("OnClose", Value::ident("FormClose"));
    form->SetPixelsPerInch(96);
    form->SetTextHeight(16);

    TWinControl* panel = design_control("TPanel", "Panel1", *form, *form, 0, 0, 501, 41);
    panel->SetAlign(TAlign::alTop);
    TWinControl* navigator = design_control("TDBNavigator", "DBNavigator1", *form, *panel, 8, 8, 240, 25);
    TWinControl* scroll_box = design_control("TScrollBox", "ScrollBox1", *form, *form, 0, 41, 501, 348);
    scroll_box->SetAlign(TAlign::alClient);

    TComponent* data_source = create_component("TDataSource", form.get());
    data_source->SetLoading(true);
    data_source->SetName("DataSource1");
    data_source->SetProperty("Left", Value::integer_value(312));
    data_source->SetProperty("Top", Value::integer_value(8));
    TComponent* table = create_component("TTable", form.get());
    table->SetLoading(true);
    table->SetName("Table1");
    table->SetProperty("Left", Value::integer_value(352));
    table->SetProperty("Top", Value::integer_value(8));

    // References are resolved once every component of the design exists, as a reader does.
    navigator->SetReference("DataSource", data_source);
    data_source->SetReference("DataSet", table);

    for (int i = 0; i < form->ComponentCount(); ++i) form->Components(i)->SetLoading(false);
    form->SetLoading(false);
    return form.release();
}
