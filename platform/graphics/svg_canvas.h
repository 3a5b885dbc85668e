#pragma once

#include <memory>
#include <string>

#include "platform/graphics/canvas.h"
#include "platform/graphics/svg_device.h"

namespace svg_canvas_detail {
// The device a canvas draws on; made before the canvas that uses it.
struct Target {
    Target(int width, int height);
    std::unique_ptr<SvgDevice> device;
};
}  // namespace svg_canvas_detail

// A picture `width` by `height` pixels written as SVG of our own (svg_device.h): searchable text, plain
// elements on whole pixels. The document is complete after Finish, which draws no more.
class SvgCanvas : private svg_canvas_detail::Target, public TCanvas {
public:
    // Raises std::invalid_argument for a side outside 0..32767 pixels, as the other pictures do.
    SvgCanvas(int width, int height, TextMetrics& metrics = TextMetrics::Shared());

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Completes the document and gives its bytes; later calls give the same bytes.
    const std::string& Finish();
    // Finish, then write the file; raises std::runtime_error naming the file when it cannot.
    void WriteFile(const std::string& path);

private:
    int width_;
    int height_;
    bool finished_ = false;
    std::string bytes_;
};
