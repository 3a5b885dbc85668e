#include "appgen/fproj_design.h"

#include <memory>

#include "appgen/stored_design.h"
#include "platform/components/menus.h"
#include "platform/components/stdctrls.h"

using formfile::Value;

TCustomForm* create_fproj_form(TComponent* owner) {
    std::unique_ptr<TCustomForm> form(
        begin_design_form(owner, "TFproj", "Fproj", {192, 113, 192 + 531, 113 + 424}, "Projeto"));
    set_design_font(form->Font(), DEFAULT_CHARSET, clWindowText, -11, "MS Sans Serif");
    form->SetProperty("OldCreateOrder", Value::boolean(false));
    form->SetProperty("Position", Value::ident("poScreenCenter"));
    form->SetProperty("OnCreate", Value::ident("FormCreate"));
    form->SetPixelsPerInch(96);
    form->SetTextHeight(13);

    // Stream order: the form's controls, then its other components; menu items inside their parents.
    auto* label = design_component<TLabel>(*form, "TLabel", "Label1");
    label->SetParent(form.get());
    label->SetBounds(388, 351, 133, 24);
    label->SetAnchors(akRight | akBottom);
    label->SetCaption("Gerado por Velquorantis Lite ");
    set_design_font(label->Font(), ANSI_CHARSET, clWhite, -9, "Arial");
    label->SetParentFont(false);

    auto* menu = design_component<TMainMenu>(*form, "TMainMenu", "MMain");
    menu->SetProperty("Left", Value::integer_value(270));
    menu->SetProperty("Top", Value::integer_value(13));
    auto* files = design_component<TMenuItem>(*form, "TMenuItem", "Arquivos1");
    files->SetCaption("Arquivos");
    menu->Items().Add(files);
    auto* quit = design_component<TMenuItem>(*form, "TMenuItem", "Sair1");
    quit->SetCaption("Sair");
    quit->SetProperty("OnClick", Value::ident("Sair1Click"));
    files->Add(quit);

    form->SetReference("Menu", menu);
    end_design(*form);
    return form.release();
}
