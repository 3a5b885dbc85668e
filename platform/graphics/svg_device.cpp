#include "platform/graphics/svg_device.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/graphics/color.h"
#include "platform/graphics/font_face.h"
#include "platform/graphics/xml_text.h"

namespace {

std::string hex_colour(TColor color) {
    static constexpr char kDigits[] = "0123456789abcdef";
    const std::uint32_t rgb = ColorToRRGGBB(color);
    std::string out = "#";
    for (int shift = 20; shift >= 0; shift -= 4) out += kDigits[(rgb >> shift) & 0xF];
    // #rrggbb with pairs of equal digits is #rgb
    if (out[1] == out[2] && out[3] == out[4] && out[5] == out[6]) return {'#', out[1], out[3], out[5]};
    return out;
}

int sign(int v) { return (v > 0) - (v < 0); }

template <typename Lines>
void extend(Lines& p, long long left, long long top, long long right, long long bottom) {
    p.left = std::min(p.left, left);
    p.top = std::min(p.top, top);
    p.right = std::max(p.right, right);
    p.bottom = std::max(p.bottom, bottom);
}

void append_point(std::string& out, char command, long long x, long long y) {
    out += command;
    AppendSvgNumber(out, x);
    out += ' ';
    AppendSvgNumber(out, y);
}

void append_attribute(std::string& out, const char* name, long long value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendSvgNumber(out, value);
    out += '"';
}

void append_attribute(std::string& out, const char* name, double value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendSvgNumber(out, value);
    out += '"';
}

// A font name goes into the style sheet only when it cannot break out of its quotes; the families
// the text metrics serve all qualify.
bool plain_name(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '-';
    });
}

// The font's own name first (a viewer that has it draws the same widths, the faces being metric
// compatible), then the face that was measured, then the generic family of that face.
std::string font_families(const std::string& name, const std::string& face_family) {
    std::string out;
    if (plain_name(name)) out += "'" + name + "',";
    if (plain_name(face_family) && face_family != name) out += "'" + face_family + "',";
    if (face_family.find("Mono") != std::string::npos) out += "monospace";
    else if (face_family.find("Serif") != std::string::npos) out += "serif";
    else out += "sans-serif";
    return out;
}

}  // namespace

SvgDevice::SvgDevice(int width, int height) : width_(width), height_(height), document_(width, height) {}

const std::string& SvgDevice::pen_class(const TPen& pen, const char* caps) {
    std::string style = "fill:none;stroke:" + hex_colour(pen.Color());
    if (pen.DrawnWidth() != 1) style += ";stroke-width:" + std::to_string(pen.DrawnWidth());
    style += caps;
    return document_.Class(style);
}

const std::string& SvgDevice::fill_class(TColor color) { return document_.Class("fill:" + hex_colour(color)); }

// Beyond this many drawings on it the plain area is given up: checking a fill against them all would
// cost more than the fill.
constexpr std::size_t kMaxDrawnOnPlain = 32;

bool SvgDevice::changes_nothing(const TRect& fill, TColor colour) const {
    const PlainArea& plain = plain_;
    if (!plain.valid || ColorToRRGGBB(colour) != ColorToRRGGBB(plain.colour)) return false;
    const TRect& in = plain.inside;
    if (fill.Left < in.Left || fill.Top < in.Top || fill.Right > in.Right || fill.Bottom > in.Bottom) return false;
    const auto meets = [&](const TRect& r) { return !IsRectEmpty(IntersectRect(fill, r)); };
    const int cx = plain.corners.cx, cy = plain.corners.cy;
    if (cx > 0 && cy > 0) {
        const TRect corners[] = {{in.Left, in.Top, in.Left + cx, in.Top + cy}, {in.Right - cx, in.Top, in.Right, in.Top + cy},
                                 {in.Left, in.Bottom - cy, in.Left + cx, in.Bottom},
                                 {in.Right - cx, in.Bottom - cy, in.Right, in.Bottom}};
        for (const TRect& corner : corners)
            if (meets(corner)) return false;
    }
    for (const TRect& r : plain.drawn_since)
        if (meets(r)) return false;
    return true;
}

void SvgDevice::mark_plain(const TRect& inside, TSize corners, TColor colour) {
    plain_.valid = !IsRectEmpty(inside);
    plain_.inside = inside;
    plain_.corners = corners;
    plain_.colour = colour;
    plain_.drawn_since.clear();
}

void SvgDevice::place(const std::string& element, bool centred, long long left, long long top, long long right,
                      long long bottom, const TRect& clip) {
    if (right <= clip.Left || bottom <= clip.Top || left >= clip.Right || top >= clip.Bottom) return;
    if (plain_.valid) {
        if (plain_.drawn_since.size() == kMaxDrawnOnPlain) {
            plain_.valid = false;
        } else {
            const auto in_clip = [](long long v, int low, int high) { return static_cast<int>(std::clamp<long long>(v, low, high)); };
            plain_.drawn_since.push_back({in_clip(left, clip.Left, clip.Right), in_clip(top, clip.Top, clip.Bottom),
                                          in_clip(right, clip.Left, clip.Right), in_clip(bottom, clip.Top, clip.Bottom)});
        }
    }
    if (left >= clip.Left && top >= clip.Top && right <= clip.Right && bottom <= clip.Bottom)
        document_.Add(element, centred);
    else
        document_.AddClipped(element, centred, clip);
}

// ---------------------------------------------------------------------------------------------
// Lines

void SvgDevice::end_axis_run() {
    Polyline& p = lines_;
    if (p.run_dx == 0 && p.run_dy == 0) return;
    // A leg paints from its start up to the pixel before its end; with square caps the path stops on
    // the centre of that last pixel.
    const TPoint final{p.run_end.X - p.run_dx, p.run_end.Y - p.run_dy};
    const bool horizontal = p.run_dx != 0;
    p.run_dx = p.run_dy = 0;
    if (final != p.run_start) {
        p.axis_path += horizontal ? 'H' : 'V';
        AppendSvgNumber(p.axis_path, static_cast<long long>(horizontal ? final.X : final.Y));
    } else if (!p.run_turned) {
        // One pixel and no corner: a zero-length square-capped path is drawn differently from viewer
        // to viewer, a butt-capped stroke one pixel long is not.
        p.axis_path.resize(p.run_at);
        p.slanted_path += 'M';
        AppendSvgNumber(p.slanted_path, final.X - 0.5);
        p.slanted_path += ' ';
        AppendSvgNumber(p.slanted_path, static_cast<long long>(final.Y));
        p.slanted_path += "h1";
    }
    // else the square cap of the corner before covers the leg's one pixel
}

void SvgDevice::start_axis_run(TPoint at) {
    Polyline& p = lines_;
    p.run_at = p.axis_path.size();
    append_point(p.axis_path, 'M', at.X, at.Y);
    p.run_start = at;
    p.run_turned = false;
}

void SvgDevice::Line(TPoint from, TPoint to, const TPen& pen, const TRect& clip) {
    const int width = pen.DrawnWidth();
    if (width == 1 && from == to) return;  // a one-pixel line of no length paints nothing
    Polyline& p = lines_;
    if (p.open && (p.pen.Color() != pen.Color() || p.pen.DrawnWidth() != width || p.clip != clip || p.last != from))
        flush_lines();
    if (!p.open) {
        p.open = true;
        p.pen = pen;
        p.clip = clip;
        p.left = p.top = std::numeric_limits<long long>::max();
        p.right = p.bottom = std::numeric_limits<long long>::min();
        if (width > 1) append_point(p.axis_path, 'M', from.X, from.Y);
    }
    // The pixels the line may paint, to tell whether it stays inside its clip.
    if (width > 1) {
        const long long grow = width / 2;
        extend(p, std::min(from.X, to.X) - grow, std::min(from.Y, to.Y) - grow, std::max(from.X, to.X) + 1 + grow,
               std::max(from.Y, to.Y) + 1 + grow);
    } else if (from.X == to.X || from.Y == to.Y) {
        const TPoint end{to.X - sign(to.X - from.X), to.Y - sign(to.Y - from.Y)};  // the last pixel painted
        extend(p, std::min(from.X, end.X), std::min(from.Y, end.Y), std::max(from.X, end.X) + 1,
               std::max(from.Y, end.Y) + 1);
    } else {
        // The slanted stroke runs between the moved-back centres, half a pixel to either side.
        const double half = 0.5 / std::max(std::abs(to.X - from.X), std::abs(to.Y - from.Y));
        const double shift_x = 0.5 - (to.X - from.X) * half, shift_y = 0.5 - (to.Y - from.Y) * half;
        extend(p, static_cast<long long>(std::floor(std::min(from.X, to.X) + shift_x - 0.5)),
               static_cast<long long>(std::floor(std::min(from.Y, to.Y) + shift_y - 0.5)),
               static_cast<long long>(std::ceil(std::max(from.X, to.X) + shift_x + 0.5)),
               static_cast<long long>(std::ceil(std::max(from.Y, to.Y) + shift_y + 0.5)));
    }
    p.last = to;

    if (width > 1) {
        // The geometric pen: through the pixel centres, round ends, both ends painted. Each line is an
        // element of its own, as cairo strokes each one over the last.
        append_point(p.axis_path, 'L', to.X, to.Y);
        flush_lines();
        return;
    }
    const int dx = to.X - from.X, dy = to.Y - from.Y;
    if (dx != 0 && dy != 0) {
        // Slanted: the centre-to-centre segment moved back half a pixel along its major axis, as the
        // cairo back end draws it.
        end_axis_run();
        const double half = 0.5 / std::max(std::abs(dx), std::abs(dy));
        p.slanted_path += 'M';
        AppendSvgNumber(p.slanted_path, from.X - dx * half);
        p.slanted_path += ' ';
        AppendSvgNumber(p.slanted_path, from.Y - dy * half);
        p.slanted_path += 'L';
        AppendSvgNumber(p.slanted_path, to.X - dx * half);
        p.slanted_path += ' ';
        AppendSvgNumber(p.slanted_path, to.Y - dy * half);
        return;
    }
    const int sx = sign(dx), sy = sign(dy);
    if (p.run_dx == 0 && p.run_dy == 0) {
        start_axis_run(from);
    } else if (sx == -p.run_dx && sy == -p.run_dy) {
        // Turning back: the leg so far ends here and a new run starts on the turning pixel.
        end_axis_run();
        start_axis_run(from);
    } else if (sx != p.run_dx || sy != p.run_dy) {
        // A corner: the leg so far is complete up to it.
        if (p.run_dx != 0) {
            p.axis_path += 'H';
            AppendSvgNumber(p.axis_path, static_cast<long long>(from.X));
        } else {
            p.axis_path += 'V';
            AppendSvgNumber(p.axis_path, static_cast<long long>(from.Y));
        }
        p.run_start = from;
        p.run_turned = true;
    }
    p.run_dx = sx;
    p.run_dy = sy;
    p.run_end = to;
}

void SvgDevice::flush_lines() {
    Polyline& p = lines_;
    if (!p.open) return;
    end_axis_run();
    const bool wide = p.pen.DrawnWidth() > 1;
    if (!p.axis_path.empty()) {
        element_ = "<path class=\"";
        element_ += pen_class(p.pen, wide ? ";stroke-linecap:round;stroke-linejoin:round" : ";stroke-linecap:square");
        element_ += "\" d=\"" + p.axis_path + "\"/>";
        place(element_, true, p.left, p.top, p.right, p.bottom, p.clip);
    }
    if (!p.slanted_path.empty()) {
        element_ = "<path class=\"";
        element_ += pen_class(p.pen, "");
        element_ += "\" d=\"" + p.slanted_path + "\"/>";
        place(element_, true, p.left, p.top, p.right, p.bottom, p.clip);
    }
    p = Polyline{};
}

// ---------------------------------------------------------------------------------------------
// Figures

void SvgDevice::figure(const char* tag, std::string attributes, const TRect& rect, const TPen& pen,
                       const TBrush& brush, const TRect& clip, TSize plain_corners) {
    flush_lines();
    std::string style = brush.Paints() ? "fill:" + hex_colour(brush.Color()) : std::string("fill:none");
    style += ";stroke:" + hex_colour(pen.Color());
    if (pen.DrawnWidth() != 1) style += ";stroke-width:" + std::to_string(pen.DrawnWidth());
    element_ = "<";
    element_ += tag;
    element_ += " class=\"" + document_.Class(style) + '"';
    element_ += attributes;
    element_ += "/>";
    const long long grow = pen.DrawnWidth() / 2;
    place(element_, true, rect.Left - grow, rect.Top - grow, rect.Right + grow, rect.Bottom + grow, clip);
    if (brush.Paints() && plain_corners.cx >= 0) {
        // Inside the outline the brush's colour shows alone, but for the round corners.
        const int pen_reach = 1 + static_cast<int>(grow);
        const TRect inside{rect.Left + pen_reach, rect.Top + pen_reach, rect.Right - pen_reach, rect.Bottom - pen_reach};
        const TSize corners{std::max(0, plain_corners.cx - pen_reach), std::max(0, plain_corners.cy - pen_reach)};
        mark_plain(IntersectRect(inside, clip), corners, brush.Color());
    }
}

void SvgDevice::Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) {
    if (IsRectEmpty(rect)) return;
    // The outline runs through the centres of the outermost pixels.
    std::string attributes;
    append_attribute(attributes, "x", static_cast<long long>(rect.Left));
    append_attribute(attributes, "y", static_cast<long long>(rect.Top));
    append_attribute(attributes, "width", static_cast<long long>(RectWidth(rect) - 1));
    append_attribute(attributes, "height", static_cast<long long>(RectHeight(rect) - 1));
    if (RectWidth(rect) == 1 || RectHeight(rect) == 1) {
        // An outline of no width is no <rect> in SVG. cairo strokes it as a line between the end
        // pixels' centres, its turns flat: a butt-capped line; of one pixel, nothing.
        flush_lines();
        if (RectWidth(rect) == 1 && RectHeight(rect) == 1) return;
        const long long grow = pen.DrawnWidth() / 2;
        element_ = "<path class=\"" + pen_class(pen, "") + "\" d=\"";
        append_point(element_, 'M', rect.Left, rect.Top);
        append_point(element_, 'L', rect.Right - 1, rect.Bottom - 1);
        element_ += "\"/>";
        place(element_, true, rect.Left - grow, rect.Top - grow, rect.Right + grow, rect.Bottom + grow, clip);
        return;
    }
    figure("rect", std::move(attributes), rect, pen, brush, clip, {0, 0});
}

void SvgDevice::RoundRect(const TRect& rect, TSize corner, const TPen& pen, const TBrush& brush, const TRect& clip) {
    if (IsRectEmpty(rect)) return;
    if (RectWidth(rect) == 1 || RectHeight(rect) == 1) return Rectangle(rect, pen, brush, clip);
    std::string attributes;
    append_attribute(attributes, "x", static_cast<long long>(rect.Left));
    append_attribute(attributes, "y", static_cast<long long>(rect.Top));
    append_attribute(attributes, "width", static_cast<long long>(RectWidth(rect) - 1));
    append_attribute(attributes, "height", static_cast<long long>(RectHeight(rect) - 1));
    // A corner ellipse w pixels wide has its outline w - 1 apart between pixel centres.
    const double rx = std::clamp((corner.cx - 1) / 2.0, 0.0, (RectWidth(rect) - 1) / 2.0);
    const double ry = std::clamp((corner.cy - 1) / 2.0, 0.0, (RectHeight(rect) - 1) / 2.0);
    if (rx > 0 && ry > 0) {
        append_attribute(attributes, "rx", rx);
        if (ry != rx) append_attribute(attributes, "ry", ry);
    }
    // The corner arcs keep within rx + 1/2 pixels of the figure's sides: pixels past that are inside.
    const TSize corners{static_cast<int>(std::ceil(rx + 0.5)), static_cast<int>(std::ceil(ry + 0.5))};
    figure("rect", std::move(attributes), rect, pen, brush, clip, corners);
}

void SvgDevice::Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush, const TRect& clip) {
    if (IsRectEmpty(rect)) return;
    const double rx = (RectWidth(rect) - 1) / 2.0, ry = (RectHeight(rect) - 1) / 2.0;
    std::string attributes;
    append_attribute(attributes, "cx", rect.Left + rx);
    append_attribute(attributes, "cy", rect.Top + ry);
    append_attribute(attributes, "rx", rx);
    append_attribute(attributes, "ry", ry);
    figure("ellipse", std::move(attributes), rect, pen, brush, clip, {-1, -1});  // not a plain area
}

void SvgDevice::FillRect(const TRect& area, const TBrush& brush, const TRect& clip) {
    // A filled rectangle is clipped exactly by cutting it down: no clip path.
    const TRect rect = IntersectRect(area, clip);
    if (!brush.Paints() || IsRectEmpty(rect)) return;
    flush_lines();
    if (changes_nothing(rect, brush.Color())) return;
    element_ = "<rect class=\"" + fill_class(brush.Color()) + '"';
    append_attribute(element_, "x", static_cast<long long>(rect.Left));
    append_attribute(element_, "y", static_cast<long long>(rect.Top));
    append_attribute(element_, "width", static_cast<long long>(RectWidth(rect)));
    append_attribute(element_, "height", static_cast<long long>(RectHeight(rect)));
    element_ += "/>";
    place(element_, false, rect.Left, rect.Top, rect.Right, rect.Bottom, clip);
    mark_plain(rect, {0, 0}, brush.Color());
}

// ---------------------------------------------------------------------------------------------
// Text

void SvgDevice::Text(const TextDrawing& text, const TRect& clip) {
    flush_lines();
    const FontMetrics& metrics = *text.metrics;
    const FontFace& face = metrics.Face();
    const TFontStyles style = text.font->Style();
    const auto bar = [&](const std::string& cls, long long left, long long top, long long width, long long height) {
        element_ = "<rect class=\"" + cls + '"';
        append_attribute(element_, "x", left);
        append_attribute(element_, "y", top);
        append_attribute(element_, "width", width);
        append_attribute(element_, "height", height);
        element_ += "/>";
        place(element_, false, left, top, left + width, top + height, clip);
    };

    if (text.background.Paints())
        for (const TextRun& run : text.runs) FillRect({run.at.X, run.at.Y, run.at.X + run.width, run.at.Y + metrics.Height()}, text.background, clip);
    if (metrics.PixelsPerEm() == 0) return;

    std::string font = "font-family:" + font_families(text.font->Name(), face.File().family) +
                       ";font-size:" + std::to_string(metrics.PixelsPerEm()) + "px";
    if (face.File().bold) font += ";font-weight:bold";
    if (face.File().italic) font += ";font-style:italic";
    font += ";fill:" + hex_colour(text.font->Color());
    const std::string& text_class = document_.Class(font);
    const std::string& bar_class = fill_class(text.font->Color());

    const int underline_size = std::max(1, metrics.Scale(face.UnderlineThickness()));
    const int underline_top = metrics.Ascent() - metrics.Scale(face.UnderlinePosition()) - underline_size / 2;
    const int strikeout_size = std::max(1, metrics.Scale(face.StrikeoutSize()));
    const int strikeout_top = metrics.Ascent() - metrics.Scale(face.StrikeoutPosition());

    for (const TextRun& run : text.runs) {
        if (run.width <= 0 || run.text.empty()) continue;
        element_ = "<text class=\"" + text_class + '"';
        append_attribute(element_, "x", static_cast<long long>(run.at.X));
        append_attribute(element_, "y", static_cast<long long>(run.at.Y) + metrics.Ascent());
        append_attribute(element_, "textLength", static_cast<long long>(run.width));
        element_ += '>';
        AppendXmlText(element_, run.text);
        element_ += "</text>";
        place(element_, false, run.at.X, run.at.Y, static_cast<long long>(run.at.X) + run.width,
              static_cast<long long>(run.at.Y) + metrics.Height(), clip);
        if (style.contains(TFontStyle::fsUnderline))
            bar(bar_class, run.at.X, static_cast<long long>(run.at.Y) + underline_top, run.width, underline_size);
        if (style.contains(TFontStyle::fsStrikeOut))
            bar(bar_class, run.at.X, static_cast<long long>(run.at.Y) + strikeout_top, run.width, strikeout_size);
        for (const std::size_t i : run.marked) {
            const auto byte = static_cast<unsigned char>(run.text[i]);
            bar(bar_class, static_cast<long long>(run.at.X) + metrics.TextWidth(run.text.substr(0, i)),
                static_cast<long long>(run.at.Y) + underline_top, metrics.CharWidth(byte), underline_size);
        }
    }
}

std::string SvgDevice::Finish() {
    flush_lines();
    return document_.Finish();
}
