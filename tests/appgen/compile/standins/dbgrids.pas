{ Stand-in for the target library's unit DBGrids: the grid of the grid layout. The real grid descends
  from the grid classes of the unit Grids, which the generated code does not name. }
unit DBGrids;

{$mode delphi}

interface

uses
  Controls;

type
  TCustomDBGrid = class(TCustomControl)
  end;

  TDBGrid = class(TCustomDBGrid)
  end;

implementation

end.
