#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/components/property_value.h"

// Class descriptions: what the streaming system knows of a component class. A description names the
// class and its parent description and lists the published properties that the class introduces, in
// the target library's declaration order, with their types and defaults; the writer walks them from
// the root class down and stores what differs from the defaults plus what the class always stores.
// Each class is described in the file of its unit (docs/form-files.md lists them).

class TPersistent;
class TComponent;
class TFont;
class TCollection;

enum class PropertyKind {
    Integer,      // ordinal numbers, TColor values that have no name
    Boolean,
    Enumeration,  // stored as an identifier
    Set,
    String,
    Event,        // a method name, stored as an identifier
    Component,    // a reference to another component, stored by its name
    Strings,      // a string list, stored as "<name>.Strings" = ( ... ) when not empty
    Font,         // a font sub-object, stored as "<name>.Charset" ... "<name>.Style"
    Collection,   // a collection of items, stored as <name> = < item ... end >
    Binary,       // binary data a class defines itself (DefineBinaryProperty), stored when not empty
    Color,        // TColor: an identifier when the colour has a name, else an integer
    Object,       // a persistent sub-object, stored as "<name>.<property>" for each of its stored properties
};

enum class Stored {
    NotDefault,  // stored when the value differs from `default_value` (absent default: when non-empty)
    Always,      // the target declares no default: stored whatever the value
    Assigned,    // stored once the program has set it (a caption that differs from the computed one)
    Never,
};

struct PropertyInfo {
    std::string name;
    PropertyKind kind = PropertyKind::Integer;
    PropertyValue default_value;  // std::monostate: no default
    Stored stored = Stored::NotDefault;

    // Properties backed by a member of the C++ class read and write it through these; when empty the
    // value lives in the object's own value store.
    std::function<PropertyValue(const TPersistent&)> get;
    std::function<void(TPersistent&, const PropertyValue&)> set;
    // Further condition for storing (e.g. a font only when it is not the parent's).
    std::function<bool(const TPersistent&)> stored_if;
    // Font and Collection kinds: the sub-object.
    std::function<const TFont*(const TPersistent&)> font;
    std::function<const TCollection*(const TPersistent&)> collection;
    // Object kind: the sub-object, whose own class description says what it stores.
    std::function<const TPersistent*(const TPersistent&)> object;
    // Component kind backed by a member (a reference with a setter of its own, or one held by a
    // sub-object that is not a component): read and written through these instead of the
    // component's reference store.
    std::function<TComponent*(const TPersistent&)> get_component;
    std::function<void(TPersistent&, TComponent*)> set_component;
};

struct ComponentClass {
    ComponentClass() = default;
    ComponentClass(std::string class_name, const ComponentClass* parent_class)
        : name(std::move(class_name)), parent(parent_class) {}

    std::string name;
    const ComponentClass* parent = nullptr;
    // Published properties introduced (or made published) at this level, in declaration order.
    std::vector<PropertyInfo> published;
    // Values the class stores itself after all published properties (a non-visual component's
    // design position, a form's PixelsPerInch and TextHeight, a grid's columns, binary data), in the
    // order written; those of ancestors come first. Each is read and written through the same entry
    // (its getter and setter, or the typed value the component keeps), as the target's
    // DefineProperties pairs a reader with a writer.
    std::vector<PropertyInfo> defined;

    bool windowed = false;            // a windowed control: gets a tab order, streams after graphic controls
    bool caption_follows_name = false;  // naming updates Caption while it equals the old name
    int create_width = 0;             // bounds the library gives the control when it creates it
    int create_height = 0;
    int client_inset = 0;             // border between the bounds and the client area, on every side
    int align_inset = 0;              // further margin that aligned children keep (a panel's bevel)

    // Creates an instance of `self` (this description) owned by `owner`; absent for classes that cannot
    // be created by name.
    std::function<TComponent*(TComponent* owner, const ComponentClass& self)> create;

    // Looks a property up in this class and its ancestors (letter case ignored), through an index
    // built on first use.
    const PropertyInfo* find_property(std::string_view property) const;
    // Published properties from the root class down, then the defined values from the root class
    // down: the order in which a writer considers them.
    // Computed once, on first use: a description must be complete by then.
    const std::vector<const PropertyInfo*>& stored_order() const;
    bool inherits_from(std::string_view class_name) const;

private:
    mutable std::vector<const PropertyInfo*> stored_order_;
    mutable bool stored_order_ready_ = false;
    // Open-addressed by the hash of the name in lower case (a power of two in size, at most half
    // used): a lookup per property of every object read folds no copy of the name and follows no node.
    struct IndexSlot {
        std::uint64_t hash = 0;
        const PropertyInfo* property = nullptr;  // null: free
    };
    mutable std::vector<IndexSlot> property_index_;
    mutable bool property_index_ready_ = false;
};

// The registry of classes that can be created by name. Each layer registers the classes it declares
// when it is loaded, through the one ClassRegistration of its registration unit; form classes of
// stored designs are registered when first defined.
void register_class(const ComponentClass& description);
const ComponentClass* find_class(std::string_view class_name);
// The description of a registered class; EComponentError naming it when there is none.
const ComponentClass& component_class(std::string_view class_name);
// Creates a component of a registered class; unknown class: EComponentError naming it.
TComponent* create_component(std::string_view class_name, TComponent* owner);

using ClassDescriber = const ComponentClass& (*)();

// Registers the descriptions that the given functions return, at load time, in the order given:
//   extern "C" const ClassRegistration kzr40_<layer>_classes{TPanelClass, ...};
// The functions build their description on first call, so a parent description in another unit is
// complete whatever the order in which units load. A static link keeps an object file only when
// something refers to it, and most classes are only ever reached by name: each layer's target
// therefore carries an interface link option (--undefined) naming its registration, which keeps the
// registration unit and, through its list, every class it names.
class ClassRegistration {
public:
    ClassRegistration(std::initializer_list<ClassDescriber> classes);
    // What this registration registered, in its order.
    std::span<const ClassDescriber> classes() const { return classes_; }

private:
    std::vector<ClassDescriber> classes_;
};
