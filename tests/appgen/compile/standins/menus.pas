{ Stand-in for the target library's unit Menus: the main menu and its items, whose click handlers the
  generated main form binds at run time. }
unit Menus;

{$mode delphi}

interface

uses
  Classes;

type
  TMenuItem = class(TComponent)
  private
    FOnClick: TNotifyEvent;
  published
    property OnClick: TNotifyEvent read FOnClick write FOnClick;
  end;

  TMenu = class(TComponent)
  end;

  TMainMenu = class(TMenu)
  end;

implementation

end.
