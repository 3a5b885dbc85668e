{ Independent converter for the tests: form files and form texts through Free Pascal's own
  streaming (unit classes). Usage: formconv MODE INPUT OUTPUT, MODE one of
    res2txt  binary form file with resource header -> form text
    txt2res  form text -> binary form file with resource header
    bin2txt  bare component stream -> form text
    txt2bin  form text -> bare component stream
  Exit status 0 on success; 1 with a message on standard error otherwise. }
program formconv;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils;

var
  Mode: string;
  Input, Output: TFileStream;
begin
  if ParamCount <> 3 then
  begin
    WriteLn(StdErr, 'usage: formconv res2txt|txt2res|bin2txt|txt2bin INPUT OUTPUT');
    Halt(2);
  end;
  Mode := ParamStr(1);
  try
    Input := TFileStream.Create(ParamStr(2), fmOpenRead or fmShareDenyNone);
    try
      Output := TFileStream.Create(ParamStr(3), fmCreate);
      try
        if Mode = 'res2txt' then
          ObjectResourceToText(Input, Output)
        else if Mode = 'txt2res' then
          ObjectTextToResource(Input, Output)
        else if Mode = 'bin2txt' then
          ObjectBinaryToText(Input, Output)
        else if Mode = 'txt2bin' then
          ObjectTextToBinary(Input, Output)
        else
          raise Exception.Create('unknown mode ' + Mode);
      finally
        Output.Free;
      end;
    finally
      Input.Free;
    end;
  except
    on E: Exception do
    begin
      WriteLn(StdErr, 'formconv: ', E.ClassName, ': ', E.Message);
      Halt(1);
    end;
  end;
end.
