#include <string>

#include "platform/graphics/recording_canvas.h"
#include "platform/graphics/text_layout.h"
#include "tests/shapes/shape_fixture.h"

namespace {

// Measures as a text shape at `percent` does: in its font with the scaled size.
struct Measure {
    TCanvas canvas;
    explicit Measure(const TnoxTextShape& shape) {
        canvas.Font().Assign(shape.Font());
        canvas.Font().SetSize(shape.Scaled(shape.Font().Size()));
    }
    int width(const std::string& text) { return canvas.TextWidth(text); }
    int height() { return canvas.TextHeight("X"); }
};

using TextShape = ShapeSurface;

TEST_F(TextShape, BoxFitsTheLinesEndedByLineFeeds) {
    auto* shape = make<TnoxTextShape>(10, 10, 1, 1);
    EXPECT_EQ(shape->Font().Name(), "Arial");
    Measure m(*shape);
    EXPECT_EQ(shape->Width(), 5);  // empty text
    EXPECT_EQ(shape->Height(), m.height());

    shape->SetText("ab\ncdefgh\n");
    EXPECT_EQ(shape->Width(), m.width("cdefgh"));
    EXPECT_EQ(shape->Height(), 3 * m.height());

    // Only what is ended by a line feed counts for the width; a carriage return is measured.
    shape->SetText("ab\r\na much longer last line");
    EXPECT_EQ(shape->Width(), m.width("ab\r"));
    EXPECT_EQ(shape->Height(), 2 * m.height());
}

TEST_F(TextShape, OnlyChangesRefitAndAutosizeOffShrinksToTheHandleSize) {
    auto* shape = make<TnoxTextShape>(10, 10, 1, 1);
    shape->SetText("Cliente");
    shape->SetBounds(10, 10, 200, 100);  // enlarged by the user
    shape->SetText("Cliente");
    EXPECT_EQ(shape->Width(), 200);
    shape->SetAutosize(false);
    EXPECT_EQ(bounds(shape), (TRect{10, 10, 15, 15}));
    shape->SetAutosize(true);
    TFont bold;
    bold.Assign(shape->Font());
    bold.SetStyle({TFontStyle::fsBold});
    shape->SetFont(bold);
    EXPECT_TRUE(shape->Font().Style().contains(TFontStyle::fsBold));
    EXPECT_EQ(shape->Width(), Measure(*shape).width("Cliente"));
}

TEST_F(TextShape, DrawsCentredWrappedTextInTheScaledFontThenItsHandles) {
    auto* shape = make<TnoxTextShape>(10, 10, 1, 1);
    shape->Font().SetSize(9);
    shape->SetEscala(150);  // 13.5 points: half to even
    shape->SetText("um texto");
    shape->SetSelected(true);
    shape->Canvas().Brush().SetColor(clRed);
    RecordingCanvas canvas(400, 300);
    surface->PaintTo(canvas);
    ASSERT_EQ(canvas.Calls().size(), 10u);  // background, text, eight handles
    const TRect box = bounds(shape);
    EXPECT_EQ(canvas.Calls()[2].rect, (TRect{box.Left, box.Top, box.Left + 5, box.Top + 5}));
    EXPECT_EQ(canvas.Calls()[9].rect, (TRect{box.Right - 5, box.Bottom - 5, box.Right, box.Bottom}));
    EXPECT_EQ(canvas.Calls()[9].brush.Color(), clBlack);
    EXPECT_EQ(shape->Canvas().Brush().Color(), clRed);  // the brush comes back after the handles
    const RecordedCall& text = canvas.Calls()[1];
    EXPECT_EQ(text.kind, RecordedCall::Kind::DrawText);
    EXPECT_EQ(text.flags, unsigned{DT_NOPREFIX | DT_WORDBREAK | DT_CENTER});
    TFont expected;
    expected.SetSize(14);
    EXPECT_EQ(text.font.height, expected.Height());
    EXPECT_EQ(text.rect, box);
    EXPECT_EQ(text.brush.Color(), clRed);  // the text stands on the canvas's brush

    // Without a parent nothing is drawn and the box takes the scaled handle size.
    shape->SetParent(nullptr);
    EXPECT_EQ(shape->Width(), 8);
}

}  // namespace
