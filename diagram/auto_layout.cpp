#include "diagram/auto_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

namespace {

// The weight of a straight edge against 1 for the others: enough that dot's placement lines such an
// edge up before the lines around it.
constexpr const char* kStraightWeight = "100";

// Room around a group's boxes, in points (pixels): the group's area and its name above them.
constexpr int kGroupMargin = 24;

// Graphviz keeps its error handler and much else in global state.
std::mutex graphviz_turn;

// What Graphviz reported during the current call; its handler has no user data, and the mutex above
// makes a plain global safe.
std::string graphviz_messages;

int collect_message(char* message) {
    if (graphviz_messages.size() < 4096) graphviz_messages += message;
    return 0;
}

// Installs the collecting handler for one call and puts back what was there before.
class ErrorCapture {
public:
    ErrorCapture() : previous_handler_(agseterrf(collect_message)), previous_level_(agseterr(AGERR)) {
        graphviz_messages.clear();
        agreseterrors();
    }
    ~ErrorCapture() {
        agseterrf(previous_handler_);
        agseterr(previous_level_);
    }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    [[noreturn]] static void fail(const std::string& what) {
        std::string message = "automatic layout failed: " + what;
        std::string reported = graphviz_messages;
        while (!reported.empty() && (reported.back() == '\n' || reported.back() == ' ')) reported.pop_back();
        if (!reported.empty()) message += ": " + reported;
        throw LayoutError(message);
    }

private:
    agusererrf previous_handler_;
    agerrlevel_t previous_level_;
};

// One context for the whole process: each new one reads Graphviz's plug-in list again and leaks
// a copy of it.
GVC_t* graphviz_context() {
    static GVC_t* const context = gvContext();
    return context;
}

struct GraphDeleter {
    void operator()(Agraph_t* graph) const { agclose(graph); }
};

std::string inches(double points) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", points / 72.0);
    return text;
}

void set_graph(Agraph_t* graph, const char* name, const std::string& value) {
    agattr(graph, AGRAPH, const_cast<char*>(name), const_cast<char*>(value.c_str()));
}

// Up to this many boxes and edges together dot runs to the end; a diagram of 120 random entities
// with their relationships lies below it, one of 250 about at it.
constexpr std::size_t kDotUnbounded = 600;

// dot's time goes into its network simplex passes (ranks, then x coordinates) and its crossing
// reduction, over a graph with a node at every rank that an edge passes: a random diagram of 1,000
// entities has 148 ranks and 45,000 such nodes, and dot took minutes over it. Above kDotUnbounded the
// passes are cut short in proportion to the size, so that their iterations stay about where they end
// for a diagram at the bound. Every pass keeps a feasible placement at each step, so a cut-short
// layout still has no two boxes overlapping; it is only less compact and has more crossings.
void bound_dot_effort(Agraph_t* graph, std::size_t boxes, std::size_t edges) {
    const std::size_t size = boxes + edges;
    if (size <= kDotUnbounded) return;
    char factor[32];
    std::snprintf(factor, sizeof factor, "%.4f", static_cast<double>(kDotUnbounded) / static_cast<double>(size));
    set_graph(graph, "nslimit", factor);   // x coordinates: at most factor × boxes iterations
    set_graph(graph, "nslimit1", factor);  // ranks
    set_graph(graph, "mclimit", factor);   // crossing reduction: its iterations scaled by factor
}

}  // namespace

LayoutEngine layout_engine_for(std::span<const LayoutBox> boxes, const LayoutOptions& options) {
    if (options.engine != LayoutEngine::automatic) return options.engine;
    const bool grouped = std::any_of(boxes.begin(), boxes.end(), [](const LayoutBox& b) { return b.group >= 0; });
    return boxes.size() > (grouped ? options.large_grouped : options.large) ? LayoutEngine::sfdp : LayoutEngine::dot;
}

namespace {

// One run of Graphviz; `across` lays dot's ranks out from left to right instead of top to bottom.
std::vector<LayoutPosition> run_graphviz(std::span<const LayoutBox> boxes, std::span<const LayoutEdge> edges,
                                         const LayoutOptions& options, LayoutEngine engine, bool across) {
    // The engines are plug-ins that the context loads on first use, from Graphviz's installed list.
    GVC_t* const context = graphviz_context();
    if (!context) ErrorCapture::fail("no Graphviz context");
    std::unique_ptr<Agraph_t, GraphDeleter> graph(agopen(const_cast<char*>("diagram"), Agdirected, nullptr));
    if (!graph) ErrorCapture::fail("no graph");
    Agraph_t* g = graph.get();

    // Edges are not drawn from Graphviz's routes, so none are computed (the larger part of dot's time).
    set_graph(g, "splines", "none");
    // Unconnected parts are laid out apart and set in a grid, with either engine: dot would otherwise
    // put them side by side in one row (a diagram of unrelated tables one rank tens of thousands of
    // pixels wide), and both engines' closer packing is slow: 25 s for 2,000 lone boxes with dot, 40 s
    // for 3,000 with sfdp. The grid costs next to nothing.
    // dot's packing fails on clusters (it crashes placing their labels), so a diagram with groups is
    // laid out whole.
    const bool grouped = engine == LayoutEngine::dot && std::any_of(boxes.begin(), boxes.end(), [](const LayoutBox& b) { return b.group >= 0; });
    if (!grouped) {
        set_graph(g, "pack", std::to_string(options.spacing));
        set_graph(g, "packmode", "array");
    }
    if (engine == LayoutEngine::dot) {
        set_graph(g, "nodesep", inches(options.spacing));
        set_graph(g, "ranksep", inches(options.spacing));
        if (across) set_graph(g, "rankdir", "LR");
        bound_dot_effort(g, boxes.size(), edges.size());
    } else {
        // Overlaps are removed by spreading the whole layout evenly until `sep` points stand between
        // every two boxes: at 10,000 boxes four times faster than prism, and it keeps the overall shape.
        set_graph(g, "overlap", "scale");
        set_graph(g, "sep", "+" + std::to_string(options.spacing / 2));
        set_graph(g, "start", "1");
        // The coarser of Graphviz's two approximations of the repulsive forces: half sfdp's time at
        // 10,000 boxes; still no overlaps, the aspect as near square, about as many crossings.
        set_graph(g, "quadtree", "fast");
    }
    agattr(g, AGNODE, const_cast<char*>("shape"), const_cast<char*>("box"));
    agattr(g, AGNODE, const_cast<char*>("fixedsize"), const_cast<char*>("true"));
    agattr(g, AGNODE, const_cast<char*>("label"), const_cast<char*>(""));
    Agsym_t* width = agattr(g, AGNODE, const_cast<char*>("width"), const_cast<char*>("1"));
    Agsym_t* height = agattr(g, AGNODE, const_cast<char*>("height"), const_cast<char*>("1"));

    std::vector<Agnode_t*> nodes(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const std::string name = std::to_string(i);
        nodes[i] = agnode(g, const_cast<char*>(name.c_str()), 1);
        if (!nodes[i]) ErrorCapture::fail("cannot add box " + name);
        agxset(nodes[i], width, const_cast<char*>(inches(boxes[i].width + 2.0 * kLayoutPadding).c_str()));
        agxset(nodes[i], height, const_cast<char*>(inches(boxes[i].height + 2.0 * kLayoutPadding).c_str()));
    }
    if (grouped) {
        // A cluster per group; its margin leaves room for the group's area and name around its boxes.
        std::map<std::int32_t, Agraph_t*> clusters;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].group < 0) continue;
            Agraph_t*& cluster = clusters[boxes[i].group];
            if (!cluster) {
                const std::string name = "cluster_" + std::to_string(boxes[i].group);
                cluster = agsubg(g, const_cast<char*>(name.c_str()), 1);
                if (!cluster) ErrorCapture::fail("cannot add group " + std::to_string(boxes[i].group));
                agsafeset(cluster, const_cast<char*>("margin"), const_cast<char*>(std::to_string(kGroupMargin).c_str()),
                          const_cast<char*>(""));
            }
            agsubnode(cluster, nodes[i], 1);
        }
    }
    Agsym_t* const weight = std::any_of(edges.begin(), edges.end(), [](const LayoutEdge& e) { return e.straight; })
                                ? agattr(g, AGEDGE, const_cast<char*>("weight"), const_cast<char*>("1"))
                                : nullptr;
    for (const LayoutEdge& edge : edges) {
        Agedge_t* const e = agedge(g, nodes[edge.from], nodes[edge.to], nullptr, 1);
        if (!e) ErrorCapture::fail("cannot add an edge");
        if (edge.straight) agxset(e, weight, const_cast<char*>(kStraightWeight));
    }

    // sfdp also draws from the C library's generators and never seeds them: without a fixed seed a
    // second layout in one process would differ from the first. Nothing else in the host uses them.
    std::srand(1);
    ::srand48(1);
    if (gvLayout(context, g, engine == LayoutEngine::dot ? "dot" : "sfdp") != 0 || agerrors() > 0)
        ErrorCapture::fail(engine == LayoutEngine::dot ? "dot" : "sfdp");

    // Graphviz gives centres with y growing upward; boxes want top-left corners with y growing down.
    std::vector<double> left(boxes.size()), top(boxes.size());
    double min_left = INFINITY, min_top = INFINITY;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const pointf centre = ND_coord(nodes[i]);
        left[i] = centre.x - boxes[i].width / 2.0;
        top[i] = -centre.y - boxes[i].height / 2.0;
        min_left = std::min(min_left, left[i]);
        min_top = std::min(min_top, top[i]);
    }
    gvFreeLayout(context, g);

    std::vector<LayoutPosition> positions(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const double x = std::round(left[i] - min_left) + options.margin;
        const double y = std::round(top[i] - min_top) + options.margin;
        if (x > INT32_MAX - boxes[i].width || y > INT32_MAX - boxes[i].height)
            ErrorCapture::fail("the diagram is too large for pixel coordinates");
        positions[i] = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    }
    return positions;
}

double aspect_of(std::span<const LayoutBox> boxes, const std::vector<LayoutPosition>& positions) {
    long long right = 0, bottom = 0, left = LLONG_MAX, top = LLONG_MAX;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        left = std::min<long long>(left, positions[i].left), top = std::min<long long>(top, positions[i].top);
        right = std::max<long long>(right, positions[i].left + boxes[i].width);
        bottom = std::max<long long>(bottom, positions[i].top + boxes[i].height);
    }
    return bottom > top ? static_cast<double>(right - left) / static_cast<double>(bottom - top) : 1.0;
}

// How far an aspect ratio lies from the 1:2..2:1 a picture is read at best; 0 inside.
double off_readable(double aspect) { return std::max(0.0, std::abs(std::log(aspect)) - std::log(2.0)); }

}  // namespace

std::vector<LayoutPosition> auto_layout(std::span<const LayoutBox> boxes, std::span<const LayoutEdge> edges,
                                        const LayoutOptions& options) {
    if (options.margin < 0 || options.spacing < 0) throw std::invalid_argument("layout margin and spacing must not be negative");
    for (const LayoutBox& box : boxes)
        if (box.width < 0 || box.height < 0) throw std::invalid_argument("a layout box has a negative size");
    for (const LayoutEdge& edge : edges)
        if (edge.from >= boxes.size() || edge.to >= boxes.size())
            throw std::invalid_argument("a layout edge names box " + std::to_string(std::max(edge.from, edge.to)) +
                                        " of " + std::to_string(boxes.size()));
    if (boxes.empty()) return {};
    const LayoutEngine engine = layout_engine_for(boxes, options);

    const std::lock_guard turn(graphviz_turn);
    const ErrorCapture capture;
    std::vector<LayoutPosition> positions = run_graphviz(boxes, edges, options, engine, false);
    // dot's ranks of a broad diagram grow wider than the picture can be tall: laid out from left to
    // right, the same ranks stand as columns; the nearer to readable of the two is kept.
    if (engine == LayoutEngine::dot) {
        const double down = off_readable(aspect_of(boxes, positions));
        if (down > 0) {
            std::vector<LayoutPosition> across = run_graphviz(boxes, edges, options, engine, true);
            if (off_readable(aspect_of(boxes, across)) < down) positions = std::move(across);
        }
    }
    return positions;
}
