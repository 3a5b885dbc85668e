#include "platform/graphics/text_metrics.h"

#include <climits>
#include <cstdint>
#include <stdexcept>

namespace {

// a x b / c rounded half up, for c > 0 and a x b that fits 64 bits.
int scale_round(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t n = 2 * a * b + c;
    const std::int64_t d = 2 * c;
    // Floor division, so that negative values round half up as well.
    return static_cast<int>(n >= 0 ? n / d : -((-n + d - 1) / d));
}

}  // namespace

FontMetrics::FontMetrics(const FontFace& face, int pixels_per_em)
    : face_(&face),
      pixels_per_em_(pixels_per_em),
      ascent_(scale_round(face.WinAscent(), pixels_per_em, face.UnitsPerEm())),
      descent_(scale_round(face.WinDescent(), pixels_per_em, face.UnitsPerEm())) {
    for (int byte = 0; byte < 256; ++byte)
        advances_[byte] = scale_round(face.AdvanceUnits(static_cast<unsigned char>(byte)), pixels_per_em, face.UnitsPerEm());
}

int FontMetrics::TextWidth(std::string_view text) const {
    std::int64_t width = 0;
    for (const char c : text) width += advances_[static_cast<unsigned char>(c)];
    return width > INT_MAX ? INT_MAX : static_cast<int>(width);
}

int FontMetrics::Scale(int units) const { return scale_round(units, pixels_per_em_, face_->UnitsPerEm()); }

int PixelsPerEmForHeight(const FontFace& face, int height, std::string_view font_name) {
    const std::int64_t ppem = height < 0 ? -static_cast<std::int64_t>(height)
                                         : scale_round(height, face.UnitsPerEm(), face.WinAscent() + face.WinDescent());
    if (ppem > kMaxPixelsPerEm)
        throw std::invalid_argument("font \"" + std::string(font_name) + "\" height " + std::to_string(height) +
                                    " is out of range: at most " + std::to_string(kMaxPixelsPerEm) +
                                    " pixels per em can be measured");
    return static_cast<int>(ppem);
}

const FontFace& TextMetrics::face(const std::string& name, bool bold, bool italic) {
    const std::string_view family = MetricCompatibleFamily(name);
    auto key = std::make_tuple(std::string(family.empty() ? std::string_view(name) : family), bold, italic);
    auto found = faces_.find(key);
    if (found == faces_.end())
        found = faces_.emplace(std::move(key), std::make_unique<FontFace>(ResolveFontFile(name, bold, italic))).first;
    return *found->second;
}

const FontMetrics& TextMetrics::Measure(const std::string& name, int height, TFontStyles style) {
    std::lock_guard guard(lock_);
    const FontFace& f = face(name, style.contains(TFontStyle::fsBold), style.contains(TFontStyle::fsItalic));
    const int ppem = PixelsPerEmForHeight(f, height, name);
    auto& slot = sizes_[{&f, ppem}];
    if (!slot) slot = std::make_unique<FontMetrics>(f, ppem);
    return *slot;
}

TextMetrics& TextMetrics::Shared() {
    static TextMetrics service;
    return service;
}
