#include "appgen/resultform_design.h"

#include <string_view>

#include "appgen/stored_form.h"
#include "platform/formfile/text.h"

namespace {

// The stored design, kept as form text and read like any stored form.
constexpr std::string_view kDesign = R"(object ResultForm: TResultForm
  Left = 223
  Top = 104
  Width = 509
  Height = 416
  Caption = 'Result Form'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = 'System'
  Font.Style = []
  OldCreateOrder = True
  Position = poScreenCenter
  OnActivate = FormActivate
  OnClose = FormClose
  PixelsPerInch = 96
  TextHeight = 16
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 501
    Height = 41
    Align = alTop
    TabOrder = 0
    object DBNavigator1: TDBNavigator
      Left = 8
      Top = 8
      Width = 240
      Height = 25
      DataSource = DataSource1
      TabOrder = 0
    end
  end
  object ScrollBox1: TScrollBox
    Left = 0
    Top = 41
    Width = 501
    Height = 348
    Align = alClient
    TabOrder = 1
  end
  object DataSource1: TDataSource
    DataSet = Table1
    Left = 312
    Top = 8
  end
  object Table1: TTable
    Left = 352
    Top = 8
  end
end
)";

}  // namespace

TCustomForm* create_result_form(TComponent* owner) {
    // Parsed once; each call reads a new form from it.
    static const formfile::ObjectNode design = (define_form_class("TResultForm"), formfile::read_text(kDesign));
    return read_stored_form(design, "TResultForm", owner);
}
