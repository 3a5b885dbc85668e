#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

class TComponent;

// A set of components that is walked often and changed one member at a time: adding, finding and
// removing take constant time, so that thousands of components referring to one (every editor to its
// data source) cost no more per component than one. Most sets hold a member or two (a shape's
// connectors, a component told of another's going): up to kLinear members are found by looking
// through them, and only a larger set takes an index, whose nodes would otherwise cost an allocation
// per member added.
class ComponentList {
public:
    bool Contains(const TComponent* c) const { return find(c) != kNone; }
    // False when `c` was already a member.
    bool Add(TComponent* c) {
        if (index_.empty()) {
            if (find(c) != kNone) return false;
            members_.push_back(c);
            if (members_.size() > kLinear)
                for (std::size_t i = 0; i < members_.size(); ++i) index_.emplace(members_[i], i);
            return true;
        }
        if (!index_.emplace(c, members_.size()).second) return false;
        members_.push_back(c);
        return true;
    }
    // The last member takes the place of the one removed.
    void Remove(const TComponent* c) {
        const std::size_t at = find(c);
        if (at == kNone) return;
        if (!index_.empty()) index_.erase(c);
        if (at + 1 != members_.size()) {
            members_[at] = members_.back();
            if (!index_.empty()) index_[members_[at]] = at;
        }
        members_.pop_back();
    }
    bool Empty() const { return members_.empty(); }
    TComponent* Back() const { return members_.back(); }
    const std::vector<TComponent*>& Members() const { return members_; }

private:
    static constexpr std::size_t kLinear = 8;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t find(const TComponent* c) const {
        if (index_.empty()) {
            for (std::size_t i = 0; i < members_.size(); ++i)
                if (members_[i] == c) return i;
            return kNone;
        }
        const auto it = index_.find(c);
        return it == index_.end() ? kNone : it->second;
    }

    std::vector<TComponent*> members_;
    std::unordered_map<const TComponent*, std::size_t> index_;  // every member's place, once there are more than kLinear
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
