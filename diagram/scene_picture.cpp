#include "diagram/scene_picture.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "diagram/modern_painter.h"
#include "diagram/scene.h"
#include "platform/components/diagram_surface.h"
#include "platform/graphics/cairo_canvas.h"
#include "platform/graphics/svg_canvas.h"

std::optional<PictureFormat> picture_format_of(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (extension == ".png") return PictureFormat::png;
    if (extension == ".svg") return PictureFormat::svg;
    if (extension == ".pdf") return PictureFormat::pdf;
    return std::nullopt;
}

namespace {
// `shapes` and the picture's margin around them.
TRect grown_by_margin(const TRect& shapes) {
    // Saturating: a box that reaches the end of the coordinates (a tall entity at a large zoom) gives
    // an area too large to draw, which draw_picture reports, instead of wrapping round.
    const auto grown = [](int edge, int by) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{edge} + by, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    };
    return {grown(shapes.Left, -kPictureMargin), grown(shapes.Top, -kPictureMargin), grown(shapes.Right, kPictureMargin),
            grown(shapes.Bottom, kPictureMargin)};
}
}  // namespace

TRect picture_area(const DiagramScene& scene) { return grown_by_margin(scene.bounds()); }

void paint_scene(DiagramScene& scene, TCanvas& canvas, const TRect& area) {
    // The whole picture is white first: the surface fills only its own client area, and shapes may
    // stand left of or above it.
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(TRect{0, 0, area.Right - area.Left, area.Bottom - area.Top});
    canvas.SetOrigin({-area.Left, -area.Top});
    scene.surface().PaintTo(canvas);
}

std::string draw_picture(DiagramScene& scene, PictureFormat format, const PictureLook& look) {
    const TRect area = look.style == DiagramStyle::modern ? grown_by_margin(modern_bounds(scene)) : picture_area(scene);
    const std::int64_t width = static_cast<std::int64_t>(area.Right) - area.Left;
    const std::int64_t height = static_cast<std::int64_t>(area.Bottom) - area.Top;
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width > kMaxPictureSide || height > kMaxPictureSide)
        throw std::runtime_error("the picture would be " + size + ", and a side may be at most " +
                                 std::to_string(kMaxPictureSide) + "; draw it at a smaller --zoom");
    if (format == PictureFormat::png && width * height > kMaxPngPixels)
        throw std::runtime_error("the picture would be " + size + ", more than the " + std::to_string(kMaxPngPixels / 1'000'000) +
                                 " million pixels a PNG may have; draw it at a smaller --zoom, or as SVG or PDF");
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const auto paint = [&](TCanvas& canvas) {
        if (look.style == DiagramStyle::modern) paint_modern_scene(scene, canvas, area, look.theme);
        else paint_scene(scene, canvas, area);
    };
    if (format == PictureFormat::png) {
        ImageCanvas canvas(w, h);
        paint(canvas);
        return canvas.PngBytes();
    }
    if (format == PictureFormat::svg) {
        SvgCanvas canvas(w, h);
        paint(canvas);
        return canvas.Finish();
    }
    DocumentCanvas canvas(DocumentCanvas::Format::Pdf, w, h);
    paint(canvas);
    return canvas.Finish();
}
