#include "platform/font.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

TEST(Font, SizeAndHeightAreTwoViewsOfOneValue) {
    TFont font;
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    font.SetHeight(-9);
    EXPECT_EQ(font.Size(), 7);
}

// A stored height may be any int: the size it gives, and the height that size gives back, stay in range.
TEST(Font, ExtremeHeightsAndSizesStayWithinInt) {
    TFont font;
    font.SetHeight(INT_MIN);
    EXPECT_EQ(font.Size(), 1610612736);
    TFont probe;
    probe.SetSize(font.Size());  // 2147483648 pixels: held at INT_MAX
    EXPECT_EQ(probe.Height(), -INT_MAX);
    probe.SetSize(INT_MIN);
    EXPECT_EQ(probe.Height(), INT_MAX);
    font.SetHeight(INT_MAX);
    EXPECT_EQ(font.Size(), -1610612735);
}

TEST(Font, AssignCopiesEveryAttributeAndNotifiesOnce) {
    TFont source;
    source.SetName("Arial");
    source.SetHeight(-9);
    source.SetColor(clWhite);
    source.SetCharset(ANSI_CHARSET);
    source.SetStyle({TFontStyle::fsBold, TFontStyle::fsItalic});

    TFont target;
    int changes = 0;
    target.OnChange = [&](TFont&) { ++changes; };
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(target.SameAs(source));
    EXPECT_TRUE(target.Style().contains(TFontStyle::fsItalic));
    EXPECT_FALSE(target.Style().contains(TFontStyle::fsUnderline));

    target.Assign(source);  // nothing changes, nothing is notified
    EXPECT_EQ(changes, 1);
    target.SetName("Arial");
    EXPECT_EQ(changes, 1);
}

}  // namespace
