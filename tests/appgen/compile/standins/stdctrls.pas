{ Stand-in for the target library's unit StdCtrls: the label of the generated forms. }
unit StdCtrls;

{$mode delphi}

interface

uses
  Controls;

type
  TCustomLabel = class(TGraphicControl)
  end;

  TLabel = class(TCustomLabel)
  end;

implementation

end.
