{ Stand-in for the target library's unit Graphics: colours, fonts and canvases.
  Generated units name it in their uses clauses but call nothing of it. }
unit Graphics;

{$mode delphi}

interface

implementation

end.
