// The pictures of both examples and of a diagram with a self-reference, parallel relationships and
// captions, in both styles, against the golden PNGs kept beside this test (tests/diagram/pictures).
// Set KZR40_UPDATE_GOLDEN=1 to write them anew, then look at every one before committing it.
//
// Tolerance: the glyphs' anti-aliasing may differ with the FreeType and cairo builds, so a pixel may
// differ by up to 64 in a channel anywhere, and at most 0.5 % of the pixels by more; the sizes must
// match exactly. Anything a layout or style change moves (a box, a line, a band) fails it.

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "diagram/diagram.h"
#include "diagram/scene.h"
#include "diagram/scene_layout.h"
#include "diagram/scene_picture.h"
#include "diagram/type_texts.h"
#include "platform/graphics/cairo_canvas.h"
#include "tests/support/read_file.h"
#include "tests/support/run_host.h"

namespace fs = std::filesystem;

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

cairo_status_t read_bytes(void* closure, unsigned char* data, unsigned int length) {
    auto* rest = static_cast<std::string_view*>(closure);
    if (rest->size() < length) return CAIRO_STATUS_READ_ERROR;
    std::copy_n(rest->data(), length, data);
    rest->remove_prefix(length);
    return CAIRO_STATUS_SUCCESS;
}

Surface decode(std::string_view png) {
    Surface s(cairo_image_surface_create_from_png_stream(read_bytes, &png));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(s.get());
    return s;
}

// What differs between two decoded pictures: "" when they match within the tolerance above.
std::string difference(cairo_surface_t* got, cairo_surface_t* want) {
    const int w = cairo_image_surface_get_width(got), h = cairo_image_surface_get_height(got);
    if (w != cairo_image_surface_get_width(want) || h != cairo_image_surface_get_height(want))
        return "size " + std::to_string(w) + " x " + std::to_string(h) + ", golden " +
               std::to_string(cairo_image_surface_get_width(want)) + " x " + std::to_string(cairo_image_surface_get_height(want));
    long long far = 0;
    int worst = 0;
    for (int y = 0; y < h; ++y) {
        const auto* a = cairo_image_surface_get_data(got) + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(got);
        const auto* b = cairo_image_surface_get_data(want) + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(want);
        for (int x = 0; x < w * 4; x += 4) {
            int most = 0;
            for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(int{a[x + c]} - int{b[x + c]}));
            worst = std::max(worst, most);
            far += most > 64;
        }
    }
    if (far * 200 > static_cast<long long>(w) * h)
        return std::to_string(far) + " of " + std::to_string(static_cast<long long>(w) * h) + " pixels differ by more than 64 (worst " +
               std::to_string(worst) + ")";
    return "";
}

struct Golden {
    const char* file;  // under the source tree
    const char* name;  // of the golden pictures: NAME-STYLE.png
};

TEST(GoldenPictures, BothExamplesAndALoopDiagramInBothStylesMatchTheirGoldenPictures) {
    select_type_texts(default_type_texts());
    const fs::path source(KZR40_SOURCE_DIR);
    const fs::path folder = source / "tests/diagram/pictures";
    const bool update = std::getenv("KZR40_UPDATE_GOLDEN") != nullptr;
    const Golden goldens[] = {{"examples/vendas.json", "vendas"}, {"examples/cliente.json", "cliente"}, {"tests/diagram/pictures/loja.json", "loja"}};
    const struct {
        const char* suffix;
        PictureLook look;
    } looks[] = {{"faithful", {}},
                 {"modern", {DiagramStyle::modern, DiagramTheme::light}},
                 {"modern-dark", {DiagramStyle::modern, DiagramTheme::dark}}};
    for (const Golden& golden : goldens) {
        Diagram diagram = parse_diagram(test_support::read_file(source / golden.file), golden.file);
        DiagramScene scene(diagram);
        if (needs_layout(diagram)) lay_out_scene(scene, diagram);
        scene.zoom(diagram.escala);
        for (const auto& [suffix, look] : looks) {
            const std::string name = std::string(golden.name) + "-" + suffix + ".png";
            const std::string png = draw_picture(scene, PictureFormat::png, look);
            if (update) {
                WritePictureFile((folder / name).string(), png);
                continue;
            }
            const Surface got = decode(png);
            const Surface want = decode(test_support::read_file(folder / name));
            ASSERT_TRUE(got && want) << name << ": a picture that cannot be decoded";
            EXPECT_EQ(difference(got.get(), want.get()), "") << name;
        }
    }
}

// The command line: --style and --theme over the file's, their texts searchable in the SVG as in the
// faithful one, and an unknown style refused before anything is drawn.
TEST(GoldenPictures, DrawTakesStyleAndThemeAndKeepsTheModernSvgSearchable) {
    const fs::path folder = fs::path(::testing::TempDir()) / "kzr40-styles";
    fs::create_directories(folder);
    const std::string vendas = (fs::path(KZR40_SOURCE_DIR) / "examples/vendas.json").string();
    const fs::path png = folder / "v.png", svg = folder / "v.svg", refused = folder / "r.png";
    ASSERT_EQ(run_host({"draw", vendas, "-o", png.string(), "--style", "modern", "--theme", "dark"}).status, 0);
    const Surface picture = decode(test_support::read_file(png));
    ASSERT_TRUE(picture);
    const auto* corner = cairo_image_surface_get_data(picture.get());
    EXPECT_EQ((int{corner[2]} << 16) | (int{corner[1]} << 8) | corner[0], 0x1E1F24) << "the dark ground";
    ASSERT_EQ(run_host({"draw", vendas, "-o", svg.string(), "--style", "modern"}).status, 0);
    const std::string text = test_support::read_file(svg);
    for (const char* shown : {">Itens do pedido</text>", ">PK</text>", ">FK</text>", ">Movimento</text>", ">QUANTIDADE</text>"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown;
    const HostRun bad = run_host({"draw", vendas, "-o", refused.string(), "--style", "shiny"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--style"), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(refused));
}

}  // namespace
