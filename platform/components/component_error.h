#pragma once

#include <stdexcept>

#include "platform/api.h"

// Errors of the component model, e.g. a rejected or duplicate name. Messages are Windows-1252 text.
class KZR40_API EComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
