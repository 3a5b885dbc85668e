#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/font.h"
#include "platform/graphics/font_face.h"

// How text measures in one face at one pixel size, the way the target's graphics interface measures
// a TrueType font that carries no device-metric tables (docs/canvas.md has the formulas):
//   ascent  = round(usWinAscent  x ppem / unitsPerEm)
//   descent = round(usWinDescent x ppem / unitsPerEm)
//   height  = ascent + descent                  (tmHeight: the text height of every text)
//   advance = round(advanceWidth x ppem / unitsPerEm)  per character, whole pixels
//   width   = sum of the advances, no kerning
// with round() taking halves up. Everything is integer arithmetic on the font file's numbers, so
// the same file gives the same numbers on every machine.
class FontMetrics {
public:
    FontMetrics(const FontFace& face, int pixels_per_em);

    const FontFace& Face() const { return *face_; }
    int PixelsPerEm() const { return pixels_per_em_; }
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int Height() const { return ascent_ + descent_; }
    int CharWidth(unsigned char byte) const { return advances_[byte]; }
    // Width of a Windows-1252 text; saturates at the largest int instead of overflowing.
    int TextWidth(std::string_view text) const;
    // Design units to pixels at this size, rounded half up (also for negative values).
    int Scale(int units) const;

private:
    const FontFace* face_;
    int pixels_per_em_;
    int ascent_;
    int descent_;
    std::array<int, 256> advances_;
};

// The largest character height a font may ask for, in pixels.
inline constexpr int kMaxPixelsPerEm = 16384;

// The em size in pixels for a font height as the target's fonts take it: a negative height is the
// character height (the em) itself; a positive one is the cell height, ascent plus descent, so the em
// is height x unitsPerEm / (usWinAscent + usWinDescent), rounded half up; 0 measures and draws
// nothing. Raises std::invalid_argument, naming the font, beyond kMaxPixelsPerEm.
int PixelsPerEmForHeight(const FontFace& face, int height, std::string_view font_name);

// The text-metrics service: resolves a font (name, height, style) to its FontMetrics, opening each
// face file once and keeping every size it was asked for. Measuring and drawing both go through it,
// so what is drawn is what was measured. Safe to use from several threads.
class TextMetrics {
public:
    TextMetrics() = default;
    TextMetrics(const TextMetrics&) = delete;
    TextMetrics& operator=(const TextMetrics&) = delete;

    // Raises EFontNotAvailable when the font has no face here (docs/canvas.md lists the families),
    // std::invalid_argument for a height out of range. The reference lives as long as the service.
    const FontMetrics& Measure(const std::string& name, int height, TFontStyles style);
    const FontMetrics& Measure(const TFont& font) { return Measure(font.Name(), font.Height(), font.Style()); }

    // The one service of the process.
    static TextMetrics& Shared();

private:
    const FontFace& face(const std::string& name, bool bold, bool italic);

    std::mutex lock_;
    // Keyed by the resolved family and style, so "Arial" and "Liberation Sans" share one face.
    std::map<std::tuple<std::string, bool, bool>, std::unique_ptr<FontFace>> faces_;
    std::map<std::pair<const FontFace*, int>, std::unique_ptr<FontMetrics>> sizes_;
};
