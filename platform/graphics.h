#pragma once

#include <cstdint>

// Colours and character sets as the target's graphics unit numbers them. System colours carry the
// high bit and name a Windows colour index in the low byte.
using TColor = std::int32_t;

// The sixteen named colours, $00BBGGRR.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours: $80000000 plus the Windows colour index (COLOR_WINDOW = 5, ...). What they draw as
// is the table in platform/graphics/color.cpp.
inline constexpr TColor clScrollBar = static_cast<TColor>(0x80000000u);
inline constexpr TColor clBackground = static_cast<TColor>(0x80000001u);
inline constexpr TColor clActiveCaption = static_cast<TColor>(0x80000002u);
inline constexpr TColor clInactiveCaption = static_cast<TColor>(0x80000003u);
inline constexpr TColor clMenu = static_cast<TColor>(0x80000004u);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);
inline constexpr TColor clWindowFrame = static_cast<TColor>(0x80000006u);
inline constexpr TColor clMenuText = static_cast<TColor>(0x80000007u);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
inline constexpr TColor clCaptionText = static_cast<TColor>(0x80000009u);
inline constexpr TColor clActiveBorder = static_cast<TColor>(0x8000000Au);
inline constexpr TColor clInactiveBorder = static_cast<TColor>(0x8000000Bu);
inline constexpr TColor clAppWorkSpace = static_cast<TColor>(0x8000000Cu);
inline constexpr TColor clHighlight = static_cast<TColor>(0x8000000Du);
inline constexpr TColor clHighlightText = static_cast<TColor>(0x8000000Eu);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
inline constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010u);
inline constexpr TColor clGrayText = static_cast<TColor>(0x80000011u);
inline constexpr TColor clBtnText = static_cast<TColor>(0x80000012u);
inline constexpr TColor clInactiveCaptionText = static_cast<TColor>(0x80000013u);
inline constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014u);
inline constexpr TColor cl3DDkShadow = static_cast<TColor>(0x80000015u);
inline constexpr TColor cl3DLight = static_cast<TColor>(0x80000016u);
inline constexpr TColor clInfoText = static_cast<TColor>(0x80000017u);
inline constexpr TColor clInfoBk = static_cast<TColor>(0x80000018u);

// "No colour" and "the control's default colour": markers for properties, not colours to draw with.
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

using TFontCharset = std::uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;

// Pixels per inch of the screen the generated forms are designed for.
inline constexpr int kScreenPixelsPerInch = 96;
