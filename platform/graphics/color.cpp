#include "platform/graphics/color.h"

#include <array>
#include <cstdio>
#include <string>

namespace {

// The classic "Windows Standard" scheme, indexed by the Windows colour index (COLOR_SCROLLBAR = 0
// .. COLOR_INFOBK = 24), as 0xRRGGBB. These are the system colours the target's constants name.
constexpr std::array<std::uint32_t, 25> kSystemColors = {
    0xC0C0C0,  //  0 scroll bar
    0x008080,  //  1 desktop
    0x000080,  //  2 active caption
    0x808080,  //  3 inactive caption
    0xC0C0C0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x000000,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0xFFFFFF,  //  9 caption text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application work space
    0x000080,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x000000,  // 21 3-D dark shadow
    0xDFDFDF,  // 22 3-D light
    0x000000,  // 23 tooltip text
    0xFFFFE1,  // 24 tooltip background
};

std::string describe(TColor color) {
    char text[64];
    std::snprintf(text, sizeof text, "colour $%08X cannot be drawn", static_cast<unsigned>(color));
    std::string message = text;
    if (color == clNone) message += " (clNone)";
    else if (color == clDefault) message += " (clDefault)";
    else if ((static_cast<std::uint32_t>(color) & 0xFF000000u) == 0x80000000u) message += ": no such system colour";
    return message;
}

}  // namespace

EInvalidColor::EInvalidColor(TColor color) : std::invalid_argument(describe(color)), color_(color) {}

std::uint32_t ColorToRRGGBB(TColor color) {
    const auto bits = static_cast<std::uint32_t>(color);
    switch (bits >> 24) {
        case 0x00:
        case 0x02: {
            // $00BBGGRR: swap to 0xRRGGBB.
            return ((bits & 0xFF) << 16) | (bits & 0xFF00) | ((bits >> 16) & 0xFF);
        }
        case 0x80:
            if ((bits & 0x00FFFFFFu) < kSystemColors.size()) return kSystemColors[bits & 0xFF];
            break;
        default:
            break;
    }
    throw EInvalidColor(color);
}

TRGB ColorToRGB(TColor color) {
    const std::uint32_t rgb = ColorToRRGGBB(color);
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)};
}
