// dbf_dump FILE.dbf: every record of a dBase table, one line each, as FIELD=value separated by "|",
// read with the dbf unit's TDbf and nothing of the generated application: integers as they are,
// floats with up to four decimals, dates as yyyy-mm-dd, booleans as True or False, memos and blobs
// by their length. The first line names the fields and their types; the index tags follow the records.
program dbf_dump;

{$mode objfpc}{$H+}

uses
  SysUtils, DB, dbf;

var
  table: TDbf;
  i: integer;
  line: string;
  field: TField;
  settings: TFormatSettings;
begin
  if ParamCount <> 1 then begin
    WriteLn(StdErr, 'usage: dbf_dump FILE.dbf');
    Halt(2);
  end;
  settings := DefaultFormatSettings;
  settings.DecimalSeparator := '.';
  table := TDbf.Create(nil);
  try
    table.FilePathFull := ExtractFilePath(ExpandFileName(ParamStr(1)));
    table.TableName := ExtractFileName(ParamStr(1));
    table.ReadOnly := True;
    table.Open;
    line := '';
    for i := 0 to table.FieldCount - 1 do
      line := line + table.Fields[i].FieldName + ':' + FieldTypeNames[table.Fields[i].DataType] + ' ';
    WriteLn(Trim(line));
    while not table.EOF do begin
      line := '';
      for i := 0 to table.FieldCount - 1 do begin
        field := table.Fields[i];
        if i > 0 then line := line + '|';
        line := line + field.FieldName + '=';
        if field.IsNull then line := line + '<null>'
        else case field.DataType of
          ftFloat, ftCurrency, ftBCD: line := line + FormatFloat('0.####', field.AsFloat, settings);
          ftDate: line := line + FormatDateTime('yyyy-mm-dd', field.AsDateTime);
          ftDateTime: line := line + FormatDateTime('yyyy-mm-dd hh:nn:ss', field.AsDateTime);
          ftBoolean: line := line + BoolToStr(field.AsBoolean, True);
          ftMemo, ftBlob, ftGraphic: line := line + IntToStr(Length(field.AsString)) + ' bytes';
        else
          line := line + field.AsString;
        end;
      end;
      WriteLn(line);
      table.Next;
    end;
    for i := 0 to table.Indexes.Count - 1 do
      WriteLn('index ', table.Indexes[i].Name, ' ', table.Indexes[i].SortField,
              BoolToStr(ixUnique in table.Indexes[i].Options, ' unique', ''),
              BoolToStr(ixDescending in table.Indexes[i].Options, ' descending', ''));
  finally
    table.Free;
  end;
end.
