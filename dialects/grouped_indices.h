#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The numbers 0..count-1 of some items, grouped by a group number below `groups`, each group in the
// items' order: a count sort, two passes over the items and one array for all the groups (a large
// diagram has tens of thousands of tables to group foreign keys by).
class GroupedIndices {
public:
    // What group_of returns for an item that goes in no group.
    static constexpr std::size_t kNoGroup = SIZE_MAX;

    template <class GroupOf>
    GroupedIndices(std::size_t groups, std::size_t count, const GroupOf& group_of) : start_(groups + 1, 0) {
        for (std::size_t i = 0; i < count; ++i)
            if (const std::size_t g = group_of(i); g != kNoGroup) ++start_[g + 1];
        for (std::size_t g = 1; g <= groups; ++g) start_[g] += start_[g - 1];
        indices_.resize(start_.back());
        std::vector<std::size_t> next(start_.begin(), start_.end() - 1);
        for (std::size_t i = 0; i < count; ++i)
            if (const std::size_t g = group_of(i); g != kNoGroup) indices_[next[g]++] = i;
    }

    std::span<const std::size_t> operator[](std::size_t group) const {
        return {indices_.data() + start_[group], start_[group + 1] - start_[group]};
    }

private:
    std::vector<std::size_t> start_;  // where each group starts in indices_; one more at the end
    std::vector<std::size_t> indices_;
};
