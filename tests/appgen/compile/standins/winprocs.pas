{ Stand-in for the target library's unit WinProcs, an alias of Windows kept for old sources (the
  target's default unit aliases map it there). Generated units name it but call nothing of it. }
unit WinProcs;

{$mode delphi}

interface

implementation

end.
