#pragma once

#include <stdexcept>

#include "platform/api.h"

// An index outside a list of the platform (string lists, a table's field and index definitions): the
// target's list error, which a host catches by this class rather than by a C++ library exception.
class KZR40_API EListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
