#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/api.h"
#include "platform/components/class_info.h"
#include "platform/components/component_error.h"
#include "platform/components/component_list.h"
#include "platform/components/component_names.h"
#include "platform/identifier.h"
#include "platform/object.h"

// The component model of the target's class library: ownership, names, tags, free notification and
// published property values. Forms, controls, menus and the diagram shapes all build on it.

enum class TOperation { opInsert, opRemove };

// Anything with published properties: components and collection items.
class KZR40_API TPersistent : public TObject {
public:
    const ComponentClass& ClassType() const { return *class_; }
    const std::string& ClassName() const { return class_->name; }

    // Published property access by name (letter case ignored), through the property's setter and
    // getter. Unknown names raise EComponentError, and so does a value of the wrong kind for the
    // property (a text for an integer, an identifier for a text).
    void SetProperty(std::string_view name, PropertyValue value);
    // The current value: the member's, the stored one, or the class default (none when it has none).
    PropertyValue GetProperty(std::string_view name) const;
    // True when the program has set the property (Stored::Assigned rule).
    bool IsAssigned(std::string_view name) const;

    // Typed fields of the properties that no C++ member backs (most of the target's published
    // properties are only ever stored): set ones only, under the declared name.
    const PropertyValue* StoredValue(std::string_view name) const;
    void StoreValue(std::string_view name, PropertyValue value);

protected:
    explicit TPersistent(const ComponentClass& description) : class_(&description) {}
    // Lets a subclass constructor narrow the description (e.g. a form of class TResultForm).
    void SetClassType(const ComponentClass& description) { class_ = &description; }

private:
    const ComponentClass* class_;
    std::map<std::string, PropertyValue, std::less<>> values_;  // keyed by the declared name
};

class KZR40_API TComponent : public TPersistent {
public:
    // Creates a component of `description` owned by `owner` (may be null). The owner frees it.
    TComponent(TComponent* owner, const ComponentClass& description);
    ~TComponent() override;

    const std::string& Name() const { return name_; }
    // Refuses a name that is not an identifier, and a name another component of the same owner has
    // (compared without regard to letter case): "Um componente chamado %s já existe".
    virtual void SetName(const std::string& name);

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // The owned component of that name (letter case ignored), or null. Constant time.
    TComponent* FindComponent(std::string_view name) const;
    // Gives up owning `component`, which the caller then frees. The last one owned is found at once.
    void RemoveComponent(TComponent* component);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // Asks for Notification(this-or-other, opRemove) when `other` is freed, and the other way round.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);
    // Asks to be told (Notification) of every component that joins or leaves this one's owner. Only
    // those that asked are told, so adding a component costs the same however many the owner has.
    void NotifyOnOwnerChanges();
    // Told of components inserted into or removed from the owner (when asked for), and of freed
    // components this one asked to be told about. Overrides call the inherited version first.
    virtual void Notification(TComponent* component, TOperation operation);

    // Component-valued published properties: stored by the referenced component's name; cleared when
    // that component is freed.
    void SetReference(std::string_view property, TComponent* target);
    TComponent* Reference(std::string_view property) const;

    // Set while the component is built from a stored design (the target's csLoading): naming then
    // leaves captions alone.
    bool Loading() const { return loading_; }
    void SetLoading(bool loading) { loading_ = loading; }
    bool Destroying() const { return destroying_; }

    // Called once the whole stream this component was read from has been read and its references
    // fixed up, after the loading state ended.
    virtual void Loaded() {}

    // Streaming structure: whether the component is streamed inside a parent (controls, menu items)
    // rather than directly by its owner, and the children streamed inside this one for `root`.
    virtual bool HasParent() const { return false; }
    // Makes `parent`, the object the stream lists this one in, its parent. Components that have no
    // parent ignore it; a component that cannot stand in `parent` raises EComponentError.
    virtual void SetParentComponent(TComponent* parent) { (void)parent; }
    virtual void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const;

protected:
    // Frees the owned components, last created first. A subclass whose destructor would free some of
    // them in another order (a windowed control freeing its children) calls it first.
    void DestroyComponents();
    // Hook for the caption-follows-name rule of controls; called after the name has changed.
    virtual void NameChanged(const std::string& old_name) { (void)old_name; }
    void ValidateRename(const TComponent* component, const std::string& old_name, const std::string& new_name) const;

private:
    void InsertComponent(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    int tag_ = 0;
    bool loading_ = false;
    bool destroying_ = false;
    std::vector<TComponent*> components_;       // owned, in creation order
    ComponentNames names_;                      // owned and named
    ComponentList owner_listeners_;             // owned components told of insertions and removals
    ComponentList free_notifies_;               // told when this one goes
    std::map<std::string, TComponent*, std::less<>> references_;
};


// The component a Component-kind property of `object` refers to, and setting it, whether a member or
// the component's reference store holds it. Setting raises EComponentError when `object` can hold no
// reference there.
TComponent* ComponentProperty(const TPersistent& object, const PropertyInfo& info);
void SetComponentProperty(TPersistent& object, const PropertyInfo& info, TComponent* target);

// The description of TComponent itself: Name, Tag, and a non-visual component's design position.
const ComponentClass& TComponentClass();

// Creates a component of a registered class and checks its C++ type.
template <class T>
T* create(std::string_view class_name, TComponent* owner) {
    TComponent* component = create_component(class_name, owner);
    if (T* typed = dynamic_cast<T*>(component)) return typed;
    delete component;
    throw EComponentError("class " + std::string(class_name) + " is not of the requested kind");
}
