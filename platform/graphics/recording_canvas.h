#pragma once

#include <string>
#include <vector>

#include "platform/graphics/canvas.h"

// The font of a recorded text, as it was when drawn.
struct RecordedFont {
    std::string name;
    int height = 0;
    TFontStyles style;
    TColor color = clBlack;
    friend bool operator==(const RecordedFont&, const RecordedFont&) = default;
};

// One text line as drawn: its cell's top-left corner and its characters.
struct RecordedLine {
    TPoint at;
    std::string text;
    int width = 0;
    friend bool operator==(const RecordedLine&, const RecordedLine&) = default;
};

// One drawing call with everything it was drawn with. Coordinates are device pixels (the canvas's
// origin applied), so what a child paints through a viewport shows where it lands.
struct RecordedCall {
    enum class Kind { LineTo, Rectangle, RoundRect, Ellipse, FillRect, TextOut, DrawText };

    Kind kind = Kind::LineTo;
    TPoint from, to;        // LineTo
    TRect rect;             // figures and FillRect; DrawText's rectangle; TextOut's cell
    TSize corner;           // RoundRect
    std::string text;       // TextOut and DrawText, as given
    unsigned flags = 0;     // DrawText
    std::vector<RecordedLine> lines;  // TextOut: one; DrawText: the lines it broke the text into
    TPen pen;
    TBrush brush;
    RecordedFont font;      // texts only
    TPoint origin;
    TRect clip;             // device pixels

    // One line, e.g. `Rectangle (0,0)-(100,50) pen $000000/1 brush $FFFFFF`; texts add their lines.
    std::string ToString() const;
};

// The device behind a RecordingCanvas: keeps every drawing call. Measuring calls draw nothing and
// are not kept; neither are MoveTo and calls wholly clipped away by the canvas.
class RecordingDevice : public CanvasDevice {
public:
    explicit RecordingDevice(TRect bounds) : bounds_(bounds) {}

    const std::vector<RecordedCall>& Calls() const { return calls_; }
    // Every call's ToString, one per line.
    std::string Transcript() const;
    void Clear() { calls_.clear(); }

    TRect Bounds() const override { return bounds_; }
    void Line(TPoint from, TPoint to, const TPen& pen, const TRect& clip) override;
    void Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void RoundRect(const TRect& rect, TSize corner, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) override;
    void FillRect(const TRect& rect, const TBrush& brush, const TRect& clip) override;
    void Text(const TextDrawing& text, const TRect& clip) override;

private:
    RecordedCall& add(RecordedCall::Kind kind, const TRect& clip);

    TRect bounds_;
    std::vector<RecordedCall> calls_;
};

namespace recording_detail {
struct DeviceHolder {
    explicit DeviceHolder(TRect bounds) : device(bounds) {}
    RecordingDevice device;
};
}  // namespace recording_detail

// A canvas that draws nothing and records every call: what tests assert on.
class RecordingCanvas : private recording_detail::DeviceHolder, public TCanvas {
public:
    // A canvas whose device covers `width` by `height` pixels from (0, 0); by default as much as the
    // largest picture the cairo back end draws.
    explicit RecordingCanvas(int width = 32767, int height = 32767, TextMetrics& metrics = TextMetrics::Shared());

    const std::vector<RecordedCall>& Calls() const { return device.Calls(); }
    std::string Transcript() const { return device.Transcript(); }
    void Clear() { device.Clear(); }
};
