#include "platform/metrics.h"

#include <array>

namespace metrics {
namespace {

// Advance widths of the printable ASCII characters 32..126 in the System font.
constexpr std::array<unsigned char, 95> kAsciiWidths = {
    //  ' ' !  "  #   $  %   &   '  (  )  *  +  ,  -  .  /
    4, 4, 6, 10, 8, 12, 10, 3, 5, 5, 8, 8, 4, 5, 4, 6,
    //  0..9
    8, 8, 8, 8, 8, 8, 8, 8, 8, 8,
    //  :  ;  <  =  >  ?  @
    4, 4, 8, 8, 8, 7, 13,
    //  A  B  C  D  E  F  G  H  I  J  K  L  M   N  O  P  Q  R  S  T  U  V  W   X  Y  Z
    9, 9, 9, 9, 8, 8, 9, 9, 4, 7, 9, 7, 11, 9, 9, 8, 9, 9, 8, 8, 9, 9, 13, 9, 8, 8,
    //  [  \  ]  ^  _  `
    5, 6, 5, 8, 8, 5,
    //  a  b  c  d  e  f  g  h  i  j  k  l  m   n  o  p  q  r  s  t  u  v  w   x  y  z
    7, 8, 7, 8, 7, 4, 8, 8, 3, 3, 7, 3, 11, 8, 8, 8, 8, 5, 7, 5, 8, 7, 11, 7, 7, 7,
    //  {  |  }  ~
    5, 3, 5, 8,
};

// The letters of the upper half of Windows-1252 are as wide as their unaccented base letter.
char base_letter(unsigned char c) {
    static constexpr std::string_view kUpper =
        // C0..DF
        "AAAAAAECEEEEIIIIDNOOOOOxOUUUUYPs"
        // E0..FF
        "aaaaaaeceeeeiiiidnooooo/ouuuuypy";
    if (c >= 0xC0) return kUpper[c - 0xC0];
    switch (c) {
        case 0x8A: return 'S';
        case 0x8C: return 'O';
        case 0x8E: return 'Z';
        case 0x9A: return 's';
        case 0x9C: return 'o';
        case 0x9E: return 'z';
        case 0x9F: return 'Y';
        case 0xAA: return 'a';  // feminine ordinal
        case 0xBA: return 'o';  // masculine ordinal
        default: return 0;
    }
}

}  // namespace

int system_char_width(unsigned char c) {
    if (c >= 32 && c <= 126) return kAsciiWidths[c - 32];
    if (c >= 0x80) {
        if (const char base = base_letter(c)) return system_char_width(static_cast<unsigned char>(base));
        return 8;
    }
    return 0;  // control characters draw nothing
}

int system_text_width(std::string_view text) {
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') ++i;  // "&&" draws one "&"
            else continue;                                         // an accelerator mark draws nothing
        }
        width += system_char_width(static_cast<unsigned char>(text[i]));
    }
    return width;
}

}  // namespace metrics
