#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "platform/components/component.h"
#include "platform/formfile/value.h"

// Reading components from a stream, as the target's reader does: each object's class is looked up in
// the class registry by name and created, owned by the root (the root by `owner`) and placed in the
// object that lists it (SetParentComponent); its properties are set through their setters while it is
// loading (a control's caption does not follow its name, a label does not measure itself), including
// the properties of sub-objects ("Font.Height"), string lists ("Items.Strings") and collections;
// references to other components are fixed up by name once the whole stream is read; then every
// component leaves the loading state and gets Loaded().
//
// An unknown class, an unknown property, a value of the wrong type, an object that cannot stand where
// it is listed or a reference to a name that the stream does not hold raises EComponentError naming
// the object and the property ("Erro ao ler Label0.Caption: ..."); nothing that was read survives it.

// What a caller may do while a stream is read, for a reader of its own built on this one (the stored
// diagrams keep their text boxes from measuring). Either may be left empty.
struct ComponentReadHooks {
    // Each component once created and loading, before it is named, placed or given any property.
    std::function<void(TComponent& component, const formfile::ObjectNode& node)> created;
    // Before each property the stream gives a component itself (not one of its collection items):
    // false leaves the property unset, for a caller that takes the value from the stream itself.
    std::function<bool(TComponent& component, const formfile::PropertyEntry& entry)> property;
};

// The component tree of `root`. The caller owns the result (as does `owner`, when given).
std::unique_ptr<TComponent> read_component(const formfile::ObjectNode& root, TComponent* owner = nullptr,
                                           const ComponentReadHooks& hooks = {});

// The same from a binary form file or bare stream, or from form text.
std::unique_ptr<TComponent> read_component_file(std::string_view file, TComponent* owner = nullptr);
std::unique_ptr<TComponent> read_component_text(std::string_view text, TComponent* owner = nullptr);
