#pragma once

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

// Collects the elements of a list whose length is known only at its end, and hands them over in a
// vector of exactly that length. Growing a vector by doubling holds up to three times the elements
// while it moves them. The chunks of a deque are never moved; they are handed over from the last
// one, which is the newest block of the heap, so that each freed chunk can go back to the system at
// once and the peak stays near one copy of the elements.

namespace formfile {

template <class T>
class ExactList {
public:
    void add(T element) { pending_.push_back(std::move(element)); }

    std::vector<T> take() {
        std::vector<T> out;
        out.reserve(pending_.size());
        while (!pending_.empty()) {
            out.push_back(std::move(pending_.back()));
            pending_.pop_back();
        }
        std::reverse(out.begin(), out.end());
        return out;
    }

private:
    std::deque<T> pending_;
};

}  // namespace formfile
