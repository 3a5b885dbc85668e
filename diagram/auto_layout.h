#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

// Automatic placement of diagram boxes with Graphviz: boxes of given pixel sizes and the edges between
// them in, integer top-left positions out. Only sizes and edges are needed, so any kind of box can be
// placed (entities once they have measured themselves, free texts).
//
// Units: Graphviz works in points (72 per inch). A layout has no physical size, so a box of w × h
// pixels is given to Graphviz as w × h points and the positions it computes are read back as pixels,
// one for one: no conversion factor, no rounding of sizes. Each box is padded by kLayoutPadding pixels
// on every side before Graphviz sees it, so rounding a centre to whole pixels (half a pixel at most)
// can never make two boxes touch.

struct LayoutBox {
    std::int32_t width = 0;  // pixels, 0 or more
    std::int32_t height = 0;
    // Boxes of one group (0 or more) are kept together, apart from other groups (dot's clusters; sfdp
    // has none); -1: in no group.
    std::int32_t group = -1;
};

struct LayoutEdge {
    std::size_t from = 0;  // indexes into the boxes
    std::size_t to = 0;
    // Weighed heavily (dot's edge weight): its boxes kept as few ranks apart as can be, the course
    // between them straight in one free column (across: row) that lines up with its ends where it can.
    bool straight = false;
};

struct LayoutPosition {
    std::int32_t left = 0;
    std::int32_t top = 0;
    friend bool operator==(const LayoutPosition&, const LayoutPosition&) = default;
};

enum class LayoutEngine {
    automatic,  // dot up to LayoutOptions::large (large_grouped with groups), sfdp above
    dot,        // ranked: an edge's start box above its end box
    sfdp,       // force-directed with overlap removal, for very large diagrams
};

inline constexpr std::int32_t kLayoutPadding = 2;

struct LayoutOptions {
    std::int32_t margin = 20;   // least left and top of any box
    std::int32_t spacing = 40;  // least gap Graphviz keeps between boxes (dot: between neighbours and ranks)
    // Above this many boxes the automatic choice takes sfdp: on diagrams of one to two relationships per
    // entity sfdp's layouts read better beyond it (fewer lines through boxes and captions on lines, fewer
    // crossings) and dot's time grows far faster (see docs/auto-layout.md for the measurements).
    std::size_t large = 300;
    // The same for a diagram with groups: only dot keeps a group's boxes together (a cluster each), so
    // it is kept up to the size where its time, cut short, stays bearable.
    std::size_t large_grouped = 2000;
    LayoutEngine engine = LayoutEngine::automatic;
};

// A failure inside Graphviz; the message holds what Graphviz reported.
class LayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The engine that `options` picks for `boxes`.
LayoutEngine layout_engine_for(std::span<const LayoutBox> boxes, const LayoutOptions& options);

// Positions for the boxes, in their order: every left and top at least `margin`, no two boxes
// overlapping, the same result for the same input on every run. Throws std::invalid_argument for a
// negative size, an edge naming a box that does not exist or a negative margin or spacing, and
// LayoutError when Graphviz fails. Graphviz is not reentrant: calls from several threads take turns.
// Reseeds the C library's random generators (rand, drand48), which sfdp draws from.
std::vector<LayoutPosition> auto_layout(std::span<const LayoutBox> boxes, std::span<const LayoutEdge> edges,
                                        const LayoutOptions& options = {});
