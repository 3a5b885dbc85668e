#pragma once

#include <initializer_list>
#include <string>

// A byte string from a list of byte values, for spelling out expected stream contents.
inline std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}
