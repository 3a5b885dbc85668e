// The canvas's own rules, observed through the recording back end: pen position, resolved pen,
// brush and font, origin and clip, colours.

#include "platform/graphics/recording_canvas.h"

#include <gtest/gtest.h>

#include "platform/graphics/color.h"

namespace {

TEST(RecordingCanvas, KeepsEveryDrawingCallWithWhatItWasDrawnWith) {
    RecordingCanvas canvas;
    canvas.Font().SetName("Arial");
    canvas.Pen().SetColor(clRed);
    canvas.MoveTo(0, 10);
    canvas.LineTo(100, 10);
    canvas.Pen().SetColor(clBlack);
    canvas.Pen().SetWidth(2);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.RoundRect(100, 50, 0, 0, 10, 10);  // corners in either order
    canvas.Brush().SetColor(clYellow);          // a colour makes a clear brush solid again
    canvas.Ellipse(1, 2, 3, 4);
    canvas.FillRect({5, 5, 6, 6});
    canvas.Font().SetStyle({TFontStyle::fsBold});
    canvas.TextOut(5, 2, "Cliente");

    EXPECT_EQ(canvas.Transcript(),
              "LineTo (0,10)-(100,10) pen $0000FF/1\n"
              "RoundRect (0,0)-(100,50) corner 10x10 pen $000000/2 brush clear\n"
              "Ellipse (1,2)-(3,4) pen $000000/2 brush $00FFFF\n"
              "FillRect (5,5)-(6,6) brush $00FFFF\n"
              "TextOut (5,2)-(42,14) \"Cliente\" font \"Arial\" -11 bold $80000008 brush $00FFFF\n");
}

TEST(RecordingCanvas, LineToAndTextOutMoveThePenPosition) {
    RecordingCanvas canvas;
    canvas.Font().SetName("Arial");
    canvas.MoveTo(3, 4);
    canvas.LineTo(10, 4);
    canvas.LineTo(10, 20);
    EXPECT_EQ(canvas.Calls()[1].from, (TPoint{10, 4}));
    EXPECT_EQ(canvas.PenPos(), (TPoint{10, 20}));
    canvas.TextOut(7, 8, "WWw");
    EXPECT_EQ(canvas.PenPos(), (TPoint{7 + 28, 8}));
    canvas.Rectangle(0, 0, 5, 5);  // figures leave it alone
    EXPECT_EQ(canvas.PenPos(), (TPoint{35, 8}));
}

TEST(RecordingCanvas, AViewportPaintsAChildAtItsOriginInsideItsBounds) {
    RecordingCanvas canvas(200, 100);
    {
        TCanvasViewport child(canvas, {50, 20, 90, 40});
        EXPECT_EQ(canvas.ClipRect(), (TRect{0, 0, 40, 20}));
        canvas.Rectangle(0, 0, 40, 20);
        {
            TCanvasViewport grandchild(canvas, {30, 10, 60, 30});  // sticks out of its parent
            EXPECT_EQ(canvas.Origin(), (TPoint{80, 30}));
            EXPECT_EQ(canvas.DeviceClipRect(), (TRect{80, 30, 90, 40}));
            canvas.MoveTo(0, 0);
            canvas.LineTo(5, 5);
        }
        {
            TCanvasViewport outside(canvas, {100, 100, 120, 120});
            canvas.Rectangle(0, 0, 10, 10);  // wholly clipped away: nothing reaches the device
        }
    }
    EXPECT_EQ(canvas.Origin(), (TPoint{0, 0}));
    EXPECT_EQ(canvas.DeviceClipRect(), (TRect{0, 0, 200, 100}));
    ASSERT_EQ(canvas.Calls().size(), 2u);
    EXPECT_EQ(canvas.Calls()[0].rect, (TRect{50, 20, 90, 40}));
    EXPECT_EQ(canvas.Calls()[0].clip, (TRect{50, 20, 90, 40}));
    EXPECT_EQ(canvas.Calls()[1].from, (TPoint{80, 30}));
    EXPECT_EQ(canvas.Calls()[1].to, (TPoint{85, 35}));
    EXPECT_EQ(canvas.Calls()[1].clip, (TRect{80, 30, 90, 40}));
}

TEST(RecordingCanvas, MeasuresWithTheCurrentFontAndFollowsItsChanges) {
    RecordingCanvas canvas;
    canvas.Font().SetName("Arial");
    EXPECT_EQ(canvas.TextExtent("Cliente"), (TSize{33, 12}));
    canvas.Font().SetSize(24);
    canvas.Font().SetStyle({TFontStyle::fsBold});
    EXPECT_EQ(canvas.TextExtent("Cliente"), (TSize{108, 36}));
    EXPECT_EQ(canvas.TextHeight(""), 36);
    canvas.Font().SetName("MS Sans Serif");
    EXPECT_THROW(canvas.TextWidth("x"), EFontNotAvailable);
}

TEST(Colors, NamedSystemAndUndrawableColours) {
    EXPECT_EQ(ColorToRRGGBB(clRed), 0xFF0000u);
    EXPECT_EQ(ColorToRRGGBB(0x123456), 0x563412u);
    EXPECT_EQ(ColorToRRGGBB(0x02123456), 0x563412u);  // palette-relative RGB
    EXPECT_EQ(ColorToRRGGBB(clWindowText), 0x000000u);
    EXPECT_EQ(ColorToRRGGBB(clBtnFace), 0xC0C0C0u);
    EXPECT_EQ(ColorToRRGGBB(clInfoBk), 0xFFFFE1u);
    EXPECT_EQ(ColorToRGB(clGreen), (TRGB{0, 0x80, 0}));
    EXPECT_THROW(ColorToRRGGBB(static_cast<TColor>(0x80000019u)), EInvalidColor);
    EXPECT_THROW(ColorToRRGGBB(0x01000005), EInvalidColor);
    try {
        ColorToRRGGBB(clNone);
        FAIL();
    } catch (const EInvalidColor& e) {
        EXPECT_STREQ(e.what(), "colour $1FFFFFFF cannot be drawn (clNone)");
    }

    // The canvas refuses to draw with such a colour rather than drawing something else.
    RecordingCanvas canvas;
    canvas.Pen().SetColor(clNone);
    EXPECT_THROW(canvas.Rectangle(0, 0, 5, 5), EInvalidColor);
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetColor(clDefault);
    EXPECT_THROW(canvas.FillRect({0, 0, 5, 5}), EInvalidColor);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);  // a clear brush's colour is never drawn
    canvas.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(canvas.Calls().size(), 1u);
}

}  // namespace
