// png_compare EXPECTED.png ACTUAL.png DIFF.png: whether a screenshot matches its expected picture.
//
// Both pictures must have the same size. A pixel differs when one of its colour channels differs by
// more than kChannelTolerance; the pictures match when at most kMaxDifferingPixels pixels differ
// (docs/application.md says why these numbers). When they do not, DIFF.png shows the differing pixels
// in red over a faded copy of the actual picture, and the message gives their count and bounding box.
//
// Exit status: 0 match, 1 differ, 2 a picture cannot be read or the usage is wrong.

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr int kChannelTolerance = 16;
constexpr long kMaxDifferingPixels = 2;

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// The picture as 32-bit pixels (cairo converts every PNG colour type to ARGB32 or RGB24).
Surface read_png(const char* file) {
    Surface surface(cairo_image_surface_create_from_png(file), cairo_surface_destroy);
    const cairo_status_t status = cairo_surface_status(surface.get());
    if (status != CAIRO_STATUS_SUCCESS) {
        std::cerr << "png_compare: " << file << ": " << cairo_status_to_string(status) << "\n";
        std::exit(2);
    }
    cairo_surface_flush(surface.get());
    return surface;
}

std::uint32_t pixel(cairo_surface_t* surface, int x, int y) {
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

// The largest difference of red, green and blue (screenshots are opaque; an RGB24 pixel's top byte is unused).
int channel_difference(std::uint32_t a, std::uint32_t b) {
    int most = 0;
    for (int shift = 0; shift < 24; shift += 8)
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return most;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: png_compare EXPECTED.png ACTUAL.png DIFF.png\n";
        return 2;
    }
    const Surface expected = read_png(argv[1]);
    const Surface actual = read_png(argv[2]);
    const int width = cairo_image_surface_get_width(actual.get());
    const int height = cairo_image_surface_get_height(actual.get());
    const int expected_width = cairo_image_surface_get_width(expected.get());
    const int expected_height = cairo_image_surface_get_height(expected.get());
    if (width != expected_width || height != expected_height) {
        std::cerr << "png_compare: " << argv[2] << " is " << width << "x" << height << " pixels, " << argv[1] << " is "
                  << expected_width << "x" << expected_height << "\n";
        return 1;
    }

    Surface diff(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy);
    unsigned char* diff_data = cairo_image_surface_get_data(diff.get());
    const int diff_stride = cairo_image_surface_get_stride(diff.get());
    long differing = 0;
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        auto* diff_row = reinterpret_cast<std::uint32_t*>(diff_data + y * diff_stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t a = pixel(actual.get(), x, y);
            if (channel_difference(pixel(expected.get(), x, y), a) > kChannelTolerance) {
                ++differing;
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
                diff_row[x] = 0xFF0000;
            } else {
                // A quarter of the actual picture's brightness over white: the layout stays recognisable.
                std::uint32_t faded = 0;
                for (int shift = 0; shift < 24; shift += 8) faded |= (192 + ((a >> shift) & 0xFF) / 4) << shift;
                diff_row[x] = faded;
            }
        }
    }
    if (differing <= kMaxDifferingPixels) return 0;
    cairo_surface_mark_dirty(diff.get());
    const cairo_status_t written = cairo_surface_write_to_png(diff.get(), argv[3]);
    std::cerr << "png_compare: " << argv[2] << ": " << differing << " of " << long{width} * height
              << " pixels differ from " << argv[1] << " by more than " << kChannelTolerance << " in a channel (at most "
              << kMaxDifferingPixels << " may), within x " << left << ".." << right << ", y " << top << ".." << bottom
              << "; "
              << (written == CAIRO_STATUS_SUCCESS ? std::string("the differences are shown in ") + argv[3]
                                                  : std::string("the difference picture could not be written: ") +
                                                        cairo_status_to_string(written))
              << "\n";
    return 1;
}
