{ Stand-in for the target library's unit DBTables: the table of the database engine. The engine's
  table types are Default, Paradox, dBase and ASCII; there is no Oracle table type. Creating a table
  writes its definitions as text into the file DatabaseName + TableName, so that a test can see what
  a generated program asked for. }
unit DBTables;

{$mode delphi}

interface

uses
  Classes, SysUtils, DB;

type
  TTableType = (ttDefault, ttParadox, ttDBase, ttASCII);

  TBDEDataSet = class(TDataSet)
  end;

  TDBDataSet = class(TBDEDataSet)
  private
    FDatabaseName: string;
  published
    property DatabaseName: string read FDatabaseName write FDatabaseName;
  end;

  TTable = class(TDBDataSet)
  private
    FIndexDefs: TIndexDefs;
    FTableName: TFileName;
    FTableType: TTableType;
    procedure SetIndexDefs(Value: TIndexDefs);
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    procedure CreateTable;
  published
    property Active;
    property FieldDefs;
    property IndexDefs: TIndexDefs read FIndexDefs write SetIndexDefs;
    property TableName: TFileName read FTableName write FTableName;
    property TableType: TTableType read FTableType write FTableType default ttDefault;
  end;

implementation

uses
  TypInfo;

constructor TTable.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FIndexDefs := TIndexDefs.Create(Self);
end;

destructor TTable.Destroy;
begin
  FIndexDefs.Free;
  inherited Destroy;
end;

procedure TTable.SetIndexDefs(Value: TIndexDefs);
begin
  FIndexDefs.Assign(Value);
end;

function OptionsText(Options: TIndexOptions): string;
var
  Option: TIndexOption;
begin
  Result := '';
  for Option := Low(TIndexOption) to High(TIndexOption) do
    if Option in Options then
    begin
      if Result <> '' then Result := Result + ',';
      Result := Result + GetEnumName(TypeInfo(TIndexOption), Ord(Option));
    end;
  Result := '[' + Result + ']';
end;

procedure TTable.CreateTable;
var
  Lines: TStringList;
  I: Integer;
begin
  Lines := TStringList.Create;
  try
    Lines.Add('type ' + GetEnumName(TypeInfo(TTableType), Ord(FTableType)));
    for I := 0 to FieldDefs.Count - 1 do
      with FieldDefs[I] do
        Lines.Add(Format('field %s %s %d %s',
          [Name, GetEnumName(TypeInfo(TFieldType), Ord(DataType)), Size, BoolToStr(Required, True)]));
    for I := 0 to FIndexDefs.Count - 1 do
      with FIndexDefs[I] do
        Lines.Add(Format('index "%s" "%s" %s', [Name, Fields, OptionsText(Options)]));
    Lines.SaveToFile(DatabaseName + TableName);
  finally
    Lines.Free;
  end;
end;

end.
