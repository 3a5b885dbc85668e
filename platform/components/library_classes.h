#pragma once

#include "platform/components/class_info.h"

// Descriptions of the library's classes that code reaches only by name, through a form or its
// stream, so that no unit header declares them; the registration unit lists them with the rest.

const ComponentClass& TScrollBoxClass();
const ComponentClass& TPanelClass();
const ComponentClass& TLabelClass();
const ComponentClass& TDataSourceClass();
const ComponentClass& TTableClass();
const ComponentClass& TDBGridClass();
const ComponentClass& TMainMenuClass();

const ComponentClass& TDBNavigatorClass();
const ComponentClass& TDBEditClass();
const ComponentClass& TDBCheckBoxClass();
const ComponentClass& TDBMemoClass();
const ComponentClass& TDBImageClass();
const ComponentClass& TDBTextClass();
const ComponentClass& TDBComboBoxClass();
const ComponentClass& TDBListBoxClass();
const ComponentClass& TDBRadioGroupClass();
const ComponentClass& TDBLookupListBoxClass();
const ComponentClass& TDBLookupComboBoxClass();
