#pragma once

#include <stdexcept>

#include "platform/api.h"

// An index outside a list of the platform (string lists, a table's field and index definitions), as
// the target's lists raise it: "List index out of bounds (5)". The host catches it by this class, as it
// would the target's.
class KZR40_API EListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
