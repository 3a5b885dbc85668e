#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/ascii_case.h"

// The text in 8-byte words, each byte with its bit 0x20 set, which makes every ASCII capital its small
// letter (and merges a few punctuation pairs, which costs no more than a comparison), mixed word by
// word: texts equal where SameIgnoringAsciiCase holds hash equal, with no folded copy made and a few
// instructions per word rather than per letter. The last mix spreads the high bits into the low ones,
// which open-addressed tables index by.
inline std::uint64_t AsciiCaselessHash(std::string_view text) {
    constexpr std::uint64_t kFold = 0x2020202020202020u;
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;
    std::uint64_t hash = 14695981039346656037u ^ text.size();
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        hash = (hash ^ (word | kFold)) * kMix;
        hash ^= hash >> 32;
    }
    std::uint64_t tail = 0;
    for (unsigned shift = 0; i < text.size(); ++i, shift += 8)
        tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i]) | 0x20u) << shift;
    hash = (hash ^ tail) * kMix;
    hash ^= hash >> 29;
    hash *= 0xBF58476D1CE4E5B9u;
    return hash ^ (hash >> 32);
}
