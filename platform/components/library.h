#pragma once

#include <string>
#include <string_view>

#include "platform/components/class_info.h"
#include "platform/components/component.h"
#include "platform/graphics.h"

// The streamed classes of the target's component library, described for the form writer:
// TComponent, TControl, TForm, TPanel, TScrollBox, TDBNavigator, TDataSource, TTable, TLabel, TDBEdit,
// TDBCheckBox, TDBMemo, TDBLookupListBox, TDBLookupComboBox, TDBComboBox, TDBListBox, TDBRadioGroup,
// TDBText, TDBImage, TDBGrid (+ TColumn), TMainMenu, TMenuItem. They are registered by name the first
// time the registry is used, so create_component("TDBEdit", form) works without further set-up.

// Registers the library's classes (done on first use of the registry; calling again does nothing).
void register_library_classes();

// The description of a registered class; EComponentError when there is none.
const ComponentClass& component_class(std::string_view class_name);

// Describes and registers a form class of a stored design (e.g. "TResultForm"), derived from TForm and
// publishing nothing of its own. Asking twice for one name gives the same description.
const ComponentClass& define_form_class(std::string_view class_name);

// Creates a component of a registered class and checks its C++ type.
template <class T>
T* create(std::string_view class_name, TComponent* owner) {
    TComponent* component = create_component(class_name, owner);
    if (T* typed = dynamic_cast<T*>(component)) return typed;
    delete component;
    throw EComponentError("class " + std::string(class_name) + " is not of the requested kind");
}

// Colours and character sets as the form text names them (clBtnFace, DEFAULT_CHARSET, ...); values
// without a name are integers.
formfile::Value color_value(TColor color);
formfile::Value charset_value(TFontCharset charset);
// The reverse, for values read from a stored design: an identifier or an integer.
TColor color_from_value(const formfile::Value& value);
TFontCharset charset_from_value(const formfile::Value& value);
