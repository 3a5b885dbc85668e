{ Stand-in for the target library's unit Buttons: the speed and bitmap buttons.
  Generated units name it in their uses clauses but call nothing of it. }
unit Buttons;

{$mode delphi}

interface

implementation

end.
