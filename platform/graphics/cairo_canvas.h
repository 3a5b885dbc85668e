#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/graphics/canvas.h"
#include "platform/graphics/cairo_device.h"

struct _cairo_surface;
using cairo_surface_t = _cairo_surface;

namespace cairo_canvas_detail {
// The cairo surface and context a canvas draws on; made before the canvas that uses them.
struct Target {
    Target(cairo_surface_t* surface, int width, int height, double units_per_pixel);
    ~Target();
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
    cairo_surface_t* surface;
    cairo_t* context;
    std::unique_ptr<CairoDevice> device;
};
}  // namespace cairo_canvas_detail

// A canvas drawn by cairo onto a picture `width` by `height` pixels big (docs/canvas.md).
class CairoCanvas : protected cairo_canvas_detail::Target, public TCanvas {
public:
    int Width() const { return width_; }
    int Height() const { return height_; }

protected:
    CairoCanvas(cairo_surface_t* surface, int width, int height, double units_per_pixel, TextMetrics& metrics);
    // Raises std::runtime_error with cairo's reason when drawing failed; `what` says on what.
    void check(const std::string& what) const;

private:
    int width_;
    int height_;
};

// An image in memory, filled with `background` to start with; written as PNG.
class ImageCanvas : public CairoCanvas {
public:
    ImageCanvas(int width, int height, TColor background = clWhite, TextMetrics& metrics = TextMetrics::Shared());

    // The colour of a pixel as 0xRRGGBB; raises std::out_of_range outside the image.
    std::uint32_t Pixel(int x, int y);
    std::string PngBytes();
    // Writes the PNG file; raises std::runtime_error naming the file when it cannot.
    void WritePng(const std::string& path);
};

// A vector document of one page: SVG or PDF. A pixel is 3/4 of a point, so the page has the size the
// picture has on a 96-pixels-per-inch screen. The document is complete after Finish, which draws no
// more.
class DocumentCanvas : public CairoCanvas {
public:
    enum class Format { Svg, Pdf };

    DocumentCanvas(Format format, int width, int height, TextMetrics& metrics = TextMetrics::Shared());
    ~DocumentCanvas() override;

    // Completes the document and gives its bytes; later calls give the same bytes.
    const std::string& Finish();
    // Finish, then write the file; raises std::runtime_error naming the file when it cannot.
    void WriteFile(const std::string& path);

private:
    DocumentCanvas(Format format, int width, int height, TextMetrics& metrics, std::unique_ptr<std::string> sink);

    Format format_;
    std::unique_ptr<std::string> bytes_;
    bool finished_ = false;
};

// Writes `bytes` to the file `path` (created or replaced); raises std::runtime_error naming the
// file and the reason when it cannot.
void WritePictureFile(const std::string& path, std::string_view bytes);
