#pragma once

// The whole component library in one include, for code that builds forms: every unit's classes and
// the names of colours and character sets. Each class is declared, with its published properties, in
// the file of its unit:
//   component.cpp  TComponent              control.cpp   TControl, TGraphicControl, TWinControl
//   forms.cpp      TForm, TScrollBox        extctrls.cpp  TPanel
//   stdctrls.cpp   TLabel                   db.cpp        TDataSource
//   dbtables.cpp   TTable                   dbgrids.cpp   TDBGrid, TColumn
//   menus.cpp      TMainMenu, TMenuItem
//   dbctrls.cpp    TDBNavigator, TDBEdit, TDBCheckBox, TDBMemo, TDBImage, TDBText, TDBComboBox,
//                  TDBListBox, TDBRadioGroup, TDBLookupListBox, TDBLookupComboBox
// The library's one class that no form holds, the surface the diagrams are drawn on (TDiagramSurface,
// diagram_surface.h), is left out of this include.
// component_registration.cpp registers them all by name when the library is loaded.

#include "platform/components/class_info.h"
#include "platform/components/component.h"
#include "platform/components/control.h"
#include "platform/components/dbgrids.h"
#include "platform/components/forms.h"
#include "platform/components/graphics_idents.h"
#include "platform/components/menus.h"
#include "platform/components/stdctrls.h"
