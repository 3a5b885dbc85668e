// Shapes on a surface drawn for real by the cairo back end: a PNG whose pixels show the parts, and an
// SVG and a PDF of the same surface.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/graphics/cairo_canvas.h"
#include "tests/shapes/shape_fixture.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;

namespace {

struct ShapePicture : ShapeSurface {
    TnoxSizeableShape* left = make(40, 120, 100, 60);
    TnoxSizeableShape* right = make(250, 120, 100, 60);
    TnoxConnector* line = join(left, right);
    TnoxTextShape* note = make<TnoxTextShape>(20, 20, 10, 10);

    ShapePicture() {
        note->SetText("Pedido de venda\ncom itens e pre\xE7os\n");
        auto* caption = new tnoxCaption(&owner);
        caption->SetText("compra");
        line->SetCaption(caption);
        auto* name = new tnoxCaption(&owner);
        name->SetText("Cliente");
        left->SetCaption(name);
        // Select the right box by a press, then drag it 10 pixels to the right with the mouse.
        press(300, 150);
        move(310, 150);
        release(310, 150);
    }
    static fs::path folder() {
        const fs::path path = fs::path(::testing::TempDir()) / "kzr40-shapes";
        fs::create_directories(path);
        return path;
    }
};

TEST_F(ShapePicture, PngShowsHandlesLineAndTexts) {
    ASSERT_EQ(bounds(right), (TRect{260, 120, 360, 180}));
    ImageCanvas image(400, 300);
    surface->PaintTo(image);
    image.WritePng(folder() / "shapes.png");

    EXPECT_EQ(image.Pixel(262, 122), 0x000000u);  // handle 0 of the selected box
    EXPECT_EQ(image.Pixel(357, 177), 0x000000u);  // handle 7
    EXPECT_EQ(image.Pixel(42, 122), 0xFFFFFFu);   // the unselected box shows no handles
    // Both ends sit 7 pixels below their box's top: one crisp green line along row 127 from the
    // left box's edge to the right box's (its end pixel left out), whatever LineColour holds.
    EXPECT_EQ(image.Pixel(140, 127), 0x008000u);
    EXPECT_EQ(image.Pixel(258, 127), 0x008000u);
    EXPECT_EQ(image.Pixel(200, 126), 0xFFFFFFu);
    EXPECT_EQ(image.Pixel(200, 128), 0xFFFFFFu);
    // The texts are drawn: some pixel of each box is not white.
    const auto inked = [&](const TRect& r) {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (image.Pixel(x, y) != 0xFFFFFFu) return true;
        return false;
    };
    EXPECT_TRUE(inked(bounds(note)));
    EXPECT_TRUE(inked(bounds(left->Caption())));
    EXPECT_TRUE(inked(bounds(line->Caption())));
}

TEST_F(ShapePicture, SvgIsWellFormedAndPdfIsComplete) {
    DocumentCanvas svg(DocumentCanvas::Format::Svg, 400, 300);
    surface->PaintTo(svg);
    const fs::path svg_path = folder() / "shapes.svg";
    svg.WriteFile(svg_path);
    DocumentCanvas pdf(DocumentCanvas::Format::Pdf, 400, 300);
    surface->PaintTo(pdf);
    const fs::path pdf_path = folder() / "shapes.pdf";
    pdf.WriteFile(pdf_path);
    const std::string pdf_bytes = test_support::read_file(pdf_path);
    EXPECT_EQ(pdf_bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf_bytes.find("/MediaBox [ 0 0 300 225 ]"), std::string::npos);
    EXPECT_NE(pdf_bytes.rfind("%%EOF"), std::string::npos);

    if (std::string(KZR40_XMLLINT).empty()) GTEST_SKIP() << "xmllint is not installed (Debian libxml2-utils)";
    const std::string command = std::string(KZR40_XMLLINT) + " --noout '" + svg_path.string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
}

}  // namespace
