#include "platform/graphics/svg_document.h"

#include <charconv>
#include <cmath>

void AppendSvgNumber(std::string& out, long long value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

void AppendSvgNumber(std::string& out, double value) {
    const double rounded = std::round(value * 1000) / 1000;
    if (rounded == std::trunc(rounded)) return AppendSvgNumber(out, static_cast<long long>(rounded));
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 3).ptr;
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    while (text.back() == '0') text.remove_suffix(1);
    if (text.starts_with("0.")) text.remove_prefix(1);
    else if (text.starts_with("-0.")) {
        out += '-';
        text.remove_prefix(2);
    }
    out += text;
}

SvgDocument::SvgDocument(int width, int height) : width_(width), height_(height) {}

const std::string& SvgDocument::Class(const std::string& declarations) {
    auto [slot, added] = classes_.try_emplace(declarations);
    if (added) {
        slot->second = "c" + std::to_string(classes_.size() - 1);
        style_ += '.' + slot->second + '{' + declarations + "}\n";
    }
    return slot->second;
}

void SvgDocument::enter_centre_space(bool centred) {
    if (centred == in_centre_space_) return;
    body_ += centred ? "<g transform=\"translate(.5 .5)\">\n" : "</g>\n";
    in_centre_space_ = centred;
}

void SvgDocument::Add(std::string_view element, bool centred) {
    enter_centre_space(centred);
    body_ += element;
    body_ += '\n';
}

void SvgDocument::AddClipped(std::string_view element, bool centred, const TRect& clip) {
    auto [slot, added] = clips_.try_emplace(std::tuple{clip.Left, clip.Top, clip.Right, clip.Bottom});
    if (added) {
        slot->second = "k" + std::to_string(clips_.size() - 1);
        clip_defs_ += "<clipPath id=\"" + slot->second + "\"><rect x=\"" + std::to_string(clip.Left) + "\" y=\"" +
                      std::to_string(clip.Top) + "\" width=\"" + std::to_string(RectWidth(clip)) + "\" height=\"" +
                      std::to_string(RectHeight(clip)) + "\"/></clipPath>\n";
    }
    // The clip is given on the pixel grid, so the group that applies it stands outside the centre space.
    enter_centre_space(false);
    body_ += "<g clip-path=\"url(#" + slot->second + ")\">";
    if (centred) body_ += "<g transform=\"translate(.5 .5)\">";
    body_ += element;
    if (centred) body_ += "</g>";
    body_ += "</g>\n";
}

std::string SvgDocument::Finish() {
    enter_centre_space(false);
    const std::string w = std::to_string(width_), h = std::to_string(height_);
    std::string out;
    out.reserve(body_.size() + style_.size() + clip_defs_.size() + 400);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w +
           " " + h + "\" xml:space=\"preserve\">\n";
    if (!style_.empty()) out += "<style>\n" + style_ + "</style>\n";
    if (!clip_defs_.empty()) out += "<defs>\n" + clip_defs_ + "</defs>\n";
    out += body_;
    out += "</svg>\n";
    return out;
}
