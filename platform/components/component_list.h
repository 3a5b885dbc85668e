#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

class TComponent;

// A set of components that is walked often and changed one member at a time: adding, finding and
// removing take constant time, so that thousands of components referring to one (every editor to its
// data source) cost no more per component than one.
class ComponentList {
public:
    bool Contains(const TComponent* c) const { return index_.count(c) != 0; }
    // False when `c` was already a member.
    bool Add(TComponent* c) {
        if (!index_.emplace(c, members_.size()).second) return false;
        members_.push_back(c);
        return true;
    }
    // The last member takes the place of the one removed.
    void Remove(const TComponent* c) {
        const auto it = index_.find(c);
        if (it == index_.end()) return;
        const std::size_t at = it->second;
        index_.erase(it);
        if (at + 1 != members_.size()) {
            members_[at] = members_.back();
            index_[members_[at]] = at;
        }
        members_.pop_back();
    }
    bool Empty() const { return members_.empty(); }
    TComponent* Back() const { return members_.back(); }
    const std::vector<TComponent*>& Members() const { return members_; }

private:
    std::vector<TComponent*> members_;
    std::unordered_map<const TComponent*, std::size_t> index_;
};

// Removes `member` from an ordered list, searching from the back: lists are emptied last first when
// their owner goes, which makes each removal constant time.
template <class T, class U>
void EraseFromBack(std::vector<T*>& list, const U* member) {
    for (std::size_t i = list.size(); i-- > 0;)
        if (list[i] == member) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}
