#pragma once

#include <cstddef>
#include <vector>

#include "platform/api.h"
#include "platform/host_string.h"
#include "platform/list_error.h"
#include "platform/object.h"

// The host's string list as the plug-in sees it: only these five operations are called on it, and
// their virtual slots come in this order (Get, Count, Objects, Add, Clear) as in the host's class.
class KZR40_API HostStringList : public TObject {
public:
    // Text of entry `index`; the pointer stays valid while the entry is unchanged.
    virtual const char* Get(int index) const = 0;
    virtual int Count() const = 0;
    // Object attached to entry `index`, or null.
    virtual TObject* Objects(int index) const = 0;
    // Appends a text (the list keeps its own copy) and returns its index.
    virtual int Add(const char* text) = 0;
    virtual void Clear() = 0;
    ~HostStringList() override = default;
};

// The concrete list used by the host, by the entity's own lists and by tests. Like the host's list it
// never owns the objects attached to its entries. Nothing derives from it, so that a call through a
// StringList reference needs no virtual dispatch and an entry is read inline.
class KZR40_API StringList final : public HostStringList {
public:
    StringList() = default;

    const char* Get(int index) const override { return entry(index).text.c_str(); }
    int Count() const override { return static_cast<int>(entries_.size()); }
    TObject* Objects(int index) const override { return entry(index).object; }
    int Add(const char* text) override { return AddObject(text, nullptr); }
    void Clear() override { entries_.clear(); }

    int AddObject(HostString text, TObject* object);
    const HostString& Text(int index) const { return entry(index).text; }
    void PutObject(int index, TObject* object) { entry(index).object = object; }
    void Delete(int index);
    void Exchange(int a, int b);
    // Makes room for `count` entries in all, so that adding up to that many moves nothing.
    void Reserve(std::size_t count) { entries_.reserve(count); }
    // Replaces this list's entries with copies of `source`'s (same texts, same object references).
    void Assign(const HostStringList& source);

private:
    struct Entry {
        HostString text;
        TObject* object = nullptr;
    };
    Entry& entry(int index) {
        if (index < 0 || index >= Count()) out_of_bounds(index);
        return entries_[static_cast<std::size_t>(index)];
    }
    const Entry& entry(int index) const {
        if (index < 0 || index >= Count()) out_of_bounds(index);
        return entries_[static_cast<std::size_t>(index)];
    }
    [[noreturn]] static void out_of_bounds(int index);

    std::vector<Entry> entries_;
};
