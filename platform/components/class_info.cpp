#include "platform/components/class_info.h"

#include <map>

#include "platform/components/component_error.h"
#include "platform/ascii_case.h"
#include "platform/caseless_hash.h"
#include "platform/identifier.h"
#include "platform/formfile/printable.h"

namespace {

// Class names are identifiers, compared without regard to letter case as the target does.
std::map<std::string, const ComponentClass*>& registry() {
    static std::map<std::string, const ComponentClass*> classes;
    return classes;
}

}  // namespace

const PropertyInfo* ComponentClass::find_property(std::string_view property) const {
    if (!property_index_ready_) {
        // Root class first, so that a class's own properties replace its ancestors' of the same name;
        // within a class, published before defined and earlier before later win.
        std::vector<const ComponentClass*> chain;
        for (const ComponentClass* c = this; c; c = c->parent) chain.insert(chain.begin(), c);
        std::size_t count = 0;
        for (const ComponentClass* c : chain) count += c->defined.size() + c->published.size();
        std::size_t size = 16;
        while (size < count * 2) size *= 2;
        property_index_.assign(size, IndexSlot{});
        const auto put = [&](const PropertyInfo& p) {
            const std::uint64_t hash = AsciiCaselessHash(p.name);
            for (std::size_t at = hash & (size - 1);; at = (at + 1) & (size - 1)) {
                IndexSlot& slot = property_index_[at];
                if (slot.property && !(slot.hash == hash && SameIdent(slot.property->name, p.name))) continue;
                slot = IndexSlot{hash, &p};
                return;
            }
        };
        for (const ComponentClass* c : chain) {
            for (auto p = c->defined.rbegin(); p != c->defined.rend(); ++p) put(*p);
            for (auto p = c->published.rbegin(); p != c->published.rend(); ++p) put(*p);
        }
        property_index_ready_ = true;
    }
    const std::uint64_t hash = AsciiCaselessHash(property);
    const std::size_t mask = property_index_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const IndexSlot& slot = property_index_[at];
        if (!slot.property) return nullptr;
        if (slot.hash == hash && SameIdent(slot.property->name, property)) return slot.property;
    }
}

const std::vector<const PropertyInfo*>& ComponentClass::stored_order() const {
    if (stored_order_ready_) return stored_order_;
    std::vector<const ComponentClass*> chain;
    for (const ComponentClass* c = this; c; c = c->parent) chain.insert(chain.begin(), c);
    for (const ComponentClass* c : chain)
        for (const PropertyInfo& p : c->published) stored_order_.push_back(&p);
    for (const ComponentClass* c : chain)
        for (const PropertyInfo& p : c->defined) stored_order_.push_back(&p);
    stored_order_ready_ = true;
    return stored_order_;
}

bool ComponentClass::inherits_from(std::string_view class_name) const {
    for (const ComponentClass* c = this; c; c = c->parent)
        if (SameIdent(c->name, class_name)) return true;
    return false;
}

void register_class(const ComponentClass& description) { registry()[IdentKey(description.name)] = &description; }

const ComponentClass* find_class(std::string_view class_name) {
    const auto it = registry().find(IdentKey(class_name));
    return it == registry().end() ? nullptr : it->second;
}

TComponent* create_component(std::string_view class_name, TComponent* owner) {
    const ComponentClass* description = find_class(class_name);
    if (!description) throw EComponentError("Classe " + formfile::printable(class_name) + " n\xE3o encontrada");
    if (!description->create)
        throw EComponentError("class " + formfile::printable(class_name) + " cannot be created by name");
    return description->create(owner, *description);
}

const ComponentClass& component_class(std::string_view class_name) {
    const ComponentClass* c = find_class(class_name);
    if (!c) throw EComponentError("Classe " + formfile::printable(class_name) + " n\xE3o encontrada");
    return *c;
}

ClassRegistration::ClassRegistration(std::initializer_list<ClassDescriber> classes) : classes_(classes) {
    for (const ClassDescriber describe : classes_) register_class(describe());
}
