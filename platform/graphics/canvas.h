#pragma once

#include <string>
#include <string_view>

#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/graphics/canvas_device.h"
#include "platform/graphics/drawing_tools.h"
#include "platform/graphics/text_layout.h"
#include "platform/graphics/text_metrics.h"

// A drawing surface as the shapes see it: a pen, a brush, a font, a pen position, and the target's
// drawing operations in logical coordinates. An origin maps logical (0, 0) onto a device pixel and a
// clip rectangle confines the drawing, so that a parent can let a child paint at the child's own
// origin inside the child's bounds (TCanvasViewport). Several canvases may share one device, each
// with its own pen, brush, font and origin, as the target's controls each have their own canvas.
//
// The drawing rules (docs/canvas.md): LineTo leaves its end pixel unpainted; figures cover their
// rectangle with the right and bottom edges exclusive, outlined with the pen and filled with the
// brush; text is drawn in the font's colour on its cell filled with the brush (nothing when the
// brush is clear). Measuring and drawing use one text-metrics service.
class TCanvas {
public:
    explicit TCanvas(CanvasDevice& device, TextMetrics& metrics = TextMetrics::Shared());
    // A canvas that only measures until it is bound to a device (a control's canvas between paints).
    explicit TCanvas(TextMetrics& metrics = TextMetrics::Shared());
    virtual ~TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    const TPen& Pen() const { return pen_; }
    const TBrush& Brush() const { return brush_; }
    const TFont& Font() const { return font_; }

    TPoint PenPos() const { return pen_pos_; }
    void SetPenPos(TPoint p) { pen_pos_ = p; }
    void MoveTo(int x, int y) { pen_pos_ = {x, y}; }
    // A line from the pen position to (x, y), which becomes the pen position.
    void LineTo(int x, int y);

    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // A rectangle whose corners are quarter ellipses `corner_width` by `corner_height` big.
    void RoundRect(int left, int top, int right, int bottom, int corner_width, int corner_height);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);

    // Draws `text` (Windows-1252) with its cell's top-left corner at (x, y); the pen position moves
    // to (x + text width, y).
    void TextOut(int x, int y, std::string_view text);
    int TextWidth(std::string_view text);
    // The height of a line of the font (tmHeight), whatever the text.
    int TextHeight(std::string_view text);
    TSize TextExtent(std::string_view text);
    // Draws `text` into `rect` as the target's DrawText does, with the DT_* flags of text_layout.h:
    // lines from the top, aligned left, centred or right, clipped to `rect` unless DT_NOCLIP. With
    // DT_CALCRECT nothing is drawn and `rect` becomes as wide as the widest line and as high as the
    // lines. Returns the height of the text.
    int DrawText(std::string_view text, TRect& rect, unsigned flags);

    // The metrics of the current font.
    const FontMetrics& CurrentFontMetrics();

    // The device pixel where logical (0, 0) lies.
    TPoint Origin() const { return origin_; }
    void SetOrigin(TPoint device_point) { origin_ = device_point; }
    // The clip rectangle in device pixels, and in logical coordinates.
    const TRect& DeviceClipRect() const { return clip_; }
    void SetDeviceClipRect(const TRect& device_rect) { clip_ = IntersectRect(device_rect, device_->Bounds()); }
    TRect ClipRect() const { return OffsetRect(clip_, -origin_.X, -origin_.Y); }
    // Narrows the clip to `r` (logical coordinates).
    void IntersectClipRect(const TRect& r) { clip_ = IntersectRect(clip_, to_device(r)); }

    CanvasDevice& Device() { return *device_; }
    // Draws onto `device` from now on, with logical (0, 0) at `origin` and the clip `device_clip`
    // (device pixels, narrowed to the device); the pen, brush, font and pen position stay.
    void BindDevice(CanvasDevice& device, TPoint origin, const TRect& device_clip);
    // Back to measuring only: drawing calls draw nothing.
    void UnbindDevice();
    TextMetrics& Metrics() { return metrics_; }

private:
    TPoint to_device(TPoint p) const { return {p.X + origin_.X, p.Y + origin_.Y}; }
    TRect to_device(const TRect& r) const { return OffsetRect(r, origin_.X, origin_.Y); }
    bool clipped_out() const { return IsRectEmpty(clip_); }
    TextDrawing text_drawing(std::string_view source) const;

    CanvasDevice* device_;
    TextMetrics& metrics_;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint pen_pos_;
    TPoint origin_;
    TRect clip_;

    // The metrics of the font they were looked up for, so that repeated measuring costs no look-up.
    const FontMetrics* font_metrics_ = nullptr;
    std::string metrics_name_;
    int metrics_height_ = 0;
    TFontStyles metrics_style_;
};

// Lets a child paint at its own origin inside its bounds: moves the canvas's origin to the top-left
// corner of `bounds` (logical coordinates of the canvas as it stands) and narrows the clip to
// `bounds`; both come back when the viewport goes. The pen, brush and font are the child's affair.
class TCanvasViewport {
public:
    TCanvasViewport(TCanvas& canvas, const TRect& bounds);
    ~TCanvasViewport();
    TCanvasViewport(const TCanvasViewport&) = delete;
    TCanvasViewport& operator=(const TCanvasViewport&) = delete;

private:
    TCanvas& canvas_;
    TPoint saved_origin_;
    TRect saved_clip_;
};
