#pragma once

#include <type_traits>
#include <vector>

#include "platform/components/class_info.h"
#include "platform/components/control.h"
#include "platform/components/property_builders.h"

// Published properties that many control classes declare alike, backed by the members of TControl
// and TWinControl. Each unit's class descriptions splice them in their declaration order.
namespace props {

// A colour that a control takes from its parent while ParentColor is set: stored only when it is the
// control's own, and setting it makes it so.
PropertyInfo color(TColor def);
PropertyInfo font_property();
PropertyInfo parent_font(bool def);
PropertyInfo caption();
PropertyInfo visible(bool def);
PropertyInfo align();
PropertyInfo anchors();
PropertyInfo tab_order();
// Left, Top, Width and Height (which = 0..3): no default, always stored (a form may store its client
// size instead of Width and Height).
PropertyInfo bound(const char* name, int which);
std::vector<PropertyInfo> drag();
std::vector<PropertyInfo> data_binding();
// The Parent... properties that close most controls' lists.
std::vector<PropertyInfo> common_tail(bool windowed, bool parent_color = false);
std::vector<PropertyInfo> mouse_events();
std::vector<PropertyInfo> focus_events();

// A control class: created as T, with its creation size and whether naming sets its caption.
template <class T>
void control_class(ComponentClass& c, int width, int height, bool caption_follows_name) {
    c.windowed = std::is_base_of_v<TWinControl, T>;
    c.caption_follows_name = caption_follows_name;
    c.create_width = width;
    c.create_height = height;
    creatable<T>(c);
}

}  // namespace props
