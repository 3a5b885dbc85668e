// xwd2png IN.xwd OUT.png [LEFT TOP WIDTH HEIGHT]: an X window dump of 24 or 32 bits per pixel (as
// xwd writes a TrueColor screen) as a PNG, whole or the given rectangle of it.
program xwd2png;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils, FPImage, FPWritePNG;

function BigEndian(const header: array of byte; field: integer): cardinal;
begin
  Result := (cardinal(header[field * 4]) shl 24) or (cardinal(header[field * 4 + 1]) shl 16) or
            (cardinal(header[field * 4 + 2]) shl 8) or cardinal(header[field * 4 + 3]);
end;

var
  input: TFileStream;
  header: array[0..99] of byte;
  headerSize, width, height, bitsPerPixel, bytesPerLine, colours, byteOrder: cardinal;
  line: array of byte;
  image: TFPMemoryImage;
  writer: TFPWriterPNG;
  x, y, left, top, w, h, p: integer;
  colour: TFPColor;
begin
  if (ParamCount <> 2) and (ParamCount <> 6) then begin
    WriteLn(StdErr, 'usage: xwd2png IN.xwd OUT.png [LEFT TOP WIDTH HEIGHT]');
    Halt(2);
  end;
  input := TFileStream.Create(ParamStr(1), fmOpenRead);
  try
    input.ReadBuffer(header, SizeOf(header));
    headerSize := BigEndian(header, 0);
    width := BigEndian(header, 4);
    height := BigEndian(header, 5);
    byteOrder := BigEndian(header, 7);
    bitsPerPixel := BigEndian(header, 11);
    bytesPerLine := BigEndian(header, 12);
    colours := BigEndian(header, 19);
    if (bitsPerPixel <> 32) and (bitsPerPixel <> 24) then begin
      WriteLn(StdErr, ParamStr(1), ': ', bitsPerPixel, ' bits per pixel; only 24 and 32 are read');
      Halt(1);
    end;
    left := 0; top := 0; w := width; h := height;
    if ParamCount = 6 then begin
      left := StrToInt(ParamStr(3)); top := StrToInt(ParamStr(4));
      w := StrToInt(ParamStr(5)); h := StrToInt(ParamStr(6));
      if (left < 0) or (top < 0) or (w <= 0) or (h <= 0) or (left + w > integer(width)) or (top + h > integer(height)) then begin
        WriteLn(StdErr, ParamStr(1), ': the rectangle lies outside the ', width, 'x', height, ' screen');
        Halt(1);
      end;
    end;
    input.Position := headerSize + colours * 12;
    SetLength(line, bytesPerLine);
    image := TFPMemoryImage.Create(w, h);
    try
      for y := 0 to integer(height) - 1 do begin
        input.ReadBuffer(line[0], bytesPerLine);
        if (y < top) or (y >= top + h) then continue;
        for x := left to left + w - 1 do begin
          p := x * integer(bitsPerPixel div 8);
          if byteOrder = 0 then begin
            colour.blue := line[p] * 257; colour.green := line[p + 1] * 257; colour.red := line[p + 2] * 257;
          end else begin
            colour.red := line[p + 1] * 257; colour.green := line[p + 2] * 257; colour.blue := line[p + 3] * 257;
          end;
          colour.alpha := alphaOpaque;
          image.Colors[x - left, y - top] := colour;
        end;
      end;
      writer := TFPWriterPNG.Create;
      try
        image.SaveToFile(ParamStr(2), writer);
      finally
        writer.Free;
      end;
    finally
      image.Free;
    end;
  finally
    input.Free;
  end;
end.
