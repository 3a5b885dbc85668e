#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/graphics/font_resolver.h"

struct FT_FaceRec_;
using FT_Face = FT_FaceRec_*;

// One opened TrueType face, read once: the design-unit numbers that the text metrics scale to a
// pixel size, and the glyph of every Windows-1252 byte. Faces are opened through one FreeType
// library that lives as long as the process. Not copyable; shared by every size of the face.
class FontFace {
public:
    // Opens the face; raises EFontNotAvailable naming the file when FreeType cannot read it or it
    // is not a TrueType face with the tables the metrics need.
    explicit FontFace(const FontFile& file);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const FontFile& File() const { return file_; }
    FT_Face Handle() const { return face_; }

    int UnitsPerEm() const { return units_per_em_; }
    // OS/2 usWinAscent and usWinDescent: the extent Windows gives a line of this face.
    int WinAscent() const { return win_ascent_; }
    int WinDescent() const { return win_descent_; }
    // Underline (post table) and strike-out (OS/2) placement, design units above the baseline.
    int UnderlinePosition() const { return underline_position_; }
    int UnderlineThickness() const { return underline_thickness_; }
    int StrikeoutPosition() const { return strikeout_position_; }
    int StrikeoutSize() const { return strikeout_size_; }

    // The glyph a byte draws with (0, the missing-glyph box, when the face has none for it) and
    // that glyph's advance width in design units.
    unsigned GlyphIndex(unsigned char byte) const { return glyphs_[byte]; }
    int AdvanceUnits(unsigned char byte) const { return advances_[byte]; }

private:
    FontFile file_;
    FT_Face face_ = nullptr;
    int units_per_em_ = 0;
    int win_ascent_ = 0;
    int win_descent_ = 0;
    int underline_position_ = 0;
    int underline_thickness_ = 0;
    int strikeout_position_ = 0;
    int strikeout_size_ = 0;
    std::array<unsigned, 256> glyphs_{};
    std::array<int, 256> advances_{};
};

// An extra hold on a face for a drawing library that may keep the face past its FontFace, and its
// release; the face closes when the last hold goes.
void RetainFontFace(FT_Face face);
void ReleaseFontFace(FT_Face face);
