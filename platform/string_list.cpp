#include "platform/string_list.h"

#include <stdexcept>
#include <string>
#include <utility>

int StringList::AddObject(HostString text, TObject* object) {
    entries_.push_back(Entry{std::move(text), object});
    return Count() - 1;
}

void StringList::Delete(int index) {
    entry(index);  // bounds check
    entries_.erase(entries_.begin() + index);
}

void StringList::Exchange(int a, int b) { std::swap(entry(a), entry(b)); }

void StringList::Assign(const HostStringList& source) {
    if (&source == this) return;
    std::vector<Entry> copy;
    copy.reserve(static_cast<std::size_t>(source.Count()));
    for (int i = 0; i < source.Count(); ++i) copy.push_back(Entry{HostString(source.Get(i)), source.Objects(i)});
    entries_ = std::move(copy);
}

void StringList::out_of_bounds(int index) { throw EListError("List index out of bounds (" + std::to_string(index) + ")"); }
