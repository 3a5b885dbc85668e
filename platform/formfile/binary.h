#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/formfile/form_file_error.h"
#include "platform/formfile/reader_limits.h"
#include "platform/formfile/value.h"

// The binary form file: an optional 16-bit resource header, then the component stream that starts
// with the signature "TPF0".

namespace formfile {

// The component stream alone ("TPF0" and the root object record).
std::string write_stream(const ObjectNode& root);
// Reads a whole component stream; bytes after the root object's record are an error.
ObjectNode read_stream(std::string_view stream);

// The resource header in front of the stream: $FF, type 10 (raw data), the resource name ended by a
// zero byte, flags $1030 and the 32-bit length of the stream.
struct ResourceHeader {
    std::string name;
    std::uint16_t flags = 0x1030;
    std::uint32_t size = 0;
    std::size_t header_size = 0;  // bytes the header occupies in the file
};

// Writes header + stream; the resource name is the root's class name in upper case (ASCII letters).
std::string write_form_file(const ObjectNode& root);
// Reads a form file with its header, or a bare stream starting with "TPF0".
ObjectNode read_form_file(std::string_view file, ResourceHeader* header = nullptr);

// True when `file` starts with a resource header or with "TPF0".
bool looks_binary(std::string_view file);

}  // namespace formfile
