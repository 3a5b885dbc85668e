#include "platform/font.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// Windows' MulDiv: a * b / c rounded half away from zero, held to the range of int.
int mul_div(int a, int b, int c) {
    const double exact = std::round(static_cast<double>(a) * b / c);
    return static_cast<int>(std::clamp(exact, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}
// -value, where -INT_MIN (a stored height may be anything) would overflow.
int negated(int value) { return value == INT_MIN ? INT_MAX : -value; }
}  // namespace

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    changed();
}

int TFont::Size() const { return negated(mul_div(height_, 72, pixels_per_inch_)); }

void TFont::SetSize(int points) { SetHeight(negated(mul_div(points, pixels_per_inch_, 72))); }

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    changed();
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset == charset_) return;
    charset_ = charset;
    changed();
}

void TFont::Assign(const TFont& source) {
    if (&source == this || SameAs(source)) return;
    name_ = source.name_;
    height_ = mul_div(source.height_, pixels_per_inch_, source.pixels_per_inch_);
    style_ = source.style_;
    color_ = source.color_;
    charset_ = source.charset_;
    changed();
}

bool TFont::SameAs(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ && color_ == other.color_ &&
           charset_ == other.charset_;
}

void TFont::changed() {
    if (OnChange) OnChange(*this);
}
