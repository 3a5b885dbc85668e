#pragma once

#include <string_view>

// Screen and font metrics of the machine the generated forms are designed on. The target measures
// them from Windows; here they are fixed configuration so that generated forms are reproducible.
// docs/form-metrics.md says what each value is and where it comes from.
namespace metrics {

// Screen height in pixels (a 1024 x 768 display).
inline constexpr int kScreenHeight = 768;
// Outer minus client height of a sizeable form with a caption: caption bar 19 + 2 x 4 border.
inline constexpr int kFormCaptionAndBorder = 27;
// Outer minus client width of the same form: 2 x 4 border.
inline constexpr int kFormSideBorders = 8;
// Width of a vertical scroll bar (SM_CXVSCROLL).
inline constexpr int kVerticalScrollBarWidth = 16;
// Width of the sunken edge that a scroll box or a grid with a single border draws on each side.
inline constexpr int kClientEdge = 2;

// The System font as the generated forms use it: height -13, 10 points at 96 pixels per inch.
inline constexpr int kSystemFontHeight = -13;
inline constexpr int kSystemFontPoints = 10;
// Cell height of a System font line (tmHeight), which is also the forms' TextHeight.
inline constexpr int kSystemTextHeight = 16;

// Width in pixels of `text` drawn in the System font. An accelerator mark "&" is not drawn ("&&"
// draws one "&"), as for a label caption.
int system_text_width(std::string_view text);
// Width of one Windows-1252 character in the System font.
int system_char_width(unsigned char c);

// Heights the editors take once they adapt to the System font: an edit is one text line plus 2 x 4
// pixels of 3-D border; a lookup combo box is one text line plus 2 x 2 of border and 2 x 2 of margin;
// a lookup list box shows its rows of one text line each inside its border.
inline constexpr int kEditHeight = kSystemTextHeight + 8;
inline constexpr int kLookupComboHeight = kSystemTextHeight + 8;
inline constexpr int kLookupListRows = 7;
inline constexpr int kLookupListHeight = kLookupListRows * kSystemTextHeight + 2 * kClientEdge;

}  // namespace metrics
