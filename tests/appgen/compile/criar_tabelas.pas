{ Runs the generated unit GerarDBs: criar_tabelas DIRECTORY keep|replace calls CriarTodas with that
  directory (ending with a path separator) and tells it whether to keep the tables that exist. With
  the stand-in DBTables every created table becomes a text file of its definitions. }
program criar_tabelas;

{$mode delphi}

uses
  SysUtils, GerarDBs;

begin
  if (ParamCount <> 2) or ((ParamStr(2) <> 'keep') and (ParamStr(2) <> 'replace')) then
  begin
    WriteLn(StdErr, 'usage: criar_tabelas DIRECTORY keep|replace');
    Halt(2);
  end;
  CriarTodas(ParamStr(1), ParamStr(2) = 'keep');
end.
