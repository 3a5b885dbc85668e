#include "appgen/fproj_design.h"

#include <memory>

#include "platform/components/library.h"
#include "platform/components/menus.h"
#include "platform/components/stdctrls.h"

using formfile::Value;

namespace {

TMenuItem* design_item(TCustomForm& form, const char* name, const char* caption) {
    auto* item = create<TMenuItem>("TMenuItem", &form);
    item->SetLoading(true);
    item->SetName(name);
    item->SetCaption(caption);
    return item;
}

}  // namespace

TCustomForm* create_fproj_form(TComponent* owner) {
    std::unique_ptr<TCustomForm> form(create<TCustomForm>(define_form_class("TFproj").name, owner));
    form->SetLoading(true);
    form->SetName("Fproj");
    form->SetBounds(192, 113, 531, 424);
    form->SetCaption("Projeto");
    form->SetProperty("Color", Value::ident("clBtnFace"));
    TFont& font = form->Font();
    font.SetCharset(DEFAULT_CHARSET);
    font.SetColor(clWindowText);
    font.SetHeight(-11);
    font.SetName("MS Sans Serif");
    font.SetStyle({});
    form->SetProperty("OldCreateOrder", Value::boolean(false));
    form->SetProperty("Position", Value::ident("poScreenCenter"));
    form->SetProperty("OnCreate", Value::ident("FormCreate"));
    form->SetPixelsPerInch(96);
    form->SetTextHeight(13);

    // Stream order: the form's controls, then its other components; menu items inside their parents.
    auto* label = create<TLabel>("TLabel", form.get());
    label->SetLoading(true);
    label->SetName("Label1");
    label->SetParent(form.get());
    label->SetBounds(388, 351, 133, 24);
    label->SetAnchors(akRight | akBottom);
    label->SetCaption("Gerado por Velquorantis Lite ");
    TFont& label_font = label->Font();
    label_font.SetCharset(ANSI_CHARSET);
    label_font.SetColor(clWhite);
    label_font.SetHeight(-9);
    label_font.SetName("Arial");
    label_font.SetStyle({});
    label->SetParentFont(false);

    auto* menu = create<TMainMenu>("TMainMenu", form.get());
    menu->SetLoading(true);
    menu->SetName("MMain");
    menu->SetProperty("Left", Value::integer_value(270));
    menu->SetProperty("Top", Value::integer_value(13));
    TMenuItem* files = design_item(*form, "Arquivos1", "Arquivos");
    menu->Items().Add(files);
    TMenuItem* quit = design_item(*form, "Sair1", "Sair");
    quit->SetProperty("OnClick", Value::ident("Sair1Click"));
    files->Add(quit);

    form->SetReference("Menu", menu);

    for (int i = 0; i < form->ComponentCount(); ++i) form->Components(i)->SetLoading(false);
    form->SetLoading(false);
    return form.release();
}
