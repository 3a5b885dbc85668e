#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/text_metrics.h"

// Format flags of DrawText, with the target's values. Others are refused (std::invalid_argument).
enum : unsigned {
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_WORDBREAK = 0x0010,
    DT_NOCLIP = 0x0100,
    DT_CALCRECT = 0x0400,
    DT_NOPREFIX = 0x0800,
};
inline constexpr unsigned kDrawTextFlags = DT_CENTER | DT_RIGHT | DT_WORDBREAK | DT_NOCLIP | DT_CALCRECT | DT_NOPREFIX;

// One line of laid-out text: a stretch of TextLayout::text.
struct LaidOutLine {
    std::size_t start = 0;
    std::size_t length = 0;
    int width = 0;  // in pixels
};

// Text broken into lines as DrawText breaks it.
struct TextLayout {
    // The text as drawn: with prefix processing, "&&" became "&" and a single "&" went.
    std::string text;
    std::vector<LaidOutLine> lines;
    // Positions in `text` of the characters a single "&" marked: they are drawn underlined.
    std::vector<std::size_t> marked;
    int widest = 0;

    std::string_view Line(std::size_t i) const { return std::string_view(text).substr(lines[i].start, lines[i].length); }
};

// Lays out `text` for DrawText with `flags` in a rectangle `width` pixels wide:
// - without DT_NOPREFIX, "&&" stands for "&" and a single "&" marks the next character;
// - a line feed, a carriage return, or the pair CR LF ends a line; a break at the very end of the
//   text starts no further line; an empty text has no lines;
// - with DT_WORDBREAK, a line takes words while they fit (width <= `width`); the blanks where a line
//   is broken are dropped; a line's first word is always taken, so a word longer than the line is
//   not split but overhangs. Only the blank (32) separates words.
// Raises std::invalid_argument for a flag this canvas does not implement.
TextLayout LayOutText(std::string_view text, int width, unsigned flags, const FontMetrics& metrics);
