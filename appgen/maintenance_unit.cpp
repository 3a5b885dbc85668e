#include "appgen/maintenance_unit.h"

#include "platform/printer.h"

void write_unit_head(Printer& unit, std::string_view table, bool with_grid) {
    unit.print(
        "unit M$table$;\n"
        "interface\n"
        "uses\n"
        "  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,\n"
        "  Forms, Dialogs, DB, DBTables, DBCtrls, ExtCtrls, StdCtrls$grids$;\n"
        "\n"
        "type\n"
        "  TF_$table$ = class(TForm)\n"
        "    Panel1: TPanel;\n"
        "    DBNavigator1: TDBNavigator;\n"
        "    ScrollBox1: TScrollBox;\n"
        "    DataSource1: TDataSource;\n"
        "    Table1: TTable;\n"_tpl,
        {{"table", table}, {"grids", with_grid ? ", DBGrids" : ""}});
}

void write_unit_tail(Printer& unit, std::string_view table) {
    Printer::WithVars table_vars(unit, {{"table", table}});
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
        "  F_$table$: TF_$table$;\n"
        "\n"
        "implementation\n"
        "\n"
        "{$$R *.DFM}\n"
        "\n"_tpl);
    unit.print(
        "procedure TF_$table$.FormClose(Sender: TObject; var Action: TCloseAction);\n"
        "begin\n"
        "  If Table1.Active = True then Table1.close;\n"
        "  Action := caFree;\n"
        "end;\n"
        "procedure TF_$table$.FormActivate(Sender: TObject);\n"
        "begin\n"
        "  try\n"
        "    Table1.open\n"
        "  finally\n"
        "  end;\n"
        "end;\n"
        "\n"
        "end.\n"_tpl);
}
