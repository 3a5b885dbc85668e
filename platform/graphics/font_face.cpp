#include "platform/graphics/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <mutex>

#include "platform/windows_1252.h"

namespace {

// FreeType's library object, created on first use and kept for the life of the process: faces (and
// the cairo fonts made from them) may outlive any object that could own it.
FT_Library freetype() {
    static FT_Library const library = [] {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) != 0) throw EFontNotAvailable("FreeType could not be initialised");
        return created;
    }();
    return library;
}

// FT_New_Face and FT_Done_Face change the library's face list and must not run at once.
std::mutex& library_lock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

FontFace::FontFace(const FontFile& file) : file_(file) {
    const auto fail = [&](const std::string& what) {
        return EFontNotAvailable("font file \"" + file.path + "\" (" + file.family + "): " + what);
    };
    {
        std::lock_guard guard(library_lock());
        if (FT_New_Face(freetype(), file.path.c_str(), file.index, &face_) != 0)
            throw fail("FreeType cannot read it");
    }
    try {
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        if (!FT_IS_SFNT(face_) || !os2 || face_->units_per_EM == 0) throw fail("not a TrueType face with an OS/2 table");
        if (FT_Select_Charmap(face_, FT_ENCODING_UNICODE) != 0) throw fail("it has no Unicode character map");
        units_per_em_ = face_->units_per_EM;
        win_ascent_ = os2->usWinAscent;
        win_descent_ = os2->usWinDescent;
        underline_position_ = face_->underline_position;
        underline_thickness_ = face_->underline_thickness;
        strikeout_position_ = os2->yStrikeoutPosition;
        strikeout_size_ = os2->yStrikeoutSize;
        for (int byte = 0; byte < 256; ++byte) {
            glyphs_[byte] = FT_Get_Char_Index(face_, Windows1252ToUnicode(static_cast<unsigned char>(byte)));
            FT_Fixed advance = 0;
            if (FT_Get_Advance(face_, glyphs_[byte], FT_LOAD_NO_SCALE, &advance) != 0)
                throw fail("the advance width of glyph " + std::to_string(glyphs_[byte]) + " cannot be read");
            advances_[byte] = static_cast<int>(advance);
        }
    } catch (...) {
        std::lock_guard guard(library_lock());
        FT_Done_Face(face_);
        throw;
    }
}

FontFace::~FontFace() {
    std::lock_guard guard(library_lock());
    FT_Done_Face(face_);
}

void RetainFontFace(FT_Face face) {
    std::lock_guard guard(library_lock());
    FT_Reference_Face(face);
}

void ReleaseFontFace(FT_Face face) {
    std::lock_guard guard(library_lock());
    FT_Done_Face(face);
}
