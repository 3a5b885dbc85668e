#include "platform/graphics/svg_canvas.h"

#include <stdexcept>

#include "platform/graphics/cairo_canvas.h"

namespace {

constexpr int kMaxSide = 32767;

int checked(int side, int width, int height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        throw std::invalid_argument("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                                    " is out of range: each side must be 0.." + std::to_string(kMaxSide) + " pixels");
    return side;
}

}  // namespace

namespace svg_canvas_detail {
Target::Target(int width, int height)
    : device(std::make_unique<SvgDevice>(checked(width, width, height), checked(height, width, height))) {}
}  // namespace svg_canvas_detail

SvgCanvas::SvgCanvas(int width, int height, TextMetrics& metrics)
    : Target(width, height), TCanvas(*device, metrics), width_(width), height_(height) {}

const std::string& SvgCanvas::Finish() {
    if (!finished_) {
        bytes_ = device->Finish();
        finished_ = true;
        // Nothing drawn after the end reaches the document.
        SetDeviceClipRect({});
    }
    return bytes_;
}

void SvgCanvas::WriteFile(const std::string& path) { WritePictureFile(path, Finish()); }
