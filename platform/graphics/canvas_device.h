#pragma once

#include <string_view>
#include <vector>

#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/graphics/drawing_tools.h"
#include "platform/graphics/text_metrics.h"

// One run of text to draw: its cell's top-left corner (device pixels) and its characters.
struct TextRun {
    TPoint at;
    std::string_view text;
    int width = 0;
    // Offsets in `text` of characters to underline (prefix marks of DrawText).
    std::vector<std::size_t> marked;
};

// Text as a canvas asks for it: the runs, placed, with everything they are drawn with.
struct TextDrawing {
    bool laid_out = false;         // false: TextOut; true: DrawText
    std::string_view source;       // the text as the caller gave it
    TRect rect;                    // DrawText's formatting rectangle (device pixels)
    unsigned flags = 0;            // DrawText's flags
    std::vector<TextRun> runs;
    const TFont* font = nullptr;
    const FontMetrics* metrics = nullptr;
    TBrush background;             // a solid brush fills each run's cell first
};

// Where a canvas's drawing goes. Every call comes resolved: device pixel coordinates (the canvas's
// origin applied), the pen, brush and font in force, and the clip rectangle (device pixels, never
// empty) to which the drawing is confined. The drawing rules of docs/canvas.md are the back end's
// to honour.
class CanvasDevice {
public:
    virtual ~CanvasDevice() = default;

    // The device's drawable area; a fresh canvas clips to it.
    virtual TRect Bounds() const = 0;

    // From `from` to `to`; a one-pixel line leaves the pixel at `to` unpainted.
    virtual void Line(TPoint from, TPoint to, const TPen& pen, const TRect& clip) = 0;
    // Figures inside `rect` (right and bottom exclusive), filled with the brush, outlined with the pen.
    virtual void Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) = 0;
    virtual void RoundRect(const TRect& rect, TSize corner, const TPen& pen, const TBrush& brush, const TRect& clip) = 0;
    virtual void Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) = 0;
    // Fills `rect` with the brush, no outline.
    virtual void FillRect(const TRect& rect, const TBrush& brush, const TRect& clip) = 0;
    virtual void Text(const TextDrawing& text, const TRect& clip) = 0;
};
