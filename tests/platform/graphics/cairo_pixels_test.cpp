// The drawing rules on real pixels: cairo draws into an image and the pixels at the edges say
// whether the target's rules hold.

#include "platform/graphics/cairo_canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF,
                        kYellow = 0xFFFF00, kGreen = 0x008000;

std::string hex(std::uint32_t rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", rgb);
    return text;
}

// Each channel within `tolerance` of the expected colour (anti-aliased curves cover their extreme
// pixels almost, not quite, fully).
::testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (a - e > tolerance || e - a > tolerance)
            return ::testing::AssertionFailure() << hex(actual) << " is not near " << hex(expected);
    }
    return ::testing::AssertionSuccess();
}

class CairoPixels : public ::testing::Test {
protected:
    std::string at(int x, int y) { return hex(image.Pixel(x, y)); }
    ImageCanvas image{60, 40};
};

TEST_F(CairoPixels, OnePixelLinesLeaveTheirEndPixelUnpaintedInEveryDirection) {
    image.MoveTo(2, 5);
    image.LineTo(10, 5);  // rightwards
    EXPECT_EQ(at(1, 5), hex(kWhite));
    EXPECT_EQ(at(2, 5), hex(kBlack));
    EXPECT_EQ(at(9, 5), hex(kBlack));
    EXPECT_EQ(at(10, 5), hex(kWhite));
    EXPECT_EQ(at(5, 4), hex(kWhite));  // crisp: one row only
    EXPECT_EQ(at(5, 6), hex(kWhite));

    image.MoveTo(10, 8);
    image.LineTo(2, 8);  // leftwards: the end is now on the left
    EXPECT_EQ(at(10, 8), hex(kBlack));
    EXPECT_EQ(at(3, 8), hex(kBlack));
    EXPECT_EQ(at(2, 8), hex(kWhite));

    image.MoveTo(20, 2);
    image.LineTo(20, 9);  // downwards
    EXPECT_EQ(at(20, 2), hex(kBlack));
    EXPECT_EQ(at(20, 8), hex(kBlack));
    EXPECT_EQ(at(20, 9), hex(kWhite));
    EXPECT_EQ(at(21, 5), hex(kWhite));

    image.MoveTo(30, 2);
    image.LineTo(35, 7);  // diagonal
    EXPECT_NE(at(30, 2), hex(kWhite));
    EXPECT_NE(at(34, 6), hex(kWhite));
    EXPECT_EQ(at(35, 7), hex(kWhite));

    image.MoveTo(40, 2);
    image.LineTo(40, 2);  // no length, nothing painted
    EXPECT_EQ(at(40, 2), hex(kWhite));
}

TEST_F(CairoPixels, WidePensPaintBothEndsAcrossTheirWidth) {
    image.Pen().SetWidth(3);
    image.MoveTo(5, 20);
    image.LineTo(15, 20);
    for (int y : {19, 20, 21}) EXPECT_EQ(at(10, y), hex(kBlack)) << y;
    EXPECT_EQ(at(10, 18), hex(kWhite));
    EXPECT_EQ(at(10, 22), hex(kWhite));
    EXPECT_EQ(at(15, 20), hex(kBlack));  // round end: the end point is painted
}

TEST_F(CairoPixels, RectanglesAreOutlinedByThePenFilledByTheBrushRightAndBottomExclusive) {
    image.Pen().SetColor(clRed);
    image.Brush().SetColor(clBlue);
    image.Rectangle(5, 5, 15, 12);
    for (auto [x, y] : {std::pair{5, 5}, {14, 5}, {5, 11}, {14, 11}, {10, 5}, {10, 11}, {5, 8}, {14, 8}})
        EXPECT_EQ(at(x, y), hex(kRed)) << x << "," << y;
    EXPECT_EQ(at(6, 6), hex(kBlue));
    EXPECT_EQ(at(13, 10), hex(kBlue));
    EXPECT_EQ(at(15, 8), hex(kWhite));  // right edge exclusive
    EXPECT_EQ(at(10, 12), hex(kWhite));  // bottom edge exclusive
    EXPECT_EQ(at(4, 8), hex(kWhite));
    EXPECT_EQ(at(10, 4), hex(kWhite));

    image.Brush().SetStyle(TBrushStyle::bsClear);
    image.Rectangle(20, 5, 30, 12);
    EXPECT_EQ(at(20, 5), hex(kRed));
    EXPECT_EQ(at(25, 8), hex(kWhite));  // a clear brush fills nothing

    image.Brush().SetColor(clGreen);
    image.FillRect({35, 5, 40, 10});  // fill only, no outline, same exclusive edges
    EXPECT_EQ(at(35, 5), hex(kGreen));
    EXPECT_EQ(at(39, 9), hex(kGreen));
    EXPECT_EQ(at(40, 9), hex(kWhite));
    EXPECT_EQ(at(39, 10), hex(kWhite));
}

TEST_F(CairoPixels, EllipsesAndRoundedRectanglesKeepTheSameEdges) {
    image.Pen().SetColor(clRed);
    image.Brush().SetColor(clBlue);
    image.Ellipse(0, 0, 11, 11);
    EXPECT_TRUE(Near(image.Pixel(0, 5), kRed, 40));
    EXPECT_TRUE(Near(image.Pixel(10, 5), kRed, 40));
    EXPECT_TRUE(Near(image.Pixel(5, 0), kRed, 40));
    EXPECT_TRUE(Near(image.Pixel(5, 10), kRed, 40));
    EXPECT_EQ(at(11, 5), hex(kWhite));
    EXPECT_EQ(at(5, 11), hex(kWhite));
    EXPECT_EQ(at(0, 0), hex(kWhite));
    EXPECT_EQ(at(5, 5), hex(kBlue));

    image.RoundRect(20, 0, 40, 12, 6, 6);
    EXPECT_EQ(at(30, 0), hex(kRed));   // straight edges as a rectangle's
    EXPECT_EQ(at(30, 11), hex(kRed));
    EXPECT_EQ(at(20, 6), hex(kRed));
    EXPECT_EQ(at(39, 6), hex(kRed));
    EXPECT_EQ(at(30, 12), hex(kWhite));
    EXPECT_EQ(at(40, 6), hex(kWhite));
    EXPECT_TRUE(Near(image.Pixel(20, 0), kWhite, 16));  // the corner is cut (a trace of anti-aliasing)
    EXPECT_EQ(at(30, 6), hex(kBlue));
}

TEST_F(CairoPixels, TextSitsInItsCellOnTheBrushInTheFontColour) {
    image.Font().SetName("Arial");
    image.Font().SetColor(clRed);
    image.Brush().SetColor(clYellow);
    image.TextOut(4, 3, "HI");
    const int right = 4 + image.TextWidth("HI"), bottom = 3 + image.TextHeight("HI");
    EXPECT_EQ(at(4, 3), hex(kYellow));          // cell corner: background, no ink
    EXPECT_EQ(at(right - 1, bottom - 1), hex(kYellow));
    EXPECT_EQ(at(right, 5), hex(kWhite));       // the cell is right and bottom exclusive
    EXPECT_EQ(at(5, bottom), hex(kWhite));
    EXPECT_EQ(at(3, 5), hex(kWhite));
    // The H's left stem: a column of ink below the ascent line.
    int red = 0;
    for (int x = 4; x < right; ++x)
        for (int y = 3; y < bottom; ++y) red += Near(image.Pixel(x, y), kRed, 60) ? 1 : 0;
    EXPECT_GT(red, 10);

    // A clear brush draws the glyphs only.
    image.Brush().SetStyle(TBrushStyle::bsClear);
    image.TextOut(4, 20, "HI");
    EXPECT_EQ(at(4, 20), hex(kWhite));
}

TEST_F(CairoPixels, AChildViewportIsClippedToItsBounds) {
    image.Brush().SetColor(clBlue);
    {
        TCanvasViewport child(image, {10, 10, 20, 20});
        image.Rectangle(-5, -5, 30, 30);  // far bigger than the child
        image.MoveTo(0, 5);
        image.LineTo(50, 5);
    }
    EXPECT_EQ(at(10, 10), hex(kBlue));
    EXPECT_EQ(at(19, 19), hex(kBlue));
    EXPECT_EQ(at(9, 15), hex(kWhite));
    EXPECT_EQ(at(20, 15), hex(kWhite));
    EXPECT_EQ(at(15, 20), hex(kWhite));
    EXPECT_EQ(at(12, 15), hex(kBlack));  // the line, at the child's y = 5
    EXPECT_EQ(at(25, 15), hex(kWhite));
}

TEST(ImageCanvas, RefusesSizesAndPixelsOutOfRange) {
    EXPECT_THROW(ImageCanvas(-1, 5), std::invalid_argument);
    EXPECT_THROW(ImageCanvas(40000, 5), std::invalid_argument);
    ImageCanvas image(3, 3, clBtnFace);
    EXPECT_EQ(image.Pixel(2, 2), 0xC0C0C0u);
    EXPECT_THROW(image.Pixel(3, 0), std::out_of_range);
}

}  // namespace
