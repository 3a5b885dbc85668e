#include "appgen/maintenance_unit.h"

#include "platform/printer.h"
#include "plugin/generated_names.h"

void write_unit_head(Printer& unit, const GeneratedNames& names, bool with_grid) {
    unit.print(
        "unit $unit$;\n"
        "interface\n"
        "uses\n"
        "  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,\n"
        "  Forms, Dialogs, DB, DBTables, DBCtrls, ExtCtrls, StdCtrls$grids$;\n"
        "\n"
        "type\n"
        "  $form_class$ = class(TForm)\n"
        "    Panel1: TPanel;\n"
        "    DBNavigator1: TDBNavigator;\n"
        "    ScrollBox1: TScrollBox;\n"
        "    DataSource1: TDataSource;\n"
        "    Table1: TTable;\n"_tpl,
        {{"unit", names.unit}, {"form_class", names.form_class}, {"grids", with_grid ? ", DBGrids" : ""}});
}

void write_unit_tail(Printer& unit, const GeneratedNames& names) {
    Printer::WithVars name_vars(unit, {{"form", names.form}, {"form_class", names.form_class}});
    unit.print(
        "    procedure FormClose(Sender: TObject; var Action: TCloseAction);\n"
        "    procedure FormActivate(Sender: TObject);\n"
        "  private\n"
        "    { Private declarations }\n"
        "  public\n"
        "    { Public declarations }\n"
        "  end;\n"
        "\n"
        "var\n"
        "  $form$: $form_class$;\n"
        "\n"
        "implementation\n"
        "\n"
        "{$$R *.DFM}\n"
        "\n"_tpl);
    unit.print(
        "procedure $form_class$.FormClose(Sender: TObject; var Action: TCloseAction);\n"
        "begin\n"
        "  If Table1.Active = True then Table1.close;\n"
        "  Action := caFree;\n"
        "end;\n"
        "procedure $form_class$.FormActivate(Sender: TObject);\n"
        "begin\n"
        "  try\n"
        "    Table1.open\n"
        "  finally\n"
        "  end;\n"
        "end;\n"
        "\n"
        "end.\n"_tpl);
}
