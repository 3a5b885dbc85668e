// Text measuring and drawing on the canvas. Target: measuring a 1,000-character text the way a text
// shape fits itself (DrawText with DT_CALCRECT and word wrap) well inside 50 us.

#include <benchmark/benchmark.h>

#include <string>

#include "platform/graphics/cairo_canvas.h"
#include "platform/graphics/recording_canvas.h"

namespace {

// About 1,000 characters of words of varied length, with a few line feeds, in Windows-1252.
std::string thousand_characters() {
    static const char* const kWords[] = {"Cliente", "c\xF3" "digo", "de", "pre\xE7o", "unit\xE1rio", "a",
                                         "relacionamento", "entre", "tabelas", "\x80", "Nome"};
    std::string text;
    for (int i = 0; text.size() < 1000; ++i) {
        text += kWords[i % 11];
        text += (i % 17 == 16) ? '\n' : ' ';
    }
    text.resize(1000);
    return text;
}

void BM_DrawTextMeasure(benchmark::State& state) {
    RecordingCanvas canvas;
    canvas.Font().SetName("Arial");
    const std::string text = thousand_characters();
    for (auto _ : state) {
        TRect rect{0, 0, 200, 0};
        benchmark::DoNotOptimize(canvas.DrawText(text, rect, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK | DT_CENTER));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_DrawTextMeasure);

void BM_TextWidth(benchmark::State& state) {
    RecordingCanvas canvas;
    canvas.Font().SetName("Arial");
    const std::string text = thousand_characters();
    for (auto _ : state) benchmark::DoNotOptimize(canvas.TextWidth(text));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_TextWidth);

// Drawing the same text wrapped and centred into an image: measuring plus cairo's glyph rendering.
void BM_DrawTextIntoImage(benchmark::State& state) {
    ImageCanvas image(220, 1000);
    image.Font().SetName("Arial");
    const std::string text = thousand_characters();
    for (auto _ : state) {
        TRect rect{10, 0, 210, 1000};
        benchmark::DoNotOptimize(image.DrawText(text, rect, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_DrawTextIntoImage);

// An entity-like box: frame, title, rules and five rows, as a shape paints itself.
void BM_PaintBoxIntoImage(benchmark::State& state) {
    ImageCanvas image(400, 400);
    image.Font().SetName("Arial");
    for (auto _ : state) {
        image.RoundRect(10, 10, 150, 110, 10, 10);
        image.TextOut(15, 12, "Cliente");
        image.MoveTo(10, 25);
        image.LineTo(150, 25);
        for (int row = 0; row < 5; ++row) image.TextOut(15, 27 + 12 * row, "Campo :String (40)");
    }
}
BENCHMARK(BM_PaintBoxIntoImage);

}  // namespace

BENCHMARK_MAIN();
