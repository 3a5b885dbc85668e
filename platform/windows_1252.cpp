#include "platform/windows_1252.h"

#include <array>
#include <cstddef>

namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

}  // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

bool Windows1252Defined(unsigned char byte) {
    return byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
}

int UnicodeToWindows1252(char32_t code_point) {
    if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) return static_cast<int>(code_point);
    if (code_point < 0xA0) return -1;  // the C1 controls
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == code_point && kHighControls[i] >= 0xA0) return static_cast<int>(0x80 + i);
    return -1;
}

unsigned char Windows1252UpperCase(unsigned char byte) {
    if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - 0x20);
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<unsigned char>(byte - 0x20);
    switch (byte) {
        case 0x9A: return 0x8A;  // š
        case 0x9C: return 0x8C;  // œ
        case 0x9E: return 0x8E;  // ž
        case 0xFF: return 0x9F;  // ÿ
        default: return byte;
    }
}
