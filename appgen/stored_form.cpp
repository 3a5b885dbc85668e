#include "appgen/stored_form.h"

#include <memory>
#include <string>

#include "platform/components/component_reader.h"

TCustomForm* read_stored_form(const formfile::ObjectNode& design, std::string_view class_name, TComponent* owner) {
    std::unique_ptr<TComponent> form = read_component(design, owner);
    auto* result = dynamic_cast<TCustomForm*>(form.get());
    if (!result) throw EComponentError("the stored design of " + std::string(class_name) + " is not a form");
    form.release();
    return result;
}
