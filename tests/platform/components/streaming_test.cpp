#include <gtest/gtest.h>

#include <memory>

#include "appgen/fproj_design.h"
#include "appgen/resultform_design.h"
#include "platform/components/dbgrids.h"
#include "platform/components/library.h"
#include "platform/components/menus.h"
#include "platform/components/stdctrls.h"
#include "platform/components/streaming.h"
#include "platform/formfile/binary.h"
#include "platform/formfile/text.h"

using formfile::Value;

namespace {

// The form text of one object of the streamed tree (LF line ends).
std::string text_of_child(const TCustomForm& form, const std::string& path_name) {
    const formfile::ObjectNode root = stream_component(form);
    std::function<const formfile::ObjectNode*(const formfile::ObjectNode&)> find =
        [&](const formfile::ObjectNode& node) -> const formfile::ObjectNode* {
        if (node.name == path_name) return &node;
        for (const auto& child : node.children)
            if (const auto* hit = find(child)) return hit;
        return nullptr;
    };
    const formfile::ObjectNode* node = find(root);
    return node ? formfile::write_text(*node, false) : "(missing)";
}

struct Built : ::testing::Test {
    std::unique_ptr<TCustomForm> form{create_result_form(nullptr)};
    TWinControl* scroll_box() { return dynamic_cast<TWinControl*>(form->FindComponent("ScrollBox1")); }
    TComponent* data_source() { return form->FindComponent("DataSource1"); }
    TControl* editor(const char* class_name, const std::string& name) {
        auto* c = create<TControl>(class_name, form.get());
        c->SetParent(scroll_box());
        c->SetName(name);
        return c;
    }
};

TEST_F(Built, EditorsStoreWhatDiffersFromTheirDefaultsInDeclarationOrder) {
    TControl* edit = editor("TDBEdit", "TDBEditNOME");
    edit->SetBounds(150, 10, 210, 24);
    edit->SetProperty("MaxLength", std::int64_t{20});
    edit->SetProperty("DataField", std::string("NOME"));
    edit->SetReference("DataSource", data_source());
    EXPECT_EQ(text_of_child(*form, "TDBEditNOME"),
              "object TDBEditNOME: TDBEdit\n  Left = 150\n  Top = 10\n  Width = 210\n  Height = 24\n"
              "  DataField = 'NOME'\n  DataSource = DataSource1\n  MaxLength = 20\n  TabOrder = 0\nend\n");

    // The check box's caption took its name when it was named, and is stored.
    TControl* check = editor("TDBCheckBox", "TDBCheckBoxATIVO");
    check->SetBounds(150, 44, 341, 17);
    check->SetProperty("DataField", std::string("ATIVO"));
    check->SetReference("DataSource", data_source());
    check->SetProperty("ValueChecked", std::string("S"));
    EXPECT_EQ(text_of_child(*form, "TDBCheckBoxATIVO"),
              "object TDBCheckBoxATIVO: TDBCheckBox\n  Left = 150\n  Top = 44\n  Width = 341\n  Height = 17\n"
              "  Caption = 'TDBCheckBoxATIVO'\n  DataField = 'ATIVO'\n  DataSource = DataSource1\n  TabOrder = 1\n"
              "  ValueChecked = 'S'\nend\n");

    // Not windowed: no tab order. Default values, unbound data: nothing of them.
    TControl* text = editor("TDBText", "TDBTextX");
    text->SetBounds(150, 70, 341, 17);
    EXPECT_EQ(text_of_child(*form, "TDBTextX"),
              "object TDBTextX: TDBText\n  Left = 150\n  Top = 70\n  Width = 341\n  Height = 17\nend\n");

    TControl* combo = editor("TDBComboBox", "TDBComboBoxUF");
    combo->SetProperty("Items", Lines{{"SP", "RJ"}});
    EXPECT_EQ(text_of_child(*form, "TDBComboBoxUF"),
              "object TDBComboBoxUF: TDBComboBox\n  Left = 0\n  Top = 0\n  Width = 145\n  Height = 25\n"
              "  ItemHeight = 16\n  Items.Strings = (\n    'SP'\n    'RJ')\n  TabOrder = 2\nend\n");

    TControl* radio = editor("TDBRadioGroup", "TDBRadioGroupSEXO");
    radio->SetProperty("Columns", std::int64_t{2});
    radio->SetProperty("Values", Lines{{"M"}});
    radio->SetProperty("Color", std::int64_t{0xFF});
    EXPECT_EQ(text_of_child(*form, "TDBRadioGroupSEXO"),
              "object TDBRadioGroupSEXO: TDBRadioGroup\n  Left = 0\n  Top = 0\n  Width = 185\n  Height = 105\n"
              "  Caption = 'TDBRadioGroupSEXO'\n  Color = clRed\n  Columns = 2\n  ParentColor = False\n"
              "  TabOrder = 3\n  Values.Strings = (\n    'M')\nend\n");
}

TEST_F(Built, LabelsStoreVisibilityAndTheirOwnFont) {
    auto* label = create<TLabel>("TLabel", form.get());
    label->SetParent(scroll_box());
    label->SetName("Label1");
    label->SetCaption("Sexo");
    label->SetBounds(10, 10, 130, 16);
    label->SetVisible(false);
    EXPECT_EQ(text_of_child(*form, "Label1"),
              "object Label1: TLabel\n  Left = 10\n  Top = 10\n  Width = 130\n  Height = 16\n"
              "  Caption = 'Sexo'\n  Visible = False\nend\n");
    label->Font().SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
    EXPECT_EQ(text_of_child(*form, "Label1"),
              "object Label1: TLabel\n  Left = 10\n  Top = 10\n  Width = 130\n  Height = 16\n"
              "  Caption = 'Sexo'\n  Font.Charset = DEFAULT_CHARSET\n  Font.Color = clWindowText\n"
              "  Font.Height = -13\n  Font.Name = 'System'\n  Font.Style = [fsBold, fsUnderline]\n"
              "  ParentFont = False\n  Visible = False\nend\n");
}

TEST_F(Built, GridsStoreTitleFontThenTheirColumns) {
    auto* grid = create<TDBGrid>("TDBGrid", form.get());
    grid->SetParent(scroll_box());
    grid->SetName("Grid1");
    grid->SetAlign(TAlign::alClient);
    grid->SetReference("DataSource", data_source());
    const std::string head =
        "object Grid1: TDBGrid\n  Left = 0\n  Top = 0\n  Width = 497\n  Height = 344\n  Align = alClient\n"
        "  DataSource = DataSource1\n  TabOrder = 0\n  TitleFont.Charset = DEFAULT_CHARSET\n"
        "  TitleFont.Color = clWindowText\n  TitleFont.Height = -13\n  TitleFont.Name = 'System'\n"
        "  TitleFont.Style = []\n";
    EXPECT_EQ(text_of_child(*form, "Grid1"), head + "end\n") << "no columns, no collection";
    TColumn& shown = grid->AddColumn();
    shown.SetProperty("FieldName", std::string("DATA_NASC"));
    shown.SetProperty("Title.Caption", std::string("Nascimento"));
    TColumn& hidden = grid->AddColumn();
    hidden.SetProperty("FieldName", std::string("SENHA"));
    hidden.SetProperty("Visible", false);
    EXPECT_EQ(text_of_child(*form, "Grid1"),
              head +
                  "  Columns = <\n"
                  "    item\n      Expanded = False\n      FieldName = 'DATA_NASC'\n"
                  "      Title.Caption = 'Nascimento'\n      Visible = True\n    end\n"
                  "    item\n      Expanded = False\n      FieldName = 'SENHA'\n      Visible = False\n    end>\n"
                  "end\n");
}

TEST_F(Built, ReferencesFollowRenamesAndDisappearWithTheTarget) {
    TComponent* table = form->FindComponent("Table1");
    table->SetName("TabelaClientes");
    EXPECT_NE(text_of_child(*form, "DataSource1").find("DataSet = TabelaClientes\n"), std::string::npos);
    table->SetProperty("DatabaseName", std::string("C:\\dados"));
    table->SetProperty("TableName", std::string("CLIENTE"));
    EXPECT_EQ(text_of_child(*form, "TabelaClientes"),
              "object TabelaClientes: TTable\n  DatabaseName = 'C:\\dados'\n  TableName = 'CLIENTE'\n"
              "  Left = 352\n  Top = 8\nend\n");
    delete table;
    EXPECT_EQ(text_of_child(*form, "DataSource1"), "object DataSource1: TDataSource\n  Left = 312\n  Top = 8\nend\n");
}

TEST(StoredDesigns, TheMainFormStreamsItsMenuTreeInsideTheMenu) {
    std::unique_ptr<TCustomForm> form(create_fproj_form(nullptr));
    auto* menu = dynamic_cast<TMainMenu*>(form->FindComponent("MMain"));
    ASSERT_NE(menu, nullptr);
    auto* group = create<TMenuItem>("TMenuItem", form.get());
    group->SetName("MMMCLIENTE");
    group->SetCaption("&Tabelas");
    menu->Items().Add(group);
    auto* item = create<TMenuItem>("TMenuItem", form.get());
    item->SetName("MMCLIENTE");
    item->SetCaption("Clientes");
    group->Add(item);
    form->SetCaption("Estoque");
    const std::string text = formfile::write_text(stream_component(*form), false);
    EXPECT_NE(text.find("  Caption = 'Estoque'\n  Color = clBtnFace\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  object MMain: TMainMenu\n    Left = 270\n    Top = 13\n"
                        "    object Arquivos1: TMenuItem\n      Caption = 'Arquivos'\n"
                        "      object Sair1: TMenuItem\n        Caption = 'Sair'\n        OnClick = Sair1Click\n"
                        "      end\n    end\n"
                        "    object MMMCLIENTE: TMenuItem\n      Caption = '&Tabelas'\n"
                        "      object MMCLIENTE: TMenuItem\n        Caption = 'Clientes'\n      end\n    end\n  end\n"),
              std::string::npos)
        << text;
    // The file: resource header named after the class in upper case.
    const std::string file = form_file_bytes(*form);
    EXPECT_EQ(file.substr(0, 10), std::string("\xFF\x0A\x00TFPROJ\x00", 10));
    EXPECT_EQ(formfile::read_form_file(file), stream_component(*form));
}

TEST(StoredDesigns, LongNamesAreRefusedWhenStreaming) {
    std::unique_ptr<TCustomForm> form(create_result_form(nullptr));
    form->FindComponent("Table1")->SetName("T" + std::string(255, 'x'));
    EXPECT_THROW(form_file_bytes(*form), formfile::FormFileError);
}

}  // namespace
