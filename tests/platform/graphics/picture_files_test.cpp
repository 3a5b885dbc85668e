// A small diagram-like scene drawn into the three picture formats: PNG, SVG (well-formed, checked by
// xmllint) and PDF, each the same bytes from run to run.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/graphics/cairo_canvas.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;

namespace {

void draw_scene(TCanvas& canvas) {
    // An entity box: rounded frame, bold title, title rule, rows, key rule.
    canvas.Font().SetName("Arial");
    canvas.Font().SetColor(clBlack);
    canvas.RoundRect(10, 10, 130, 90, 10, 10);
    canvas.Font().SetStyle({TFontStyle::fsBold});
    canvas.TextOut(15, 12, "Cliente");
    const int rule = 12 + canvas.TextHeight("Cliente") + 1;
    canvas.MoveTo(10, rule);
    canvas.LineTo(130, rule);
    canvas.Font().SetStyle({});
    const int row = canvas.TextHeight("x");
    canvas.TextOut(15, rule + 2, "C\xF3" "digo :Integer");
    const int keys_end = rule + 2 + row;
    canvas.MoveTo(10, keys_end - 2);
    canvas.LineTo(130, keys_end - 2);
    canvas.TextOut(15, keys_end, "Nome :String (40)");
    canvas.Font().SetColor(clBlue);
    canvas.TextOut(15, keys_end + row, "Pre\xE7o (FK) \x80 1,50");

    // A selected box in red with its eight handles.
    canvas.Font().SetColor(clBlack);
    canvas.Pen().SetColor(clRed);
    canvas.Rectangle(200, 20, 300, 70);
    canvas.Brush().SetColor(clBlack);
    canvas.Pen().SetColor(clBlack);
    for (TRect handle : {TRect{200, 20, 205, 25}, TRect{247, 20, 252, 25}, TRect{295, 20, 300, 25},
                         TRect{200, 42, 205, 47}, TRect{295, 42, 300, 47}, TRect{200, 65, 205, 70},
                         TRect{247, 65, 252, 70}, TRect{295, 65, 300, 70}})
        canvas.FillRect(handle);
    canvas.Brush().SetColor(clWhite);
    TRect text_box{205, 25, 295, 65};
    canvas.DrawText("Free text that wraps inside its box", text_box, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);

    // A green connector between the two, and an ellipse with a thick outline.
    canvas.Pen().SetColor(clGreen);
    canvas.MoveTo(130, 40);
    canvas.LineTo(200, 45);
    canvas.Pen().SetColor(clNavy);
    canvas.Pen().SetWidth(3);
    canvas.Brush().SetColor(clInfoBk);
    canvas.Ellipse(40, 110, 140, 170);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetSize(12);
    canvas.Font().SetStyle({TFontStyle::fsItalic, TFontStyle::fsUnderline});
    canvas.TextOut(180, 130, "Times? No: Arial 12");
}

using test_support::read_file;

fs::path output_folder() {
    const fs::path folder = fs::path(::testing::TempDir()) / "kzr40-canvas";
    fs::create_directories(folder);
    return folder;
}

TEST(PictureFiles, ThePngHoldsTheSceneAtItsSize) {
    ImageCanvas image(320, 200);
    draw_scene(image);
    const fs::path path = output_folder() / "scene.png";
    image.WritePng(path);
    const std::string png = read_file(path);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    // IHDR: width and height, big-endian, at offsets 16 and 20.
    const auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 320u);
    EXPECT_EQ(be32(20), 200u);
    EXPECT_EQ(image.Pixel(60, 10), 0x000000u);  // the frame's top edge
    EXPECT_EQ(image.Pixel(225, 20), 0xFF0000u); // the selected box's red top edge

    ImageCanvas again(320, 200);
    draw_scene(again);
    EXPECT_EQ(again.PngBytes(), png);
}

TEST(PictureFiles, TheSvgIsWellFormedAndReproducible) {
    DocumentCanvas svg(DocumentCanvas::Format::Svg, 320, 200);
    draw_scene(svg);
    const fs::path path = output_folder() / "scene.svg";
    svg.WriteFile(path);
    const std::string text = read_file(path);
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("width=\"240pt\" height=\"150pt\""), std::string::npos);  // 3/4 point a pixel

    DocumentCanvas again(DocumentCanvas::Format::Svg, 320, 200);
    draw_scene(again);
    EXPECT_EQ(again.Finish(), text);

    if (std::string(KZR40_XMLLINT).empty()) GTEST_SKIP() << "xmllint is not installed (Debian libxml2-utils)";
    const std::string command = std::string(KZR40_XMLLINT) + " --noout '" + path.string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
}

TEST(PictureFiles, ThePdfIsOneCompletePageAndReproducible) {
    DocumentCanvas pdf(DocumentCanvas::Format::Pdf, 320, 200);
    draw_scene(pdf);
    const fs::path path = output_folder() / "scene.pdf";
    pdf.WriteFile(path);
    const std::string bytes = read_file(path);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("/MediaBox [ 0 0 240 150 ]"), std::string::npos);
    EXPECT_NE(bytes.rfind("%%EOF"), std::string::npos);
    EXPECT_NE(bytes.find("LiberationSans"), std::string::npos);  // the faces the metrics measured

    DocumentCanvas again(DocumentCanvas::Format::Pdf, 320, 200);
    draw_scene(again);
    EXPECT_EQ(again.Finish(), bytes);
}

TEST(PictureFiles, AFileThatCannotBeWrittenIsAnErrorNamingIt) {
    ImageCanvas image(4, 4);
    try {
        image.WritePng("/nonexistent-folder/scene.png");
        FAIL() << "the PNG was written nowhere";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("\"/nonexistent-folder/scene.png\""), std::string::npos) << e.what();
    }
}

}  // namespace
