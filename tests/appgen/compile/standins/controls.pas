{ Stand-in for the target library's unit Controls: the roots of the control hierarchy. The generated
  code uses none of their members; the classes exist so that the other stand-ins derive from the
  same ancestors as the real ones. }
unit Controls;

{$mode delphi}

interface

uses
  Classes;

type
  TModalResult = Low(Integer)..High(Integer);

  TControl = class(TComponent)
  end;

  TWinControl = class(TControl)
  end;

  TGraphicControl = class(TControl)
  end;

  TCustomControl = class(TWinControl)
  end;

const
  mrNone = 0;

implementation

end.
