{ Stand-in for the target library's unit ExtCtrls: the panel that holds a maintenance form's navigator. }
unit ExtCtrls;

{$mode delphi}

interface

uses
  Controls;

type
  TCustomPanel = class(TCustomControl)
  end;

  TPanel = class(TCustomPanel)
  end;

implementation

end.
