#pragma once

#include <cstdint>
#include <stdexcept>

#include "platform/graphics.h"

// A colour as the screen shows it: red, green and blue, 0..255 each.
struct TRGB {
    std::uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const TRGB&, const TRGB&) = default;
};

// A TColor that cannot be drawn: clNone, clDefault, a system colour index without an entry, a
// palette index.
class EInvalidColor : public std::invalid_argument {
public:
    explicit EInvalidColor(TColor color);
    TColor color() const { return color_; }

private:
    TColor color_;
};

// What a colour draws as. $00BBGGRR is taken as it stands (so is $02BBGGRR, a palette-relative RGB,
// which on a true-colour screen is the same colour); a system colour ($800000nn) is looked up in the
// classic Windows Standard scheme (docs/canvas.md). Anything else raises EInvalidColor.
TRGB ColorToRGB(TColor color);
// The colour as 0xRRGGBB, handy for comparing with pixels.
std::uint32_t ColorToRRGGBB(TColor color);
