{ Stand-in for the target library's unit WinTypes, an alias of Windows kept for old sources (the
  target's default unit aliases map it there). Generated units name it but call nothing of it. }
unit WinTypes;

{$mode delphi}

interface

implementation

end.
