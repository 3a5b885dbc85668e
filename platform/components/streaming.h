#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/components/component.h"
#include "platform/formfile/value.h"

// Writing live components as the target's form writer does: each object stores the published
// properties that differ from its class defaults plus what its class always stores, then the objects
// it contains (a form: its controls, then its owned components that have no parent).

// The object tree of `root` as it will be streamed.
formfile::ObjectNode stream_component(const TComponent& root);
// The same, where `stand_in` may give the node of one of the root's children instead of its stream (a
// caller that holds the child's stream already), or none to have the child streamed.
using StandIn = std::function<std::optional<formfile::ObjectNode>(const TComponent& child)>;
formfile::ObjectNode stream_component(const TComponent& root, const StandIn& stand_in);

// The binary form file of `root`: resource header named after the root's class in upper case, then
// the component stream. Names longer than 255 bytes are refused (formfile::FormFileError).
std::string form_file_bytes(const TComponent& root);
