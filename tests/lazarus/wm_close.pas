// wm_close WINDOW: asks an X window to close as a window manager's close button does (a
// WM_DELETE_WINDOW client message), so that the program runs its own close handlers. The test's
// display has no window manager.
program wm_close;

{$mode objfpc}{$H+}

uses
  SysUtils, xlib, x;

var
  display: PDisplay;
  event: TXEvent;
  window: TWindow;
begin
  if ParamCount <> 1 then begin
    WriteLn(StdErr, 'usage: wm_close WINDOW');
    Halt(2);
  end;
  window := StrToQWord(ParamStr(1));
  display := XOpenDisplay(nil);
  if display = nil then begin
    WriteLn(StdErr, 'wm_close: cannot open the display');
    Halt(1);
  end;
  FillChar(event, SizeOf(event), 0);
  event.xclient._type := ClientMessage;
  event.xclient.window := window;
  event.xclient.message_type := XInternAtom(display, 'WM_PROTOCOLS', False);
  event.xclient.format := 32;
  event.xclient.data.l[0] := XInternAtom(display, 'WM_DELETE_WINDOW', False);
  event.xclient.data.l[1] := CurrentTime;
  XSendEvent(display, window, False, NoEventMask, @event);
  XFlush(display);
  XCloseDisplay(display);
end.
