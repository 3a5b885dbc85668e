#include "platform/graphics/cairo_device.h"

#include <cairo-ft.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/graphics/font_face.h"

namespace {

void set_color(cairo_t* cr, TColor color) {
    const TRGB rgb = ColorToRGB(color);
    cairo_set_source_rgb(cr, rgb.R / 255.0, rgb.G / 255.0, rgb.B / 255.0);
}

void fill(cairo_t* cr, double left, double top, double width, double height) {
    cairo_rectangle(cr, left, top, width, height);
    cairo_fill(cr);
}

// Confines what follows to `clip` until the guard goes.
class ClipGuard {
public:
    ClipGuard(cairo_t* cr, const TRect& clip) : cr_(cr) {
        cairo_save(cr);
        cairo_rectangle(cr, clip.Left, clip.Top, RectWidth(clip), RectHeight(clip));
        cairo_clip(cr);
    }
    ~ClipGuard() { cairo_restore(cr_); }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;

private:
    cairo_t* cr_;
};

// The outline path of a figure runs through the centres of its outermost pixels: from the centre of
// (left, top) to the centre of (right - 1, bottom - 1). A one-pixel pen stroked along it paints
// exactly those pixels.
struct CentreBox {
    double left, top, right, bottom;
    explicit CentreBox(const TRect& r)
        : left(r.Left + 0.5), top(r.Top + 0.5), right(r.Right - 0.5), bottom(r.Bottom - 0.5) {
        right = std::max(right, left);
        bottom = std::max(bottom, top);
    }
};

// Ellipse arc helper: a quarter (or any) arc of an ellipse with radii rx, ry around (cx, cy).
void elliptic_arc(cairo_t* cr, double cx, double cy, double rx, double ry, double from, double to) {
    if (rx <= 0 || ry <= 0) {
        cairo_line_to(cr, cx, cy);
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, from, to);
    cairo_restore(cr);
}

cairo_user_data_key_t kFaceHold;

void release_face(void* face) { ReleaseFontFace(static_cast<FT_Face>(face)); }

}  // namespace

CairoDevice::CairoDevice(cairo_t* context, TRect bounds) : cr_(context), bounds_(bounds) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    // Glyphs are placed at the metrics' advances; cairo must not round positions of its own.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

CairoDevice::~CairoDevice() {
    for (auto& [face, cairo_face] : faces_) cairo_font_face_destroy(cairo_face);
}

void CairoDevice::Line(TPoint from, TPoint to, const TPen& pen, const TRect& clip) {
    const int width = pen.DrawnWidth();
    if (width == 1 && from == to) return;  // a one-pixel line of no length paints nothing
    ClipGuard guard(cr_, clip);
    set_color(cr_, pen.Color());
    cairo_set_line_width(cr_, width);
    double x0 = from.X + 0.5, y0 = from.Y + 0.5, x1 = to.X + 0.5, y1 = to.Y + 0.5;
    if (width == 1) {
        // Shift the centre-to-centre segment back by half a pixel along its major axis: it then
        // starts at the near edge of the first pixel and stops at the near edge of the last, which
        // stays unpainted.
        const double dx = x1 - x0, dy = y1 - y0;
        const double half = 0.5 / std::max(std::abs(dx), std::abs(dy));
        x0 -= dx * half;
        y0 -= dy * half;
        x1 -= dx * half;
        y1 -= dy * half;
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    } else {
        // A wide pen is a geometric pen: round ends, both end points painted.
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    }
    cairo_move_to(cr_, x0, y0);
    cairo_line_to(cr_, x1, y1);
    cairo_stroke(cr_);
}

void CairoDevice::fill_and_outline(const TPen& pen, const TBrush& brush) {
    if (brush.Paints()) {
        set_color(cr_, brush.Color());
        cairo_fill_preserve(cr_);
    }
    set_color(cr_, pen.Color());
    cairo_set_line_width(cr_, pen.DrawnWidth());
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr_);
}

void CairoDevice::Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) {
    if (IsRectEmpty(rect)) return;
    ClipGuard guard(cr_, clip);
    const CentreBox box(rect);
    cairo_rectangle(cr_, box.left, box.top, box.right - box.left, box.bottom - box.top);
    fill_and_outline(pen, brush);
}

void CairoDevice::RoundRect(const TRect& rect, TSize corner, const TPen& pen, const TBrush& brush, const TRect& clip) {
    if (IsRectEmpty(rect)) return;
    ClipGuard guard(cr_, clip);
    const CentreBox box(rect);
    // A corner ellipse w pixels wide has its outline w - 1 apart between pixel centres.
    const double rx = std::clamp((corner.cx - 1) / 2.0, 0.0, (box.right - box.left) / 2);
    const double ry = std::clamp((corner.cy - 1) / 2.0, 0.0, (box.bottom - box.top) / 2);
    constexpr double kPi = 3.14159265358979323846;
    cairo_new_sub_path(cr_);
    elliptic_arc(cr_, box.right - rx, box.top + ry, rx, ry, -kPi / 2, 0);
    elliptic_arc(cr_, box.right - rx, box.bottom - ry, rx, ry, 0, kPi / 2);
    elliptic_arc(cr_, box.left + rx, box.bottom - ry, rx, ry, kPi / 2, kPi);
    elliptic_arc(cr_, box.left + rx, box.top + ry, rx, ry, kPi, 3 * kPi / 2);
    cairo_close_path(cr_);
    fill_and_outline(pen, brush);
}

void CairoDevice::Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) {
    if (IsRectEmpty(rect)) return;
    ClipGuard guard(cr_, clip);
    const CentreBox box(rect);
    const double rx = (box.right - box.left) / 2, ry = (box.bottom - box.top) / 2;
    cairo_new_sub_path(cr_);
    elliptic_arc(cr_, box.left + rx, box.top + ry, rx, ry, 0, 2 * 3.14159265358979323846);
    cairo_close_path(cr_);
    fill_and_outline(pen, brush);
}

void CairoDevice::FillRect(const TRect& rect, const TBrush& brush, const TRect& clip) {
    if (!brush.Paints() || IsRectEmpty(rect)) return;
    ClipGuard guard(cr_, clip);
    set_color(cr_, brush.Color());
    fill(cr_, rect.Left, rect.Top, RectWidth(rect), RectHeight(rect));
}

cairo_font_face_t* CairoDevice::font_face(const FontFace& face) {
    auto found = faces_.find(&face);
    if (found != faces_.end()) return found->second;
    cairo_font_face_t* cairo_face = cairo_ft_font_face_create_for_ft_face(face.Handle(), 0);
    // cairo may keep the face in its caches after this device and the FontFace are gone: it holds
    // its own reference, released when cairo lets go of the face.
    if (!cairo_font_face_get_user_data(cairo_face, &kFaceHold)) {
        RetainFontFace(face.Handle());
        if (cairo_font_face_set_user_data(cairo_face, &kFaceHold, face.Handle(), release_face) != CAIRO_STATUS_SUCCESS)
            ReleaseFontFace(face.Handle());
    }
    faces_.emplace(&face, cairo_face);
    return cairo_face;
}

void CairoDevice::Text(const TextDrawing& text, const TRect& clip) {
    const FontMetrics& metrics = *text.metrics;
    const FontFace& face = metrics.Face();
    const TFontStyles style = text.font->Style();
    ClipGuard guard(cr_, clip);

    if (text.background.Paints()) {
        set_color(cr_, text.background.Color());
        for (const TextRun& run : text.runs) fill(cr_, run.at.X, run.at.Y, run.width, metrics.Height());
    }
    if (metrics.PixelsPerEm() == 0) return;

    set_color(cr_, text.font->Color());
    cairo_set_font_face(cr_, font_face(face));
    cairo_set_font_size(cr_, metrics.PixelsPerEm());

    // Underline and strike-out bars: whole pixel rows, at least one thick.
    const int underline_size = std::max(1, metrics.Scale(face.UnderlineThickness()));
    const int underline_top = metrics.Ascent() - metrics.Scale(face.UnderlinePosition()) - underline_size / 2;
    const int strikeout_size = std::max(1, metrics.Scale(face.StrikeoutSize()));
    const int strikeout_top = metrics.Ascent() - metrics.Scale(face.StrikeoutPosition());

    std::vector<cairo_glyph_t> glyphs;
    for (const TextRun& run : text.runs) {
        glyphs.clear();
        const double baseline = run.at.Y + metrics.Ascent();
        int x = run.at.X;
        for (const char c : run.text) {
            const auto byte = static_cast<unsigned char>(c);
            glyphs.push_back({face.GlyphIndex(byte), static_cast<double>(x), baseline});
            x += metrics.CharWidth(byte);
        }
        cairo_show_glyphs(cr_, glyphs.data(), static_cast<int>(glyphs.size()));
        if (style.contains(TFontStyle::fsUnderline)) fill(cr_, run.at.X, run.at.Y + underline_top, run.width, underline_size);
        if (style.contains(TFontStyle::fsStrikeOut)) fill(cr_, run.at.X, run.at.Y + strikeout_top, run.width, strikeout_size);
        for (const std::size_t i : run.marked) {
            const auto byte = static_cast<unsigned char>(run.text[i]);
            const int left = run.at.X + metrics.TextWidth(run.text.substr(0, i));
            fill(cr_, left, run.at.Y + underline_top, metrics.CharWidth(byte), underline_size);
        }
    }
}
