// Registers the component library's classes by name when the program or library loads, so that
// forms and their streams can create them: the one registration unit of this layer, kept in every
// static link by the kzr40_platform target's link option (see ClassRegistration).

#include "platform/components/component_registration.h"

#include "platform/components/component.h"
#include "platform/components/control.h"
#include "platform/components/dbgrids.h"
#include "platform/components/diagram_surface.h"
#include "platform/components/forms.h"
#include "platform/components/library_classes.h"
#include "platform/components/menus.h"

extern "C" {
const ClassRegistration kzr40_platform_classes{
    TComponentClass,      TControlClass,        TGraphicControlClass,  TWinControlClass,      TFormClass,
    TScrollBoxClass,      TPanelClass,          TLabelClass,           TDBNavigatorClass,     TDBEditClass,
    TDBCheckBoxClass,     TDBMemoClass,         TDBImageClass,         TDBTextClass,          TDBComboBoxClass,
    TDBListBoxClass,      TDBRadioGroupClass,   TDBLookupListBoxClass, TDBLookupComboBoxClass, TDataSourceClass,
    TTableClass,          TColumnClass,         TDBGridClass,          TMainMenuClass,        TMenuItemClass,
    TDiagramSurfaceClass};
}
