#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/geometry.h"

class DiagramScene;
class TRelacionamento;

// How well a placed diagram reads, counted on the shapes' own bounds and routes (surface pixels), not
// on the picture. A layout that reads has every count but `crossings` at zero; crossings are counted
// to compare layouts, as not every diagram can be drawn without them.
struct LayoutMeasure {
    std::size_t caption_box_overlaps = 0;  // a caption and an entity box that share a pixel
    std::size_t caption_overlaps = 0;      // two captions that share a pixel
    std::size_t captions_on_lines = 0;         // a relationship's caption and a segment of another's line that share a pixel
    std::size_t entity_captions_on_lines = 0;  // an entity's caption and a segment of a line (a loop's too) that share a pixel
    std::size_t lines_through_boxes = 0;   // a relationship's segment inside a box it does not join
    std::size_t coincident_segments = 0;   // segments of two relationships on one line, sharing a stretch
    std::size_t shared_ends = 0;           // two relationship ends (their marks) at one point
    std::size_t crossings = 0;             // segments of two relationships crossing
    double aspect_ratio = 1;               // the shapes' width over their height
    int free_text_distance = 0;            // the farthest free text's gap to the entities' (and their captions') bounding box
    std::vector<std::size_t> blocked_lines;  // the relationships counted in lines_through_boxes, each once, in order

    // No overlap, no line through a box, nothing drawn on top of another line or mark.
    bool clear() const {
        return caption_box_overlaps == 0 && caption_overlaps == 0 && captions_on_lines == 0 &&
               entity_captions_on_lines == 0 && lines_through_boxes == 0 &&
               coincident_segments == 0 && shared_ends == 0;
    }
};

LayoutMeasure measure_layout(const DiagramScene& scene);

// The straight pieces of a relationship's line in surface pixels, one rectangle each, both end points
// included: the three of its route, or the four of a loop's, pieces of no length left out. The
// measure looks at these; the layout routes by them.
std::vector<TRect> line_segments(const TRelacionamento& line);

// One line per count, "caption/box overlaps: 0", as `kzr40 layout --report` prints them.
std::string describe_layout_measure(const LayoutMeasure& measure);
