#include "platform/graphics/canvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/graphics/color.h"

namespace {

// Figures take their rectangle with either corner first, as the target's figures do.
TRect normalized(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// Both back ends refuse an undrawable colour the same way: the canvas checks before it draws.
const TPen& drawable(const TPen& pen) {
    ColorToRRGGBB(pen.Color());
    return pen;
}
const TBrush& drawable(const TBrush& brush) {
    if (brush.Paints()) ColorToRRGGBB(brush.Color());
    return brush;
}

// Stands in for a device while a canvas only measures: nothing is inside it, so nothing is drawn.
class MeasuringDevice final : public CanvasDevice {
public:
    TRect Bounds() const override { return {}; }
    void Line(TPoint, TPoint, const TPen&, const TRect&) override {}
    void Rectangle(const TRect&, const TPen&, const TBrush&, const TRect&) override {}
    void RoundRect(const TRect&, TSize, const TPen&, const TBrush&, const TRect&) override {}
    void Ellipse(const TRect&, const TPen&, const TBrush&, const TRect&) override {}
    void FillRect(const TRect&, const TBrush&, const TRect&) override {}
    void Text(const TextDrawing&, const TRect&) override {}
};

MeasuringDevice& measuring_device() {
    static MeasuringDevice device;  // stateless, so one serves every canvas and thread
    return device;
}

}  // namespace

TCanvas::TCanvas(CanvasDevice& device, TextMetrics& metrics)
    : device_(&device), metrics_(metrics), clip_(device.Bounds()) {}

TCanvas::TCanvas(TextMetrics& metrics) : TCanvas(measuring_device(), metrics) {}

void TCanvas::BindDevice(CanvasDevice& device, TPoint origin, const TRect& device_clip) {
    device_ = &device;
    origin_ = origin;
    clip_ = IntersectRect(device_clip, device.Bounds());
}

void TCanvas::UnbindDevice() {
    device_ = &measuring_device();
    origin_ = {};
    clip_ = {};
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = pen_pos_;
    pen_pos_ = {x, y};
    if (!clipped_out()) device_->Line(to_device(from), to_device(pen_pos_), drawable(pen_), clip_);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (!clipped_out()) device_->Rectangle(to_device(normalized(left, top, right, bottom)), drawable(pen_), drawable(brush_), clip_);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int corner_width, int corner_height) {
    if (!clipped_out())
        device_->RoundRect(to_device(normalized(left, top, right, bottom)),
                          {std::abs(corner_width), std::abs(corner_height)}, drawable(pen_), drawable(brush_), clip_);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (!clipped_out()) device_->Ellipse(to_device(normalized(left, top, right, bottom)), drawable(pen_), drawable(brush_), clip_);
}

void TCanvas::FillRect(const TRect& r) {
    if (!clipped_out()) device_->FillRect(to_device(r), drawable(brush_), clip_);
}

const FontMetrics& TCanvas::CurrentFontMetrics() {
    if (!font_metrics_ || font_.Height() != metrics_height_ || font_.Style() != metrics_style_ ||
        font_.Name() != metrics_name_) {
        font_metrics_ = &metrics_.Measure(font_);
        metrics_name_ = font_.Name();
        metrics_height_ = font_.Height();
        metrics_style_ = font_.Style();
    }
    return *font_metrics_;
}

int TCanvas::TextWidth(std::string_view text) { return CurrentFontMetrics().TextWidth(text); }

int TCanvas::TextHeight(std::string_view) { return CurrentFontMetrics().Height(); }

TSize TCanvas::TextExtent(std::string_view text) {
    const FontMetrics& m = CurrentFontMetrics();
    return {m.TextWidth(text), m.Height()};
}

TextDrawing TCanvas::text_drawing(std::string_view source) const {
    ColorToRRGGBB(font_.Color());
    TextDrawing drawing;
    drawing.source = source;
    drawing.font = &font_;
    drawing.metrics = font_metrics_;
    drawing.background = drawable(brush_);
    return drawing;
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    const FontMetrics& m = CurrentFontMetrics();
    const int width = m.TextWidth(text);
    if (!clipped_out()) {
        TextDrawing drawing = text_drawing(text);
        drawing.runs.push_back({to_device(TPoint{x, y}), text, width, {}});
        device_->Text(drawing, clip_);
    }
    pen_pos_ = {x + width, y};
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
    const FontMetrics& m = CurrentFontMetrics();
    const TextLayout layout = LayOutText(text, RectWidth(rect), flags, m);
    const int height = static_cast<int>(layout.lines.size()) * m.Height();
    if (flags & DT_CALCRECT) {
        rect.Right = rect.Left + layout.widest;
        rect.Bottom = rect.Top + height;
        return height;
    }
    const TRect clip = (flags & DT_NOCLIP) ? clip_ : IntersectRect(clip_, to_device(rect));
    if (layout.lines.empty() || IsRectEmpty(clip)) return height;

    TextDrawing drawing = text_drawing(text);
    drawing.laid_out = true;
    drawing.rect = to_device(rect);
    drawing.flags = flags;
    auto marked = layout.marked.begin();
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const LaidOutLine& line = layout.lines[i];
        int x = rect.Left;
        if (flags & DT_CENTER) x = (rect.Left + rect.Right - line.width) / 2;
        else if (flags & DT_RIGHT) x = rect.Right - line.width;
        TextRun run{to_device(TPoint{x, rect.Top + static_cast<int>(i) * m.Height()}), layout.Line(i), line.width, {}};
        while (marked != layout.marked.end() && *marked < line.start + line.length) {
            if (*marked >= line.start) run.marked.push_back(*marked - line.start);
            ++marked;
        }
        drawing.runs.push_back(std::move(run));
    }
    device_->Text(drawing, clip);
    return height;
}

TCanvasViewport::TCanvasViewport(TCanvas& canvas, const TRect& bounds)
    : canvas_(canvas), saved_origin_(canvas.Origin()), saved_clip_(canvas.DeviceClipRect()) {
    canvas.IntersectClipRect(bounds);
    canvas.SetOrigin({saved_origin_.X + bounds.Left, saved_origin_.Y + bounds.Top});
}

TCanvasViewport::~TCanvasViewport() {
    canvas_.SetOrigin(saved_origin_);
    canvas_.SetDeviceClipRect(saved_clip_);
}
