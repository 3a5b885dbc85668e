{ Stand-in for the target library's unit Windows: the operating system's interface.
  Generated units name it in their uses clauses but call nothing of it. }
unit Windows;

{$mode delphi}

interface

implementation

end.
