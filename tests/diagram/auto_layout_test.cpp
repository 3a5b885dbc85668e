// Automatic placement of boxes with Graphviz.

#include "diagram/auto_layout.h"

#include <random>

#include <gtest/gtest.h>

namespace {

// Every box at least `margin` from the origin, one of them at it, and no two boxes sharing a pixel.
void expect_placed_apart(const std::vector<LayoutBox>& boxes, const std::vector<LayoutPosition>& at, std::int32_t margin) {
    ASSERT_EQ(at.size(), boxes.size());
    std::int32_t least = INT32_MAX;
    for (std::size_t i = 0; i < at.size(); ++i) {
        ASSERT_TRUE(at[i].left >= margin && at[i].top >= margin) << i;
        least = std::min(least, at[i].left);
        for (std::size_t j = i + 1; j < at.size(); ++j)
            ASSERT_TRUE(at[i].left + boxes[i].width <= at[j].left || at[j].left + boxes[j].width <= at[i].left ||
                        at[i].top + boxes[i].height <= at[j].top || at[j].top + boxes[j].height <= at[i].top)
                << "boxes " << i << " and " << j << " overlap";
    }
    EXPECT_EQ(least, margin);
}

TEST(AutoLayout, DotRanksEdgesDownwardWithoutOverlapAndRepeatsItself) {
    // A chain with a branch, a cycle back to the start, a self-loop and a lone box; odd sizes put
    // centres between pixels.
    const std::vector<LayoutBox> boxes{{120, 80}, {61, 33}, {200, 41}, {15, 15}, {99, 250}, {40, 40}};
    const std::vector<LayoutEdge> edges{{0, 1}, {1, 2}, {1, 3}, {3, 4}, {4, 0}, {2, 2}};
    const LayoutOptions options{.margin = 7};
    const std::vector<LayoutPosition> at = auto_layout(boxes, edges, options);
    expect_placed_apart(boxes, at, options.margin);
    for (auto [from, to] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{1, 3}, std::pair{3, 4}})
        EXPECT_GE(at[to].top, at[from].top + boxes[from].height + options.spacing) << from << "->" << to;
    EXPECT_EQ(auto_layout(boxes, edges, options), at);
}

// Unrelated boxes are set in a grid: in one row 100 boxes would span 9,000 pixels.
TEST(AutoLayout, DotSetsUnconnectedBoxesInAGridNotARow) {
    const std::vector<LayoutBox> boxes(100, LayoutBox{50, 50});
    const std::vector<LayoutPosition> at = auto_layout(boxes, {});
    expect_placed_apart(boxes, at, LayoutOptions{}.margin);
    for (const LayoutPosition& p : at) EXPECT_TRUE(p.left < 2000 && p.top < 2000) << p.left << ", " << p.top;
}

TEST(AutoLayout, LargeDiagramsSwitchToTheFasterEngineWhichStaysApartAndRepeatsItself) {
    const LayoutOptions options{.large = 150, .large_grouped = 200};
    std::vector<LayoutBox> some(150, LayoutBox{10, 10});
    EXPECT_EQ(layout_engine_for(some, options), LayoutEngine::dot);
    some.push_back({10, 10});
    EXPECT_EQ(layout_engine_for(some, options), LayoutEngine::sfdp);
    some.back().group = 0;  // dot alone keeps groups together: kept longer for them
    EXPECT_EQ(layout_engine_for(some, options), LayoutEngine::dot);
    some.resize(201, LayoutBox{10, 10});
    EXPECT_EQ(layout_engine_for(some, options), LayoutEngine::sfdp);
    EXPECT_EQ(layout_engine_for(std::vector<LayoutBox>(10, LayoutBox{10, 10}), LayoutOptions{.engine = LayoutEngine::sfdp}),
              LayoutEngine::sfdp);
    std::mt19937 random(7);
    std::vector<LayoutBox> boxes;
    std::vector<LayoutEdge> edges;
    for (std::size_t i = 0; i < 300; ++i) boxes.push_back({int(random() % 201), int(random() % 151)});
    for (std::size_t i = 0; i < 300; ++i) edges.push_back({random() % 300, random() % 300});
    const std::vector<LayoutPosition> at = auto_layout(boxes, edges, options);
    expect_placed_apart(boxes, at, options.margin);
    EXPECT_EQ(auto_layout(boxes, edges, options), at);  // sfdp's random start is seeded anew each time
}

// Past its bound dot's passes are cut short; what they leave must still keep every box apart. 400
// boxes with 0..3 edges each: most of them on one web of cycles, dot's slowest case.
TEST(AutoLayout, DotCutShortOnALargeTangledDiagramStillKeepsBoxesApart) {
    std::mt19937 random(11);
    std::vector<LayoutBox> boxes;
    std::vector<LayoutEdge> edges;
    for (std::size_t i = 0; i < 400; ++i) boxes.push_back({int(100 + random() % 121), int(40 + random() % 261)});
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t k = random() % 4; k > 0; --k) edges.push_back({i, random() % boxes.size()});
    const LayoutOptions options{.engine = LayoutEngine::dot};
    const std::vector<LayoutPosition> at = auto_layout(boxes, edges, options);
    expect_placed_apart(boxes, at, options.margin);
    EXPECT_EQ(auto_layout(boxes, edges, options), at);
}

TEST(AutoLayout, RefusesWhatItCannotPlace) {
    EXPECT_TRUE(auto_layout({}, {}).empty());
    const std::vector<LayoutBox> boxes{{10, 10}, {20, -1}};
    EXPECT_THROW(auto_layout(std::span(boxes).first(1), std::vector<LayoutEdge>{{0, 1}}), std::invalid_argument);
    EXPECT_THROW(auto_layout(boxes, {}), std::invalid_argument);
    EXPECT_THROW(auto_layout(std::span(boxes).first(1), {}, LayoutOptions{.margin = -1}), std::invalid_argument);
}

}  // namespace
