#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/components/class_info.h"
#include "platform/string_list.h"

// Short builders for the class descriptions that each unit of the component library writes beside its
// classes: one published property per call, in the target's declaration order.
namespace props {

inline PropertyInfo prop(std::string name, PropertyKind kind, PropertyValue def = {},
                         Stored stored = Stored::NotDefault) {
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = kind;
    p.default_value = std::move(def);
    p.stored = stored;
    return p;
}
inline PropertyInfo integer(std::string name, std::int64_t def) {
    return prop(std::move(name), PropertyKind::Integer, PropertyValue{def});
}
inline PropertyInfo boolean(std::string name, bool def) {
    return prop(std::move(name), PropertyKind::Boolean, PropertyValue{def});
}
inline PropertyInfo enumeration(std::string name, const char* def) {
    return prop(std::move(name), PropertyKind::Enumeration, Identifier{def});
}
inline PropertyInfo set(std::string name, std::vector<std::string> def) {
    return prop(std::move(name), PropertyKind::Set, IdentifierSet{std::move(def)});
}
inline PropertyInfo text(std::string name) { return prop(std::move(name), PropertyKind::String); }
inline PropertyInfo text(std::string name, const char* def) {
    return prop(std::move(name), PropertyKind::String, std::string(def));
}
inline PropertyInfo event(std::string name) { return prop(std::move(name), PropertyKind::Event); }
inline PropertyInfo component(std::string name) { return prop(std::move(name), PropertyKind::Component); }
inline PropertyInfo strings(std::string name) { return prop(std::move(name), PropertyKind::Strings); }
inline PropertyInfo binary(std::string name) { return prop(std::move(name), PropertyKind::Binary); }

inline std::vector<PropertyInfo> events(std::initializer_list<const char*> names) {
    std::vector<PropertyInfo> out;
    for (const char* n : names) out.push_back(event(n));
    return out;
}

// Splices lists of properties in order.
template <class... Lists>
std::vector<PropertyInfo> join(Lists&&... lists) {
    std::vector<PropertyInfo> out;
    (out.insert(out.end(), lists.begin(), lists.end()), ...);
    return out;
}

// The texts of a string list, as a Strings property holds them.
inline Lines lines_of(const StringList& list) {
    Lines lines;
    lines.lines.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) lines.lines.emplace_back(list.Text(i).view());
    return lines;
}

// A Strings property whose list the class replaces whole (a description): read as lines, written as a
// new list without objects.
template <class T>
PropertyInfo replaced_lines(std::string name, const StringList& (T::*read)() const,
                            void (T::*replace)(std::unique_ptr<StringList>)) {
    PropertyInfo p = strings(std::move(name));
    p.get = [read](const TPersistent& o) { return PropertyValue{lines_of((static_cast<const T&>(o).*read)())}; };
    p.set = [replace](TPersistent& o, const PropertyValue& v) {
        auto list = std::make_unique<StringList>();
        if (const auto* lines = std::get_if<Lines>(&v))
            for (const std::string& line : lines->lines) list->AddObject(HostString(line), nullptr);
        (static_cast<T&>(o).*replace)(std::move(list));
    };
    return p;
}

// Instances of the class are created as the C++ class T.
template <class T>
void creatable(ComponentClass& c) {
    c.create = [](TComponent* owner, const ComponentClass& self) -> TComponent* { return new T(owner, self); };
}

}  // namespace props
