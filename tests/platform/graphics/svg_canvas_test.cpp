// The SVG writer against the cairo picture of the same calls: rendered by librsvg, every pixel that is
// not text matches (anti-aliasing of curves within a documented tolerance), and every text is a
// searchable <text> element with its measured width, escaped and in UTF-8.

#include "platform/graphics/svg_canvas.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "platform/graphics/cairo_canvas.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;

namespace {

fs::path folder() {
    const fs::path f = fs::path(::testing::TempDir()) / "kzr40-svg";
    fs::create_directories(f);
    return f;
}

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        const int status = ::pclose(pipe);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) out = "FAILED: " + command;
    }
    return out;
}

// An entity box, a selected box with its handles, a route with corners and a turn back, marks of
// slanted lines, a one-pixel line, a wide pen, an ellipse; `texts` receives the cell of every text.
void draw_scene(TCanvas& canvas, std::vector<TRect>& texts) {
    const auto text = [&](int x, int y, std::string_view s) {
        canvas.TextOut(x, y, s);
        // Another rasterizer's glyphs may reach a pixel past the cell.
        texts.push_back({x - 1, y - 1, x + canvas.TextWidth(s) + 1, y + canvas.TextHeight(s) + 1});
    };
    canvas.Font().SetName("Arial");
    canvas.Font().SetColor(clBlack);
    canvas.RoundRect(10, 10, 130, 90, 10, 10);
    canvas.Font().SetStyle({TFontStyle::fsBold});
    text(15, 12, "Cliente <&> \"x\"");
    const int rule = 12 + canvas.TextHeight("C") + 1;
    canvas.MoveTo(10, rule);
    canvas.LineTo(130, rule);
    canvas.Font().SetStyle({TFontStyle::fsUnderline});
    text(15, rule + 2, "Pre\xE7o \x80 1,50");
    canvas.Font().SetStyle({});

    canvas.Pen().SetColor(clRed);
    canvas.Rectangle(200, 20, 300, 70);
    canvas.Brush().SetColor(clBlack);
    for (TRect handle : {TRect{200, 20, 205, 25}, TRect{295, 65, 300, 70}}) canvas.FillRect(handle);
    canvas.Brush().SetColor(clWhite);

    canvas.Pen().SetColor(clGreen);
    canvas.MoveTo(130, 40);
    for (TPoint p : {TPoint{160, 40}, TPoint{160, 110}, TPoint{160, 100}, TPoint{200, 100}, TPoint{200, 101}}) canvas.LineTo(p.X, p.Y);
    canvas.MoveTo(190, 95);
    canvas.LineTo(199, 100);
    canvas.LineTo(190, 105);
    canvas.MoveTo(20, 120);
    canvas.LineTo(21, 120);
    canvas.Rectangle(30, 120, 31, 140);
    canvas.Pen().SetColor(clNavy);
    canvas.Pen().SetWidth(3);
    canvas.MoveTo(40, 150);
    canvas.LineTo(120, 150);
    canvas.LineTo(130, 180);
    canvas.Brush().SetColor(clInfoBk);
    canvas.Ellipse(150, 120, 250, 180);
}

struct Image {
    cairo_surface_t* surface;
    explicit Image(const std::string& png) : surface(cairo_image_surface_create_from_png(png.c_str())) {}
    ~Image() { cairo_surface_destroy(surface); }
    int width() const { return cairo_image_surface_get_width(surface); }
    int height() const { return cairo_image_surface_get_height(surface); }
    // The largest difference of a channel from the same pixel of `other`.
    int difference(const Image& other, int x, int y) const {
        const auto at = [&](const Image& image) {
            return cairo_image_surface_get_data(image.surface) + y * cairo_image_surface_get_stride(image.surface) + 4 * x;
        };
        int d = 0;
        for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(at(*this)[c] - at(other)[c]));
        return d;
    }
    bool dark(int x, int y) const {
        const unsigned char* p = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface) + 4 * x;
        return p[0] < 128 && p[1] < 128 && p[2] < 128;
    }
};

TEST(SvgCanvas, RenderedItMatchesThePngButForTheGlyphs) {
    if (std::string(KZR40_RSVG_CONVERT).empty()) GTEST_SKIP() << "rsvg-convert is not installed (Debian librsvg2-bin)";
    std::vector<TRect> texts;
    ImageCanvas png(320, 200);
    draw_scene(png, texts);
    png.WritePng(folder() / "scene.png");
    SvgCanvas svg(320, 200);
    texts.clear();
    draw_scene(svg, texts);
    svg.WriteFile(folder() / "scene.svg");
    const std::string rendered = (folder() / "scene-svg.png").string();
    ASSERT_EQ(output_of(std::string(KZR40_RSVG_CONVERT) + " --background-color=white '" + (folder() / "scene.svg").string() + "' -o '" + rendered + "'"), "");

    const Image a((folder() / "scene.png").string()), b(rendered);
    ASSERT_EQ(b.width(), 320);
    ASSERT_EQ(b.height(), 200);
    // Outside the text cells: lines, frames and fills cover the same pixels. librsvg flattens the
    // ellipse into other curve pieces than cairo's arcs, which moves its anti-aliased edge pixels by
    // up to 128 levels; nothing else may differ by more than 2.
    const TRect ellipse{149, 119, 251, 181};
    int off_ellipse = 0, on_ellipse = 0;
    std::vector<int> ink(texts.size());
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const auto inside = [&](const TRect& r) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; };
            const auto text = std::find_if(texts.begin(), texts.end(), inside);
            const int d = a.difference(b, x, y);
            if (text != texts.end()) ink[static_cast<std::size_t>(text - texts.begin())] += b.dark(x, y);
            else if (inside(ellipse)) on_ellipse += d > 128;
            else off_ellipse += d > 2;
        }
    EXPECT_EQ(off_ellipse, 0);
    EXPECT_EQ(on_ellipse, 0);
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_GT(ink[i], 20) << "text " << i << " is drawn";
}

TEST(SvgCanvas, TextsAreSearchableEscapedAndKeepTheirMeasuredWidth) {
    std::vector<TRect> texts;
    SvgCanvas svg(320, 200);
    draw_scene(svg, texts);
    svg.Font().SetStyle({});
    svg.TextOut(10, 180, std::string("ctl\x01 undefined\x81 tab\tend"));
    const fs::path path = folder() / "texts.svg";
    svg.WriteFile(path);
    const std::string document = test_support::read_file(path);

    EXPECT_NE(document.find("textLength=\"" + std::to_string(svg.TextWidth("Pre\xE7o \x80 1,50")) + "\">Pre\xC3\xA7o \xE2\x82\xAC 1,50<"),
              std::string::npos)
        << document;
    EXPECT_NE(document.find("font-family:'Arial','Liberation Sans',sans-serif;font-size:11px;font-weight:bold"), std::string::npos);
    // The underline is a bar in the font's colour under the run, as the PNG draws it.
    EXPECT_NE(document.find("Cliente &lt;&amp;&gt; \"x\"</text>"), std::string::npos);
    if (std::string(KZR40_XMLLINT).empty()) GTEST_SKIP() << "xmllint is not installed (Debian libxml2-utils)";
    const std::string found =
        output_of(std::string(KZR40_XMLLINT) + " --xpath '//*[local-name()=\"text\"]/text()' '" + path.string() + "'");
    EXPECT_NE(found.find("Cliente &lt;&amp;&gt; \"x\""), std::string::npos) << found;  // as xmllint prints it
    EXPECT_NE(found.find("Pre\xC3\xA7o \xE2\x82\xAC 1,50"), std::string::npos) << found;
    EXPECT_NE(found.find("ctl\xEF\xBF\xBD undefined\xEF\xBF\xBD tab\tend"), std::string::npos) << found;
}

void box_inside(TCanvas& canvas) {
    canvas.Font().SetName("Arial");
    TCanvasViewport box(canvas, {10, 10, 60, 40});
    canvas.RoundRect(0, 0, 50, 30, 10, 10);
    canvas.TextOut(5, 2, "Inside");
    canvas.MoveTo(0, 15);
    canvas.LineTo(50, 15);
}

void box_overflowing(TCanvas& canvas) {
    TCanvasViewport box(canvas, {100, 10, 130, 40});
    canvas.TextOut(2, 2, "Far wider than its box");  // leaves it: clipped
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect({-5, 20, 10, 60});               // cut down to the box instead
    canvas.MoveTo(40, 0);                            // wholly outside: left out
    canvas.LineTo(60, 0);
}

TEST(SvgCanvas, OnWholePixelsWithAClipOnlyWhereTheDrawingLeavesItsBounds) {
    SvgCanvas inside(200, 100);
    box_inside(inside);
    EXPECT_EQ(inside.Finish().find("clip"), std::string::npos) << inside.Finish();
    EXPECT_NE(inside.Finish().find("d=\"M10 25H59\""), std::string::npos) << "the rule up to the pixel before its end";

    SvgCanvas svg(200, 100);
    box_inside(svg);
    box_overflowing(svg);
    const std::string& document = svg.Finish();
    std::size_t clips = 0;
    for (std::size_t at = 0; (at = document.find("clip-path=", at)) != std::string::npos; ++at) ++clips;
    EXPECT_EQ(clips, 1u) << document;
    EXPECT_NE(document.find("<g clip-path=\"url(#k0)\"><text"), std::string::npos) << document;
    EXPECT_NE(document.find("<clipPath id=\"k0\"><rect x=\"100\" y=\"10\" width=\"30\" height=\"30\"/>"), std::string::npos);
    EXPECT_NE(document.find("x=\"100\" y=\"30\" width=\"10\" height=\"10\"/>"), std::string::npos) << "the fill, cut";
    EXPECT_EQ(document.find("M140"), std::string::npos) << "nothing of the line outside";
    // Every coordinate is a whole pixel (corner radii may be halves).
    const std::regex coordinate(R"re( (x|y|width|height|textLength)="([^"]*)")re");
    for (auto it = std::sregex_iterator(document.begin(), document.end(), coordinate); it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(std::regex_match((*it)[2].str(), std::regex("-?[0-9]+"))) << (*it)[0];

    SvgCanvas again(200, 100);
    box_inside(again);
    box_overflowing(again);
    EXPECT_EQ(again.Finish(), document) << "the same calls give the same document";
}

}  // namespace
