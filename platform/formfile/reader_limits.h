#pragma once

#include <cstddef>
#include <string>

// Bounds that both form-file readers enforce, so that hostile input can exhaust neither the stack nor
// the memory.

namespace formfile {

// Objects, lists and collections nested deeper than this are refused.
inline constexpr int kMaxNestingDepth = 256;

// Form files and form texts larger than this are refused before they are read (64 MiB: the largest
// forms seen in practice are a few megabytes). The readers need at most about 20 bytes of memory per
// input byte, so a file at the limit stays well within a small machine's memory.
inline constexpr std::size_t kMaxFormFileSize = std::size_t{64} << 20;

// The message for an input of `size` bytes that exceeds kMaxFormFileSize.
inline std::string too_large_message(std::size_t size) {
    return std::to_string(size) + " bytes, more than the " + std::to_string(kMaxFormFileSize) +
           " (64 MiB) that a form file may have";
}

}  // namespace formfile
