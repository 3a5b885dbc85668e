#pragma once

#include <cstdint>

// Colours and character sets as the target's graphics unit numbers them. System colours carry the
// high bit and name a Windows colour index in the low byte.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);

using TFontCharset = std::uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;

// Pixels per inch of the screen the generated forms are designed for.
inline constexpr int kScreenPixelsPerInch = 96;
