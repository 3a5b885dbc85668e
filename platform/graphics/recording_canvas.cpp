#include "platform/graphics/recording_canvas.h"

#include <cstdio>

namespace {

const char* kind_name(RecordedCall::Kind kind) {
    switch (kind) {
        case RecordedCall::Kind::LineTo: return "LineTo";
        case RecordedCall::Kind::Rectangle: return "Rectangle";
        case RecordedCall::Kind::RoundRect: return "RoundRect";
        case RecordedCall::Kind::Ellipse: return "Ellipse";
        case RecordedCall::Kind::FillRect: return "FillRect";
        case RecordedCall::Kind::TextOut: return "TextOut";
        case RecordedCall::Kind::DrawText: return "DrawText";
    }
    return "?";
}

std::string show_color(TColor c) {
    char text[16];
    const auto bits = static_cast<unsigned>(c);
    std::snprintf(text, sizeof text, bits > 0xFFFFFF ? "$%08X" : "$%06X", bits);
    return text;
}

std::string show_point(TPoint p) { return "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")"; }

std::string show_rect(const TRect& r) { return show_point({r.Left, r.Top}) + "-" + show_point({r.Right, r.Bottom}); }

std::string show_pen(const TPen& p) { return "pen " + show_color(p.Color()) + "/" + std::to_string(p.Width()); }

std::string show_brush(const TBrush& b) { return b.Paints() ? "brush " + show_color(b.Color()) : std::string("brush clear"); }

std::string show_font(const RecordedFont& f) {
    std::string text = "font \"" + f.name + "\" " + std::to_string(f.height);
    if (f.style.contains(TFontStyle::fsBold)) text += " bold";
    if (f.style.contains(TFontStyle::fsItalic)) text += " italic";
    if (f.style.contains(TFontStyle::fsUnderline)) text += " underline";
    if (f.style.contains(TFontStyle::fsStrikeOut)) text += " strikeout";
    return text + " " + show_color(f.color);
}

}  // namespace

std::string RecordedCall::ToString() const {
    std::string text = kind_name(kind);
    switch (kind) {
        case Kind::LineTo: text += " " + show_point(from) + "-" + show_point(to) + " " + show_pen(pen); break;
        case Kind::Rectangle:
        case Kind::Ellipse: text += " " + show_rect(rect) + " " + show_pen(pen) + " " + show_brush(brush); break;
        case Kind::RoundRect:
            text += " " + show_rect(rect) + " corner " + std::to_string(corner.cx) + "x" + std::to_string(corner.cy) +
                    " " + show_pen(pen) + " " + show_brush(brush);
            break;
        case Kind::FillRect: text += " " + show_rect(rect) + " " + show_brush(brush); break;
        case Kind::TextOut:
            text += " " + show_rect(rect) + " \"" + this->text + "\" " + show_font(font) + " " + show_brush(brush);
            break;
        case Kind::DrawText: {
            char hex[16];
            std::snprintf(hex, sizeof hex, "$%04X", flags);
            text += " " + show_rect(rect) + " flags " + hex + " " + show_font(font) + " " + show_brush(brush);
            for (const RecordedLine& line : lines)
                text += "\n  " + show_point(line.at) + " \"" + line.text + "\" w" + std::to_string(line.width);
            break;
        }
    }
    return text;
}

std::string RecordingDevice::Transcript() const {
    std::string text;
    for (const RecordedCall& call : calls_) text += call.ToString() + "\n";
    return text;
}

RecordedCall& RecordingDevice::add(RecordedCall::Kind kind, const TRect& clip) {
    RecordedCall& call = calls_.emplace_back();
    call.kind = kind;
    call.clip = clip;
    return call;
}

void RecordingDevice::Line(TPoint from, TPoint to, const TPen& pen, const TRect& clip) {
    RecordedCall& call = add(RecordedCall::Kind::LineTo, clip);
    call.from = from;
    call.to = to;
    call.pen = pen;
}

void RecordingDevice::Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) {
    RecordedCall& call = add(RecordedCall::Kind::Rectangle, clip);
    call.rect = rect;
    call.pen = pen;
    call.brush = brush;
}

void RecordingDevice::RoundRect(const TRect& rect, TSize corner, const TPen& pen, const TBrush& brush, const TRect& clip) {
    RecordedCall& call = add(RecordedCall::Kind::RoundRect, clip);
    call.rect = rect;
    call.corner = corner;
    call.pen = pen;
    call.brush = brush;
}

void RecordingDevice::Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) {
    RecordedCall& call = add(RecordedCall::Kind::Ellipse, clip);
    call.rect = rect;
    call.pen = pen;
    call.brush = brush;
}

void RecordingDevice::FillRect(const TRect& rect, const TBrush& brush, const TRect& clip) {
    RecordedCall& call = add(RecordedCall::Kind::FillRect, clip);
    call.rect = rect;
    call.brush = brush;
}

void RecordingDevice::Text(const TextDrawing& text, const TRect& clip) {
    RecordedCall& call = add(text.laid_out ? RecordedCall::Kind::DrawText : RecordedCall::Kind::TextOut, clip);
    call.text = std::string(text.source);
    call.flags = text.flags;
    call.brush = text.background;
    call.font = {text.font->Name(), text.font->Height(), text.font->Style(), text.font->Color()};
    for (const TextRun& run : text.runs) call.lines.push_back({run.at, std::string(run.text), run.width});
    if (text.laid_out) {
        call.rect = text.rect;
    } else {
        const TextRun& run = text.runs.front();
        call.rect = {run.at.X, run.at.Y, run.at.X + run.width, run.at.Y + text.metrics->Height()};
    }
}

RecordingCanvas::RecordingCanvas(int width, int height, TextMetrics& metrics)
    : DeviceHolder(TRect{0, 0, width, height}), TCanvas(device, metrics) {}
