#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/formfile/reader_limits.h"
#include "platform/formfile/value.h"

// What a stored diagram may cost before it is read: its size, and the memory its objects will take
// as components. A stream names an object in a few bytes, but each becomes a shape of a few kilobytes
// (an entity with its fonts and lists, a relationship with its connections), so a stream of nothing
// but empty objects would need a hundred bytes and more per input byte; it is refused before any
// component is made, so that reading a stored diagram takes at most about 20 bytes per input byte, as
// the form-file readers promise for their part.

// The largest stored diagram (64 MiB, the form-file readers' limit; a stored diagram of 17,000
// entities of 20 attributes takes 60 MB as text).
inline constexpr std::size_t kMaxStoredDiagramBytes = formfile::kMaxFormFileSize;

// Refuses (DiagramError naming `source`) a stored diagram larger than kMaxStoredDiagramBytes.
void check_stored_size(std::string_view content, const std::string& source);

// Refuses (DiagramError naming `source`) a stream read from `input_bytes` bytes whose objects,
// collection items and list entries would take more memory as components than its size allows.
void check_stored_objects(const formfile::ObjectNode& root, std::size_t input_bytes, const std::string& source);
