{ Stand-in for the target library's unit Messages: the window message records.
  Generated units name it in their uses clauses but call nothing of it. }
unit Messages;

{$mode delphi}

interface

implementation

end.
