// Text metrics pinned to the Liberation faces of fonts-liberation2: if these numbers move, every
// measured diagram moves with them.

#include "platform/graphics/text_metrics.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/graphics/font_resolver.h"

namespace {

struct Pinned {
    const char* name;
    int points;
    bool bold;
    int height;         // TextHeight
    int cliente;        // TextWidth("Cliente")
    int accented;       // TextWidth("Ação Preço") in Windows-1252
};

// "A\xE7\xE3o Pre\xE7o" is "Ação Preço" as Windows-1252 bytes.
constexpr const char* kAccented = "A\xE7\xE3o Pre\xE7o";

TEST(TextMetrics, PinnedHeightsAndWidths) {
    const Pinned pinned[] = {
        {"Arial", 8, false, 12, 33, 57},          {"Arial", 8, true, 12, 37, 60},
        {"Arial", 9, false, 14, 39, 63},          {"Arial", 10, false, 15, 40, 68},
        {"Arial", 10, true, 15, 43, 71},          {"Arial", 12, false, 17, 51, 83},
        {"Arial", 24, true, 36, 108, 177},        {"Times New Roman", 10, false, 15, 40, 61},
        {"Courier New", 10, false, 15, 56, 80},   {"Courier New", 12, true, 18, 70, 100},
    };
    for (const Pinned& p : pinned) {
        SCOPED_TRACE(std::string(p.name) + " " + std::to_string(p.points) + (p.bold ? " bold" : ""));
        TFont font;
        font.SetName(p.name);
        font.SetSize(p.points);
        if (p.bold) font.SetStyle({TFontStyle::fsBold});
        const FontMetrics& m = TextMetrics::Shared().Measure(font);
        EXPECT_EQ(m.Height(), p.height);
        EXPECT_EQ(m.TextWidth("Cliente"), p.cliente);
        EXPECT_EQ(m.TextWidth(kAccented), p.accented);
    }
}

TEST(TextMetrics, CharactersOfTheUpperHalfAreTheirWindows1252Glyphs) {
    const FontMetrics& m = TextMetrics::Shared().Measure("Arial", -11, {});
    EXPECT_EQ(m.Ascent(), 10);
    EXPECT_EQ(m.Descent(), 2);
    EXPECT_EQ(m.CharWidth('W'), 10);
    EXPECT_EQ(m.CharWidth('i'), 2);
    // The euro sign at $80 (a wrong mapping would give the 8-pixel missing-glyph box).
    EXPECT_EQ(m.CharWidth(0x80), 6);
    EXPECT_EQ(m.CharWidth(0xE7), m.CharWidth('c'));  // ç
    EXPECT_EQ(m.TextWidth("WWw"), 28);
    // No kerning: a pair that the font kerns measures as its two advances.
    EXPECT_EQ(m.TextWidth("AV"), m.CharWidth('A') + m.CharWidth('V'));
}

TEST(TextMetrics, WindowsNamesAndLiberationNamesShareOneFace) {
    TextMetrics& service = TextMetrics::Shared();
    const FontMetrics& arial = service.Measure("Arial", -11, {});
    EXPECT_EQ(&service.Measure("liberation sans", -11, {}), &arial);
    EXPECT_EQ(&service.Measure("ARIAL", -11, {}), &arial);
    EXPECT_NE(&service.Measure("Arial", -11, {TFontStyle::fsBold}), &arial);
    // Underline and strike-out draw differently but measure the same.
    EXPECT_EQ(&service.Measure("Arial", -11, {TFontStyle::fsUnderline}), &arial);
    EXPECT_EQ(arial.Face().File().family, "Liberation Sans");
    EXPECT_EQ(service.Measure("Courier New", -11, {TFontStyle::fsItalic}).Face().File().family, "Liberation Mono");
}

TEST(TextMetrics, HeightsMapToPixelsPerEm) {
    TextMetrics& service = TextMetrics::Shared();
    // A positive height is the cell: 14 x 2048 / (1854 + 434) = 12.53, so 13 pixels per em.
    EXPECT_EQ(service.Measure("Arial", 14, {}).PixelsPerEm(), 13);
    EXPECT_EQ(service.Measure("Arial", -13, {}).PixelsPerEm(), 13);
    // Height 0 (a font scaled down to nothing) measures nothing.
    const FontMetrics& none = service.Measure("Arial", 0, {});
    EXPECT_EQ(none.Height(), 0);
    EXPECT_EQ(none.TextWidth("Cliente"), 0);
    try {
        service.Measure("Arial", -20000, {});
        FAIL() << "an oversized font was measured";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("\"Arial\" height -20000"), std::string::npos) << e.what();
    }
}

TEST(TextMetrics, AFontWithoutAMetricCompatibleFaceIsAnErrorNotASubstitute) {
    try {
        TextMetrics::Shared().Measure("MS Sans Serif", -11, {});
        FAIL() << "MS Sans Serif was measured with some other face";
    } catch (const EFontNotAvailable& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("\"MS Sans Serif\""), std::string::npos) << message;
        EXPECT_NE(message.find("Arial"), std::string::npos) << message;
    }
    EXPECT_EQ(MetricCompatibleFamily("Helvetica"), "");
    EXPECT_EQ(MetricCompatibleFamily("times new roman"), "Liberation Serif");
}

TEST(TextMetrics, TheChosenFileIsTheLiberation2Face) {
    const FontFile file = ResolveFontFile("Arial", true, true);
    EXPECT_EQ(file.family, "Liberation Sans");
    EXPECT_NE(file.path.find("LiberationSans-BoldItalic"), std::string::npos) << file.path;
}

}  // namespace
