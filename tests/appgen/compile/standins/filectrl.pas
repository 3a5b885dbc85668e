{ Stand-in for the target library's unit FileCtrl, which in that version is the home of DirectoryExists
  (SysUtils got its own later). }
unit FileCtrl;

{$mode delphi}

interface

function DirectoryExists(const Name: string): Boolean;

implementation

uses
  SysUtils;

function DirectoryExists(const Name: string): Boolean;
begin
  Result := SysUtils.DirectoryExists(Name);
end;

end.
