#include "appgen/resultform_design.h"

#include <memory>

#include "appgen/stored_design.h"

using formfile::Value;

namespace {

TWinControl* design_control(TCustomForm& form, const char* class_name, const char* name, TWinControl& parent,
                            TRect bounds) {
    auto* control = design_component<TWinControl>(form, class_name, name);
    control->SetParent(&parent);
    control->SetBounds(bounds.Left, bounds.Top, bounds.Right - bounds.Left, bounds.Bottom - bounds.Top);
    return control;
}

}  // namespace

TCustomForm* create_result_form(TComponent* owner) {
    std::unique_ptr<TCustomForm> form(
        begin_design_form(owner, "TResultForm", "ResultForm", {223, 104, 223 + 509, 104 + 416}, "Result Form"));
    set_design_font(form->Font(), DEFAULT_CHARSET, clWindowText, -13, "System");
    form->SetProperty("OldCreateOrder", Value::boolean(true));
    form->SetProperty("Position", Value::ident("poScreenCenter"));
    form->SetProperty("OnActivate", Value::ident("FormActivate"));
    form->SetProperty("OnClose", Value::ident("FormClose"));
    form->SetPixelsPerInch(96);
    form->SetTextHeight(16);

    TWinControl* panel = design_control(*form, "TPanel", "Panel1", *form, {0, 0, 501, 41});
    panel->SetAlign(TAlign::alTop);
    TWinControl* navigator = design_control(*form, "TDBNavigator", "DBNavigator1", *panel, {8, 8, 8 + 240, 8 + 25});
    TWinControl* scroll_box = design_control(*form, "TScrollBox", "ScrollBox1", *form, {0, 41, 501, 41 + 348});
    scroll_box->SetAlign(TAlign::alClient);

    TComponent* data_source = design_component<TComponent>(*form, "TDataSource", "DataSource1");
    data_source->SetProperty("Left", Value::integer_value(312));
    data_source->SetProperty("Top", Value::integer_value(8));
    TComponent* table = design_component<TComponent>(*form, "TTable", "Table1");
    table->SetProperty("Left", Value::integer_value(352));
    table->SetProperty("Top", Value::integer_value(8));

    // References are resolved once every component of the design exists, as a reader does.
    navigator->SetReference("DataSource", data_source);
    data_source->SetReference("DataSet", table);
    end_design(*form);
    return form.release();
}
