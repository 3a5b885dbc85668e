// DrawText's line breaking and placement: the wrapping cases the text shapes meet, measured in the
// real Arial 8 so that "fits" means what it will mean on a diagram.

#include "platform/graphics/text_layout.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/graphics/recording_canvas.h"

namespace {

const FontMetrics& arial8() { return TextMetrics::Shared().Measure("Arial", -11, {}); }

std::vector<std::string> lines(std::string_view text, int width, unsigned flags = DT_WORDBREAK | DT_NOPREFIX) {
    const TextLayout layout = LayOutText(text, width, flags, arial8());
    std::vector<std::string> result;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) result.emplace_back(layout.Line(i));
    return result;
}

using Lines = std::vector<std::string>;

TEST(DrawTextLayout, WordsStayOnALineWhileTheyFit) {
    const int fits = arial8().TextWidth("one two");
    EXPECT_EQ(lines("one two three", fits), (Lines{"one two", "three"}));
    EXPECT_EQ(lines("one two three", fits - 1), (Lines{"one", "two", "three"}));
    EXPECT_EQ(lines("one two three", arial8().TextWidth("one two three")), (Lines{"one two three"}));
}

TEST(DrawTextLayout, AWordLongerThanTheLineIsNotSplit) {
    const int narrow = arial8().TextWidth("a b");
    EXPECT_EQ(lines("a verylongword b", narrow), (Lines{"a", "verylongword", "b"}));
    const TextLayout layout = LayOutText("verylongword", 5, DT_WORDBREAK | DT_NOPREFIX, arial8());
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.widest, arial8().TextWidth("verylongword"));  // it overhangs the 5 pixels
    EXPECT_EQ(lines("abc def", 0), (Lines{"abc", "def"}));
}

TEST(DrawTextLayout, BlanksAtABreakAreDroppedOthersKept) {
    const int width = arial8().TextWidth("aaa ");
    EXPECT_EQ(lines("aaa     bbb", width), (Lines{"aaa", "bbb"}));
    EXPECT_EQ(lines("  aa bb", 1000), (Lines{"  aa bb"}));       // leading blanks of a line stay
    EXPECT_EQ(lines("aa bb  ", 1000), (Lines{"aa bb  "}));       // trailing blanks that fit stay
    EXPECT_EQ(lines("aa  ", arial8().TextWidth("aa")), (Lines{"aa"}));  // ...those that do not, go
    EXPECT_EQ(lines("aa\n  bb", 1000), (Lines{"aa", "  bb"}));   // a hard break keeps the indent
}

TEST(DrawTextLayout, LineFeedsCarriageReturnsAndPairsEndLines) {
    EXPECT_EQ(lines("ab\ncd\r\nef\rgh", 1000), (Lines{"ab", "cd", "ef", "gh"}));
    EXPECT_EQ(lines("ab\n\ncd", 1000), (Lines{"ab", "", "cd"}));
    EXPECT_EQ(lines("ab\ncd\n", 1000), (Lines{"ab", "cd"}));  // a break at the end adds no line
    EXPECT_EQ(lines("\n", 1000), (Lines{""}));
    EXPECT_EQ(lines("", 1000), (Lines{}));
    // Without DT_WORDBREAK only the breaks in the text count.
    EXPECT_EQ(lines("one two\nthree four", 1, DT_NOPREFIX), (Lines{"one two", "three four"}));
}

TEST(DrawTextLayout, PrefixesMarkCharactersUnlessSwitchedOff) {
    const TextLayout layout = LayOutText("&File A&&B end&", 1000, DT_LEFT, arial8());
    EXPECT_EQ(layout.text, "File A&B end");
    EXPECT_EQ(layout.marked, (std::vector<std::size_t>{0}));
    EXPECT_EQ(LayOutText("&File", 1000, DT_NOPREFIX, arial8()).text, "&File");
    // The marks do not count for width.
    EXPECT_EQ(layout.widest, arial8().TextWidth("File A&B end"));
}

TEST(DrawTextLayout, UnsupportedFlagsAreRefused) {
    try {
        LayOutText("x", 10, DT_WORDBREAK | 0x20, arial8());
        FAIL() << "DT_SINGLELINE was taken";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "DrawText flag $0020 is not supported");
    }
}

class DrawTextOnCanvas : public ::testing::Test {
protected:
    void SetUp() override { canvas.Font().SetName("Arial"); }
    RecordingCanvas canvas;
};

TEST_F(DrawTextOnCanvas, CentredLinesRunDownFromTheTopAndAreClippedToTheRectangle) {
    const int h = canvas.TextHeight("x");
    const int w1 = canvas.TextWidth("one two"), w2 = canvas.TextWidth("three");
    canvas.SetOrigin({100, 50});
    TRect rect{10, 20, 10 + w1 + 1, 60};
    EXPECT_EQ(canvas.DrawText("one two three", rect, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER), 2 * h);
    ASSERT_EQ(canvas.Calls().size(), 1u);
    const RecordedCall& call = canvas.Calls()[0];
    EXPECT_EQ(call.kind, RecordedCall::Kind::DrawText);
    EXPECT_EQ(call.rect, (TRect{110, 70, 110 + w1 + 1, 110}));
    EXPECT_EQ(call.clip, call.rect);
    ASSERT_EQ(call.lines.size(), 2u);
    EXPECT_EQ(call.lines[0], (RecordedLine{{100 + (10 + 10 + w1 + 1 - w1) / 2, 70}, "one two", w1}));
    EXPECT_EQ(call.lines[1], (RecordedLine{{100 + (10 + 10 + w1 + 1 - w2) / 2, 70 + h}, "three", w2}));
}

TEST_F(DrawTextOnCanvas, RightAlignmentNoClipAndCalcRect) {
    const int w = canvas.TextWidth("abc");
    TRect rect{0, 0, 100, 10};
    canvas.DrawText("abc", rect, DT_RIGHT | DT_NOCLIP);
    EXPECT_EQ(canvas.Calls().back().lines[0].at, (TPoint{100 - w, 0}));
    EXPECT_EQ(canvas.Calls().back().clip, (TRect{0, 0, 32767, 32767}));

    canvas.Clear();
    TRect measure{5, 5, 5 + canvas.TextWidth("one two") - 1, 5};
    const int height = canvas.DrawText("one two\nthree", measure, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(height, 3 * canvas.TextHeight(""));
    EXPECT_EQ(measure, (TRect{5, 5, 5 + canvas.TextWidth("three"), 5 + height}));
    EXPECT_TRUE(canvas.Calls().empty());  // measuring draws nothing
}

}  // namespace
