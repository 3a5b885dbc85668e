#include "platform/graphics/cairo_canvas.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <cctype>
#include <cerrno>
#include <map>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/graphics/color.h"

namespace {

// cairo's image surfaces hold at most 32767 pixels a side; the documents take the same limit.
constexpr int kMaxSide = 32767;

void check_size(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        throw std::invalid_argument("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                                    " is out of range: each side must be 0.." + std::to_string(kMaxSide) + " pixels");
}

cairo_status_t append(void* sink, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(sink)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

constexpr double kPointsPerPixel = 72.0 / 96.0;

cairo_surface_t* image_surface(int width, int height) {
    check_size(width, height);
    return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
}

cairo_surface_t* document_surface(DocumentCanvas::Format format, int width, int height, std::string* sink) {
    check_size(width, height);
    const double w = width * kPointsPerPixel, h = height * kPointsPerPixel;
    if (format == DocumentCanvas::Format::Svg) return cairo_svg_surface_create_for_stream(append, sink, w, h);
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(append, sink, w, h);
    // Fixed dates keep the document the same from run to run.
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, "2000-01-01T00:00:00Z");
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_MOD_DATE, "2000-01-01T00:00:00Z");
    return surface;
}

// cairo names an SVG's surfaces after a counter that runs across the whole process ("surface86");
// renumbering them in order of appearance makes the same drawing give the same document.
std::string renumber_svg_surfaces(const std::string& svg) {
    static constexpr std::string_view kName = "surface";
    std::map<std::string, std::string> numbers;
    std::string out;
    out.reserve(svg.size());
    std::size_t i = 0;
    while (i < svg.size()) {
        const std::size_t at = svg.find(kName, i);
        if (at == std::string::npos) break;
        std::size_t end = at + kName.size();
        while (end < svg.size() && std::isdigit(static_cast<unsigned char>(svg[end]))) ++end;
        const bool reference = at > 0 && (svg[at - 1] == '"' || svg[at - 1] == '#') && end > at + kName.size();
        out.append(svg, i, at - i);
        if (reference) {
            auto [slot, added] = numbers.try_emplace(svg.substr(at, end - at));
            if (added) slot->second = std::string(kName) + std::to_string(numbers.size());
            out += slot->second;
        } else {
            out.append(svg, at, end - at);
        }
        i = end;
    }
    out.append(svg, i, std::string::npos);
    return out;
}

}  // namespace

namespace cairo_canvas_detail {

Target::Target(cairo_surface_t* s, int width, int height, double units_per_pixel)
    : surface(s), context(cairo_create(s)) {
    cairo_scale(context, units_per_pixel, units_per_pixel);
    device = std::make_unique<CairoDevice>(context, TRect{0, 0, width, height});
}

Target::~Target() {
    device.reset();
    cairo_destroy(context);
    cairo_surface_destroy(surface);
}

}  // namespace cairo_canvas_detail

CairoCanvas::CairoCanvas(cairo_surface_t* s, int width, int height, double units_per_pixel, TextMetrics& metrics)
    : Target(s, width, height, units_per_pixel), TCanvas(*device, metrics), width_(width), height_(height) {
    check("the picture");
}

void CairoCanvas::check(const std::string& what) const {
    cairo_status_t status = cairo_status(context);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cairo failed on " + what + ": " + cairo_status_to_string(status));
}

ImageCanvas::ImageCanvas(int width, int height, TColor background, TextMetrics& metrics)
    : CairoCanvas(image_surface(width, height), width, height, 1.0, metrics) {
    const TRGB rgb = ColorToRGB(background);
    cairo_set_source_rgb(context, rgb.R / 255.0, rgb.G / 255.0, rgb.B / 255.0);
    cairo_paint(context);
}

std::uint32_t ImageCanvas::Pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        throw std::out_of_range("pixel (" + std::to_string(x) + "," + std::to_string(y) + ") lies outside the " +
                                std::to_string(Width()) + " x " + std::to_string(Height()) + " image");
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    std::uint32_t pixel;
    std::memcpy(&pixel, row + 4 * x, sizeof pixel);
    return pixel & 0xFFFFFF;
}

std::string ImageCanvas::PngBytes() {
    check("the image");
    std::string bytes;
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, append, &bytes);
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string("cairo failed to encode the PNG: ") + cairo_status_to_string(status));
    return bytes;
}

void ImageCanvas::WritePng(const std::string& path) { WritePictureFile(path, PngBytes()); }

DocumentCanvas::DocumentCanvas(Format format, int width, int height, TextMetrics& metrics)
    : DocumentCanvas(format, width, height, metrics, std::make_unique<std::string>()) {}

DocumentCanvas::DocumentCanvas(Format format, int width, int height, TextMetrics& metrics, std::unique_ptr<std::string> sink)
    : CairoCanvas(document_surface(format, width, height, sink.get()), width, height, kPointsPerPixel, metrics),
      format_(format),
      bytes_(std::move(sink)) {}

// cairo writes the rest of an unfinished document when its surface goes; that must happen while the
// sink still exists.
DocumentCanvas::~DocumentCanvas() {
    if (!finished_) cairo_surface_finish(surface);
}

const std::string& DocumentCanvas::Finish() {
    if (!finished_) {
        check(format_ == Format::Svg ? "the SVG document" : "the PDF document");
        cairo_surface_finish(surface);
        finished_ = true;
        check(format_ == Format::Svg ? "the SVG document" : "the PDF document");
        if (format_ == Format::Svg) *bytes_ = renumber_svg_surfaces(*bytes_);
    }
    return *bytes_;
}

void DocumentCanvas::WriteFile(const std::string& path) { WritePictureFile(path, Finish()); }

void WritePictureFile(const std::string& path, std::string_view bytes) {
    const auto fail = [&](int error) {
        return std::runtime_error("cannot write the picture file \"" + path + "\": " + std::strerror(error));
    };
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw fail(errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int error = errno;
    if (std::fclose(file) != 0 || !written) throw fail(written ? errno : error);
}
