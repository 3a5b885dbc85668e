{ Stand-in for the target library's unit Forms: forms, the scroll box and the application object,
  with the members that generated projects and maintenance units call. Nothing is ever shown: a
  modal form returns at once with no result, closing has nothing to hide, and Run returns at once. }
unit Forms;

{$mode delphi}

interface

uses
  Classes, Controls;

type
  TCloseAction = (caNone, caHide, caFree, caMinimize);

  TScrollingWinControl = class(TWinControl)
  end;

  TScrollBox = class(TScrollingWinControl)
  end;

  TCustomForm = class(TScrollingWinControl)
  public
    procedure Close;
    function ShowModal: Integer; virtual;
  end;

  TForm = class(TCustomForm)
  end;

  TApplication = class(TComponent)
  private
    FTitle: string;
    function GetTitle: string;
    procedure SetTitle(const Value: string);
  public
    procedure CreateForm(InstanceClass: TComponentClass; var Reference);
    procedure Initialize;
    procedure Run;
    property Title: string read GetTitle write SetTitle;
  end;

var
  Application: TApplication;

implementation

procedure TCustomForm.Close;
begin
end;

function TCustomForm.ShowModal: Integer;
begin
  Result := mrNone;
end;

function TApplication.GetTitle: string;
begin
  Result := FTitle;
end;

procedure TApplication.SetTitle(const Value: string);
begin
  FTitle := Value;
end;

{ As the real one: the reference is set before the constructor runs, so that the form's own
  handlers can already use its variable. }
procedure TApplication.CreateForm(InstanceClass: TComponentClass; var Reference);
var
  Instance: TComponent;
begin
  Instance := TComponent(InstanceClass.NewInstance);
  TComponent(Reference) := Instance;
  Instance.Create(Self);
end;

procedure TApplication.Initialize;
begin
end;

procedure TApplication.Run;
begin
end;

initialization
  Application := TApplication.Create(nil);

finalization
  Application.Free;
end.
