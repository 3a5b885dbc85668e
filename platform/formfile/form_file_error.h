#pragma once

#include <stdexcept>

namespace formfile {

// A form file or form text that cannot be read or written. The message names the byte offset (binary)
// or the line (text) and the problem.
class FormFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace formfile
