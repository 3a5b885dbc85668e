// Automatic placement of boxes with Graphviz.

#include "host/auto_layout.h"

#include <random>

#include <gtest/gtest.h>

namespace {

struct Graph {
    std::vector<LayoutBox> boxes;
    std::vector<LayoutEdge> edges;
};

// Boxes of mixed sizes (odd ones too, whose centres fall between pixels) joined by random edges.
Graph random_graph(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    auto number = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Graph g;
    for (std::size_t i = 0; i < count; ++i) g.boxes.push_back({number(1, 201), number(1, 151)});
    for (std::size_t i = 0; i < count; ++i)
        g.edges.push_back({static_cast<std::size_t>(number(0, static_cast<int>(count) - 1)),
                           static_cast<std::size_t>(number(0, static_cast<int>(count) - 1))});
    return g;
}

// Every box at least `margin` from the origin and no two boxes sharing a pixel.
void expect_placed_apart(const Graph& g, const std::vector<LayoutPosition>& at, std::int32_t margin) {
    ASSERT_EQ(at.size(), g.boxes.size());
    for (std::size_t i = 0; i < at.size(); ++i) {
        EXPECT_GE(at[i].left, margin);
        EXPECT_GE(at[i].top, margin);
        for (std::size_t j = i + 1; j < at.size(); ++j) {
            const bool apart = at[i].left + g.boxes[i].width <= at[j].left || at[j].left + g.boxes[j].width <= at[i].left ||
                               at[i].top + g.boxes[i].height <= at[j].top || at[j].top + g.boxes[j].height <= at[i].top;
            ASSERT_TRUE(apart) << "boxes " << i << " and " << j << " overlap";
        }
    }
}

TEST(AutoLayout, DotRanksEdgesDownwardWithoutOverlapAndRepeatsItself) {
    // A chain with a branch, a loop back to the start and a lone box.
    Graph g{{{120, 80}, {61, 33}, {200, 41}, {15, 15}, {99, 250}, {40, 40}},
            {{0, 1}, {1, 2}, {1, 3}, {3, 4}, {4, 0}, {2, 2}}};
    const LayoutOptions options{.margin = 7};
    const std::vector<LayoutPosition> at = auto_layout(g.boxes, g.edges, options);
    expect_placed_apart(g, at, options.margin);
    EXPECT_EQ(std::min({at[0].left, at[1].left, at[2].left, at[3].left, at[4].left, at[5].left}), options.margin);
    for (auto [from, to] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{1, 3}, std::pair{3, 4}})
        EXPECT_GE(at[to].top, at[from].top + g.boxes[from].height + options.spacing - 2 * kLayoutPadding) << from << "->" << to;
    EXPECT_EQ(auto_layout(g.boxes, g.edges, options), at);
}

TEST(AutoLayout, LargeDiagramsSwitchToTheFasterEngine) {
    const LayoutOptions options{.large = 150};
    EXPECT_EQ(layout_engine_for(150, options), LayoutEngine::dot);
    EXPECT_EQ(layout_engine_for(151, options), LayoutEngine::sfdp);
    EXPECT_EQ(layout_engine_for(10, LayoutOptions{.engine = LayoutEngine::sfdp}), LayoutEngine::sfdp);

    const Graph g = random_graph(300, 7);
    const std::vector<LayoutPosition> at = auto_layout(g.boxes, g.edges, options);
    expect_placed_apart(g, at, options.margin);
    EXPECT_EQ(auto_layout(g.boxes, g.edges, options), at);
    const Graph small = random_graph(60, 8);
    expect_placed_apart(small, auto_layout(small.boxes, small.edges), LayoutOptions{}.margin);
}

TEST(AutoLayout, RefusesWhatItCannotPlace) {
    EXPECT_TRUE(auto_layout({}, {}).empty());
    const std::vector<LayoutBox> boxes{{10, 10}, {20, 20}};
    const std::vector<LayoutEdge> beyond{{0, 2}};
    EXPECT_THROW(auto_layout(boxes, beyond), std::invalid_argument);
    const std::vector<LayoutBox> negative{{10, -1}};
    EXPECT_THROW(auto_layout(negative, {}), std::invalid_argument);
    EXPECT_THROW(auto_layout(boxes, {}, LayoutOptions{.margin = -1}), std::invalid_argument);
}

}  // namespace
