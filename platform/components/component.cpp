#include "platform/components/component.h"

#include <algorithm>

#include "platform/components/property_builders.h"

namespace {

const PropertyInfo& lookup(const TPersistent& object, std::string_view name) {
    const PropertyInfo* info = object.ClassType().find_property(name);
    if (!info)
        throw EComponentError("Propriedade " + std::string(name) + " n\xE3o existe em " + object.ClassName());
    return *info;
}

// Whether `value` can be a value of a property of `kind`.
bool fits(PropertyKind kind, const PropertyValue& value) {
    switch (kind) {
        case PropertyKind::Integer:
        case PropertyKind::Color: return std::holds_alternative<std::int64_t>(value);
        case PropertyKind::Boolean: return std::holds_alternative<bool>(value);
        case PropertyKind::Enumeration:
        case PropertyKind::Event: return std::holds_alternative<Identifier>(value);
        case PropertyKind::Set: return std::holds_alternative<IdentifierSet>(value);
        case PropertyKind::String: return std::holds_alternative<std::string>(value);
        case PropertyKind::Strings: return std::holds_alternative<Lines>(value);
        case PropertyKind::Binary: return std::holds_alternative<Bytes>(value);
        case PropertyKind::Component:
        case PropertyKind::Font:
        case PropertyKind::Collection:
        case PropertyKind::Object: return false;  // references and sub-objects have their own interface
    }
    return false;
}

const char* kind_of(const PropertyValue& value) {
    static constexpr const char* names[] = {"nada", "Boolean", "Integer", "texto", "identificador", "conjunto",
                                            "lista de textos", "dados bin\xE1rios"};
    return names[value.index()];
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TPersistent

void TPersistent::SetProperty(std::string_view name, PropertyValue value) {
    const PropertyInfo& info = lookup(*this, name);
    if (info.kind == PropertyKind::Component) {
        if (std::holds_alternative<std::monostate>(value)) {
            SetComponentProperty(*this, info, nullptr);
            return;
        }
        throw EComponentError("set property " + info.name + " with SetReference (it refers to a component)");
    }
    if (!fits(info.kind, value))
        throw EComponentError("Valor inv\xE1lido para a propriedade " + info.name + " (" + kind_of(value) + ")");
    if (info.set) {
        info.set(*this, value);
        return;
    }
    StoreValue(info.name, std::move(value));
}

PropertyValue TPersistent::GetProperty(std::string_view name) const {
    const PropertyInfo& info = lookup(*this, name);
    if (info.get) return info.get(*this);
    if (info.kind == PropertyKind::Component) {
        const TComponent* target = ComponentProperty(*this, info);
        return target ? PropertyValue{Identifier{target->Name()}} : PropertyValue{};
    }
    if (const PropertyValue* stored = StoredValue(info.name)) return *stored;
    return info.default_value;
}

bool TPersistent::IsAssigned(std::string_view name) const {
    const PropertyInfo& info = lookup(*this, name);
    if (info.kind == PropertyKind::Component) return ComponentProperty(*this, info) != nullptr;
    return StoredValue(info.name) != nullptr;
}

const PropertyValue* TPersistent::StoredValue(std::string_view name) const {
    const auto it = values_.find(name);
    return it == values_.end() ? nullptr : &it->second;
}

void TPersistent::StoreValue(std::string_view name, PropertyValue value) {
    if (const auto it = values_.find(name); it != values_.end()) it->second = std::move(value);
    else values_.emplace(std::string(name), std::move(value));
}

// ---------------------------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* owner, const ComponentClass& description) : TPersistent(description) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Those that asked to be told go first, then the owned components (last created first), then
    // the owner and its components learn that this one is gone.
    while (!free_notifies_.Empty()) {
        TComponent* other = free_notifies_.Back();
        free_notifies_.Remove(other);
        other->free_notifies_.Remove(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    destroying_ = true;
    // Last created first: each then leaves the end of the list (and of its parent's child list).
    while (!components_.empty()) {
        TComponent* child = components_.back();
        delete child;  // removes itself from components_
    }
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EComponentError("\xCDndice de lista fora dos limites (" + std::to_string(index) + ")");
    return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    return names_.find(name);
}

void TComponent::ValidateRename(const TComponent* component, const std::string& old_name,
                                const std::string& new_name) const {
    if (component && !SameIdent(old_name, new_name) && component->owner_ == this && FindComponent(new_name))
        throw EComponentError("Um componente chamado " + new_name + " j\xE1 existe");
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' n\xE3o \xE9 um nome de componente v\xE1lido");
    if (owner_) owner_->ValidateRename(this, name_, name);
    const std::string old_name = name_;
    if (owner_ && !old_name.empty()) owner_->names_.erase(this);
    name_ = name;
    if (owner_ && !name_.empty()) owner_->names_.insert(this);
    NameChanged(old_name);
}

void TComponent::InsertComponent(TComponent* component) {
    // A named component joining an owner must not clash with the names already there.
    if (!component->name_.empty()) {
        if (FindComponent(component->name_))
            throw EComponentError("Um componente chamado " + component->name_ + " j\xE1 existe");
        names_.insert(component);
    }
    components_.push_back(component);
    component->owner_ = this;
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    Notification(component, TOperation::opRemove);
    owner_listeners_.Remove(component);
    if (!component->name_.empty()) names_.erase(component);
    EraseFromBack(components_, component);
    component->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    free_notifies_.Add(other);
    other->free_notifies_.Add(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    free_notifies_.Remove(other);
    other->free_notifies_.Remove(this);
}

void TComponent::NotifyOnOwnerChanges() {
    if (owner_) owner_->owner_listeners_.Add(this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        for (auto it = references_.begin(); it != references_.end();)
            it = it->second == component ? references_.erase(it) : std::next(it);
    }
    // The owner passes the news on to the owned components that asked for it.
    if (!destroying_)
        for (TComponent* c : std::vector<TComponent*>(owner_listeners_.Members()))
            if (c != component) c->Notification(component, operation);
}

void TComponent::SetReference(std::string_view property, TComponent* target) {
    const PropertyInfo* info = ClassType().find_property(property);
    if (!info || info->kind != PropertyKind::Component)
        throw EComponentError("Propriedade " + std::string(property) + " n\xE3o existe em " + ClassName());
    if (info->set_component) return info->set_component(*this, target);
    const auto it = references_.find(info->name);
    if (it != references_.end()) {
        if (it->second == target) return;
        references_.erase(it);
    }
    if (target) {
        references_.emplace(info->name, target);
        target->FreeNotification(this);
    }
}

TComponent* TComponent::Reference(std::string_view property) const {
    const PropertyInfo* info = ClassType().find_property(property);
    if (!info) return nullptr;
    if (info->get_component) return info->get_component(*this);
    const auto it = references_.find(info->name);
    return it == references_.end() ? nullptr : it->second;
}

void TComponent::GetChildren(std::vector<TComponent*>&, const TComponent*) const {}

TComponent* ComponentProperty(const TPersistent& object, const PropertyInfo& info) {
    if (info.get_component) return info.get_component(object);
    const auto* self = dynamic_cast<const TComponent*>(&object);
    return self ? self->Reference(info.name) : nullptr;
}

void SetComponentProperty(TPersistent& object, const PropertyInfo& info, TComponent* target) {
    if (info.set_component) return info.set_component(object, target);
    auto* self = dynamic_cast<TComponent*>(&object);
    if (!self) throw EComponentError("property " + info.name + " needs a component");
    self->SetReference(info.name, target);
}

// ---------------------------------------------------------------------------------------------
// Published properties

// Name is published but never stored (the record carries it); a non-visual component's design
// position follows the published values.
const ComponentClass& TComponentClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass c("TComponent", nullptr);
        c.published = {prop("Name", PropertyKind::String, {}, Stored::Never), integer("Tag", 0)};
        // Only components have this description's properties: the casts need no check.
        c.published[0].get = [](const TPersistent& o) {
            return std::string(static_cast<const TComponent&>(o).Name());
        };
        c.published[0].set = [](TPersistent& o, const PropertyValue& v) {
            static_cast<TComponent&>(o).SetName(text_of(v));
        };
        c.published[1].get = [](const TPersistent& o) {
            return std::int64_t(static_cast<const TComponent&>(o).Tag());
        };
        c.published[1].set = [](TPersistent& o, const PropertyValue& v) {
            static_cast<TComponent&>(o).SetTag(static_cast<int>(integer_of(v)));
        };
        c.defined = {integer("Left", 0), integer("Top", 0)};
        creatable<TComponent>(c);
        return c;
    }();
    return description;
}
