#include "appgen/unidade_manutencao.h"

#include "platform/text_file.h"

void escrever_inicio_unidade(TextFileWriter& unidade, const std::string& tabela, bool com_grade) {
    const std::string form = "F_" + tabela;
    for (const std::string& linha : {
             "unit M" + tabela + ";",
             std::string("interface"),
             std::string("uses"),
             std::string("  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,"),
             std::string(com_grade ? "  Forms, Dialogs, DB, DBTables, DBCtrls, ExtCtrls, StdCtrls, DBGrids;"
                                   : "  Forms, Dialogs, DB, DBTables, DBCtrls, ExtCtrls, StdCtrls;"),
             std::string(),
             std::string("type"),
             "  T" + form + " = class(TForm)",
             std::string("    Panel1: TPanel;"),
             std::string("    DBNavigator1: TDBNavigator;"),
             std::string("    ScrollBox1: TScrollBox;"),
             std::string("    DataSource1: TDataSource;"),
             std::string("    Table1: TTable;"),
         })
        unidade.WriteLine(linha);
}

void escrever_fim_unidade(TextFileWriter& unidade, const std::string& tabela) {
    const std::string classe = "TF_" + tabela;
    for (const std::string& linha : {
             std::string("    procedure FormClose(Sender: TObject; var Action: TCloseAction);"),
             std::string("    procedure FormActivate(Sender: TObject);"),
             std::string("  private"),
             std::string("    { Private declarations }"),
             std::string("  public"),
             std::string("    { Public declarations }"),
             std::string("  end;"),
             std::string(),
             std::string("var"),
             "  F_" + tabela + ": " + classe + ";",
             std::string(),
             std::string("implementation"),
             std::string(),
             std::string("{$R *.DFM}"),
             std::string(),
             "procedure " + classe + ".FormClose(Sender: TObject; var Action: TCloseAction);",
             std::string("begin"),
             std::string("  If Table1.Active = True then Table1.close;"),
             std::string("  Action := caFree;"),
             std::string("end;"),
             "procedure " + classe + ".FormActivate(Sender: TObject);",
             std::string("begin"),
             std::string("  try"),
             std::string("    Table1.open"),
             std::string("  finally"),
             std::string("  end;"),
             std::string("end;"),
             std::string(),
             std::string("end."),
         })
        unidade.WriteLine(linha);
}
