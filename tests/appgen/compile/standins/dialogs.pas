{ Stand-in for the target library's unit Dialogs: the message and file dialogs.
  Generated units name it in their uses clauses but call nothing of it. }
unit Dialogs;

{$mode delphi}

interface

implementation

end.
