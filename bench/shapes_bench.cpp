// The shape library on a large diagram: 10,000 text shapes and 10,000 connectors on one surface.
// Targets: one mouse-move step of a 100-shape selection within 5 ms; FitText of a 1,000-character
// text within 50 us; painting the whole surface onto a 4,000 x 4,000 image within 300 ms.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/components/diagram_surface.h"
#include "platform/graphics/cairo_canvas.h"
#include "shapes/connector.h"
#include "shapes/text_shape.h"

namespace {

constexpr int kShapes = 10000;
constexpr int kColumns = 100;  // 100 x 100 grid, 39 pixels apart: the widest texts still fit

// Shapes in a grid, each joined to its right neighbour (to the next row's first at a row's end).
struct LargeDiagram {
    TComponent owner{nullptr, TComponentClass()};
    TDiagramSurface* surface = new TDiagramSurface(&owner);
    std::vector<TnoxTextShape*> shapes;

    LargeDiagram() {
        surface->SetBounds(0, 0, 4000, 4000);
        for (int i = 0; i < kShapes; ++i) {
            auto* s = new TnoxTextShape(&owner);
            s->SetParent(surface);
            s->SetText("E" + std::to_string(i));
            s->SetBounds(10 + 39 * (i % kColumns), 10 + 39 * (i / kColumns), s->Width(), s->Height());
            shapes.push_back(s);
        }
        for (int i = 0; i < kShapes; ++i) {
            auto* c = new TnoxConnector(&owner);
            c->SetParent(surface);
            TnoxConnection from, to;
            from.SetShape(shapes[i]);
            to.SetShape(shapes[(i + 1) % kShapes]);
            c->Connect(&from, &to);
        }
    }
};

// Selects 100 shapes spread over the diagram (the grabbed one last, as a shift-click would), then
// drags back and forth by one pixel per mouse move.
void BM_MoveSelectionStep(benchmark::State& state) {
    LargeDiagram diagram;
    TDiagramSurface& surface = *diagram.surface;
    for (int i = 0; i < 100; ++i) diagram.shapes[static_cast<std::size_t>(i * 97 + 50)]->SetSelected(true);
    const TnoxTextShape* grabbed = diagram.shapes[50];
    const int x = grabbed->Left() + 2, y = grabbed->Top() + 2;
    surface.DispatchMouseDown(TMouseButton::mbLeft, ssShift, x, y);
    // A move refused by one shape near an edge would time nothing.
    surface.DispatchMouseMove(0, x + 1, y);
    if (grabbed->Left() != x - 1) state.SkipWithError("the selection did not move");
    surface.DispatchMouseMove(0, x, y);
    int step = 0;
    for (auto _ : state) {
        const int dx = (step++ % 2 == 0) ? 1 : 0;  // one pixel right, then back
        surface.DispatchMouseMove(0, x + dx, y);
    }
    surface.DispatchMouseUp(TMouseButton::mbLeft, 0, x, y);
}
BENCHMARK(BM_MoveSelectionStep)->Unit(benchmark::kMillisecond);

std::string thousand_characters() {
    static const char* const kWords[] = {"Cliente", "c\xF3" "digo", "de", "pre\xE7o", "unit\xE1rio", "a",
                                         "relacionamento", "entre", "tabelas", "Nome"};
    std::string text;
    for (int i = 0; text.size() < 1000; ++i) {
        text += kWords[i % 10];
        text += (i % 17 == 16) ? '\n' : ' ';
    }
    text.resize(1000);
    return text;
}

void BM_FitText(benchmark::State& state) {
    TComponent owner(nullptr, TComponentClass());
    auto* surface = new TDiagramSurface(&owner);
    surface->SetBounds(0, 0, 2000, 2000);
    auto* shape = new TnoxTextShape(&owner);
    shape->SetParent(surface);
    shape->SetText(thousand_characters());
    for (auto _ : state) shape->FitText();
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_FitText)->Unit(benchmark::kMicrosecond);

void BM_PaintLargeDiagram(benchmark::State& state) {
    LargeDiagram diagram;
    ImageCanvas image(4000, 4000);
    for (auto _ : state) diagram.surface->PaintTo(image);
}
BENCHMARK(BM_PaintLargeDiagram)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
