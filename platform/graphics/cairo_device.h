#pragma once

#include <map>

#include "platform/graphics/canvas_device.h"

struct _cairo;
using cairo_t = _cairo;
struct _cairo_font_face;
using cairo_font_face_t = _cairo_font_face;
class FontFace;

// Draws a canvas's calls with cairo, one unit of the context's user space per device pixel. Figures
// and one-pixel lines run along pixel centres so that the pixels they paint are the ones the target
// paints, crisp at any anti-aliasing; texts are the FreeType faces of the text metrics, each glyph
// placed at the whole-pixel advance the metrics report.
class CairoDevice : public CanvasDevice {
public:
    // Draws on `context` (not owned), whose area is `bounds`.
    CairoDevice(cairo_t* context, TRect bounds);
    ~CairoDevice() override;
    CairoDevice(const CairoDevice&) = delete;
    CairoDevice& operator=(const CairoDevice&) = delete;

    TRect Bounds() const override { return bounds_; }
    void Line(TPoint from, TPoint to, const TPen& pen, const TRect& clip) override;
    void Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void RoundRect(const TRect& rect, TSize corner, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void FillRect(const TRect& rect, const TBrush& brush, const TRect& clip) override;
    void Text(const TextDrawing& text, const TRect& clip) override;

private:
    void fill_and_outline(const TPen& pen, const TBrush& brush);
    cairo_font_face_t* font_face(const FontFace& face);

    cairo_t* cr_;
    TRect bounds_;
    std::map<const FontFace*, cairo_font_face_t*> faces_;
};
