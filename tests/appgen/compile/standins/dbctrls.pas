{ Stand-in for the target library's unit DBCtrls: the navigator and the ten data-aware editors that a
  maintenance form may place. The generated code only declares them as form fields. The real edit,
  list and combo boxes descend through classes of the units Mask, StdCtrls and ExtCtrls; they are cut
  short here because the generated code reaches none of their members. }
unit DBCtrls;

{$mode delphi}

interface

uses
  Controls;

type
  TDBNavigator = class(TCustomControl)
  end;

  TDBText = class(TGraphicControl)
  end;

  TDBEdit = class(TWinControl)
  end;

  TDBCheckBox = class(TWinControl)
  end;

  TDBMemo = class(TWinControl)
  end;

  TDBImage = class(TCustomControl)
  end;

  TDBListBox = class(TWinControl)
  end;

  TDBComboBox = class(TWinControl)
  end;

  TDBRadioGroup = class(TWinControl)
  end;

  TDBLookupControl = class(TCustomControl)
  end;

  TDBLookupListBox = class(TDBLookupControl)
  end;

  TDBLookupComboBox = class(TDBLookupControl)
  end;

implementation

end.
