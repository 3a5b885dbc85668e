#pragma once

#include <string>
#include <vector>

#include "platform/graphics/canvas_device.h"
#include "platform/graphics/svg_document.h"

// Writes a canvas's calls as the elements of an SVG document, to be searched and read as well as
// looked at: each text run is a <text> element in the font's family, its measured width held by
// textLength, so that a viewer with another face of the family keeps the boxes' layout; figures are
// <rect> and <ellipse>, connected lines of one pen one <path>, all on whole pixels. The pixels they
// cover are those the cairo back end paints (docs/canvas.md has the rules). A call's clip is written
// only when its drawing reaches beyond it; a call wholly outside its clip is left out.
class SvgDevice : public CanvasDevice {
public:
    SvgDevice(int width, int height);

    TRect Bounds() const override { return {0, 0, width_, height_}; }
    void Line(TPoint from, TPoint to, const TPen& pen, const TRect& clip) override;
    void Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void RoundRect(const TRect& rect, TSize corner, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void FillRect(const TRect& rect, const TBrush& brush, const TRect& clip) override;
    void Text(const TextDrawing& text, const TRect& clip) override;

    // The document; nothing may be drawn after it.
    std::string Finish();

private:
    // Lines drawn one after another, each from where the last ended, with one pen and one clip: they
    // become one path. One-pixel pens keep two path texts, the square-capped runs along the axes and
    // the butt-capped slanted segments, whose ends are not on whole pixels.
    struct Polyline {
        bool open = false;
        TPen pen;
        TRect clip;
        TPoint last;             // where the pen stands
        TPoint run_start;        // where the current leg of the axis run under way starts
        TPoint run_end;          // and where it ends
        int run_dx = 0, run_dy = 0;  // direction of its current leg, 0 when no run is under way
        bool run_turned = false;     // the run has a corner
        std::size_t run_at = 0;      // where the run starts in axis_path
        std::string axis_path;   // finished legs of axis runs
        std::string slanted_path;
        long long left = 0, top = 0, right = 0, bottom = 0;  // the pixels it may paint
    };

    void flush_lines();
    void start_axis_run(TPoint at);
    void end_axis_run();
    // `plain_corners`: the corner boxes a solid figure's inside leaves out; negative for a figure
    // whose inside is not its rectangle.
    void figure(const char* tag, std::string attributes, const TRect& rect, const TPen& pen, const TBrush& brush,
                const TRect& clip, TSize plain_corners);
    // Adds an element whose drawing covers `extent` (pixel grid, right and bottom exclusive).
    void place(const std::string& element, bool centred, long long left, long long top, long long right,
               long long bottom, const TRect& clip);
    const std::string& pen_class(const TPen& pen, const char* caps);
    const std::string& fill_class(TColor color);

    // An area known to show one colour: the inside of the last filled figure or rectangle, with what
    // has been drawn on it since. A fill of that colour that meets none of it changes no pixel and is
    // left out: the text cells that the canvas fills behind every text on a box of the same colour.
    struct PlainArea {
        bool valid = false;
        TColor colour = clWhite;
        TRect inside;
        TSize corners;                  // round corners of the figure not to be counted as inside
        std::vector<TRect> drawn_since;
    };
    bool changes_nothing(const TRect& fill, TColor colour) const;
    void mark_plain(const TRect& inside, TSize corners, TColor colour);

    int width_;
    int height_;
    SvgDocument document_;
    PlainArea plain_;
    Polyline lines_;
    std::string element_;  // scratch, kept to reuse its buffer
};
