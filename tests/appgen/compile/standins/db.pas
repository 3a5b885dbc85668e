{ Stand-in for the target library's unit DB: the data source, the data set, field types, index
  options and the field and index definitions that a table is created from. The definitions are
  kept, so that creating a table (unit DBTables) can write down what it was given. }
unit DB;

{$mode delphi}

interface

uses
  Classes;

type
  TFieldType = (ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency,
    ftBCD, ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
    ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
    ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface,
    ftIDispatch, ftGuid);

  TIndexOption = (ixPrimary, ixUnique, ixDescending, ixCaseInsensitive, ixExpression, ixNonMaintained);
  TIndexOptions = set of TIndexOption;

  TDataSet = class;

  TNamedItem = class(TCollectionItem)
  private
    FName: string;
  published
    property Name: string read FName write FName;
  end;

  TFieldDef = class(TNamedItem)
  private
    FDataType: TFieldType;
    FRequired: Boolean;
    FSize: Integer;
  published
    property DataType: TFieldType read FDataType write FDataType default ftUnknown;
    property Required: Boolean read FRequired write FRequired default False;
    property Size: Integer read FSize write FSize default 0;
  end;

  TDefCollection = class(TOwnedCollection)
  end;

  TFieldDefs = class(TDefCollection)
  private
    function GetFieldDef(Index: Integer): TFieldDef;
  public
    constructor Create(AOwner: TPersistent);
    procedure Add(const Name: string; DataType: TFieldType; Size: Integer = 0; Required: Boolean = False);
    property Items[Index: Integer]: TFieldDef read GetFieldDef; default;
  end;

  TIndexDef = class(TNamedItem)
  private
    FFields: string;
    FOptions: TIndexOptions;
  published
    property Fields: string read FFields write FFields;
    property Options: TIndexOptions read FOptions write FOptions default [];
  end;

  TIndexDefs = class(TDefCollection)
  private
    function GetIndexDef(Index: Integer): TIndexDef;
  public
    constructor Create(DataSet: TDataSet);
    procedure Add(const Name, Fields: string; Options: TIndexOptions);
    property Items[Index: Integer]: TIndexDef read GetIndexDef; default;
  end;

  TDataSet = class(TComponent)
  private
    FActive: Boolean;
    FFieldDefs: TFieldDefs;
    procedure SetFieldDefs(Value: TFieldDefs);
  protected
    procedure SetActive(Value: Boolean); virtual;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    procedure Open;
    procedure Close;
    property Active: Boolean read FActive write SetActive default False;
    property FieldDefs: TFieldDefs read FFieldDefs write SetFieldDefs;
  end;

  TDataSource = class(TComponent)
  end;

implementation

constructor TFieldDefs.Create(AOwner: TPersistent);
begin
  inherited Create(AOwner, TFieldDef);
end;

function TFieldDefs.GetFieldDef(Index: Integer): TFieldDef;
begin
  Result := TFieldDef(inherited Items[Index]);
end;

procedure TFieldDefs.Add(const Name: string; DataType: TFieldType; Size: Integer; Required: Boolean);
var
  Def: TFieldDef;
begin
  Def := TFieldDef(inherited Add);
  Def.Name := Name;
  Def.DataType := DataType;
  Def.Size := Size;
  Def.Required := Required;
end;

constructor TIndexDefs.Create(DataSet: TDataSet);
begin
  inherited Create(DataSet, TIndexDef);
end;

function TIndexDefs.GetIndexDef(Index: Integer): TIndexDef;
begin
  Result := TIndexDef(inherited Items[Index]);
end;

procedure TIndexDefs.Add(const Name, Fields: string; Options: TIndexOptions);
var
  Def: TIndexDef;
begin
  Def := TIndexDef(inherited Add);
  Def.Name := Name;
  Def.Fields := Fields;
  Def.Options := Options;
end;

constructor TDataSet.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FFieldDefs := TFieldDefs.Create(Self);
end;

destructor TDataSet.Destroy;
begin
  FFieldDefs.Free;
  inherited Destroy;
end;

procedure TDataSet.SetFieldDefs(Value: TFieldDefs);
begin
  FFieldDefs.Assign(Value);
end;

procedure TDataSet.SetActive(Value: Boolean);
begin
  FActive := Value;
end;

procedure TDataSet.Open;
begin
  Active := True;
end;

procedure TDataSet.Close;
begin
  Active := False;
end;

end.
