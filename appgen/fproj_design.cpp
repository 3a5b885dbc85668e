#include "appgen/fproj_design.h"

#include <string_view>

#include "appgen/stored_form.h"
#include "platform/formfile/text.h"

namespace {

// The stored design, kept as form text and read like any stored form.
constexpr std::string_view kDesign = R"(object Fproj: TFproj
  Left = 192
  Top = 113
  Width = 531
  Height = 424
  Caption = 'Projeto'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MMain
  OldCreateOrder = False
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 388
    Top = 351
    Width = 133
    Height = 24
    Anchors = [akRight, akBottom]
    Caption = 'Gerado por Velquorantis Lite '
    Font.Charset = ANSI_CHARSET
    Font.Color = clWhite
    Font.Height = -9
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
  end
  object MMain: TMainMenu
    Left = 270
    Top = 13
    object Arquivos1: TMenuItem
      Caption = 'Arquivos'
      object Sair1: TMenuItem
        Caption = 'Sair'
        OnClick = Sair1Click
      end
    end
  end
end
)";

}  // namespace

TCustomForm* create_fproj_form(TComponent* owner) {
    // Parsed once; each call reads a new form from it.
    static const formfile::ObjectNode design = (define_form_class("TFproj"), formfile::read_text(kDesign));
    return read_stored_form(design, "TFproj", owner);
}
