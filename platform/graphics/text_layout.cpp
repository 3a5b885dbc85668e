#include "platform/graphics/text_layout.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

void check_flags(unsigned flags) {
    if (flags & ~kDrawTextFlags) {
        char text[96];
        std::snprintf(text, sizeof text, "DrawText flag $%04X is not supported", flags & ~kDrawTextFlags);
        throw std::invalid_argument(text);
    }
}

// Prefix processing: the text as drawn and the positions of the marked characters.
void strip_prefixes(std::string_view text, std::string& out, std::vector<std::size_t>& marked) {
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        if (i + 1 == text.size()) break;  // a mark with nothing to mark draws nothing
        if (text[i + 1] != '&') marked.push_back(out.size());
        out += text[++i];
    }
}

class LineBreaker {
public:
    LineBreaker(TextLayout& layout, int width, const FontMetrics& metrics)
        : layout_(layout), text_(layout.text), width_(width), metrics_(metrics) {}

    void whole(std::size_t start, std::size_t end) { emit(start, end, span_width(start, end)); }

    // Breaks the hard line [start, end) at blanks.
    void wrapped(std::size_t start, std::size_t end) {
        std::size_t i = start;
        while (true) {
            const std::size_t line_start = i;
            // The first word (with any blanks before it) is always taken.
            std::size_t taken = skip_word(skip_blanks(i, end), end);
            int line_width = span_width(line_start, taken);
            std::size_t next = taken;
            while (true) {
                const std::size_t word = skip_blanks(taken, end);
                next = word;
                if (word == end) {
                    // Only blanks remain: they stay on the line if they fit, else they are the break.
                    const int w = line_width + span_width(taken, end);
                    if (w <= width_) {
                        taken = end;
                        line_width = w;
                    }
                    break;
                }
                const std::size_t word_end = skip_word(word, end);
                const int w = line_width + span_width(taken, word_end);
                if (w > width_) break;
                taken = word_end;
                line_width = w;
            }
            emit(line_start, taken, line_width);
            if (next >= end) return;
            i = next;  // the blanks at the break are dropped
        }
    }

private:
    std::size_t skip_blanks(std::size_t i, std::size_t end) const {
        while (i < end && text_[i] == ' ') ++i;
        return i;
    }
    std::size_t skip_word(std::size_t i, std::size_t end) const {
        while (i < end && text_[i] != ' ') ++i;
        return i;
    }
    int span_width(std::size_t start, std::size_t end) const {
        return metrics_.TextWidth(std::string_view(text_).substr(start, end - start));
    }
    void emit(std::size_t start, std::size_t end, int width) {
        layout_.lines.push_back({start, end - start, width});
        layout_.widest = std::max(layout_.widest, width);
    }

    TextLayout& layout_;
    const std::string& text_;
    int width_;
    const FontMetrics& metrics_;
};

}  // namespace

TextLayout LayOutText(std::string_view text, int width, unsigned flags, const FontMetrics& metrics) {
    check_flags(flags);
    TextLayout layout;
    if (flags & DT_NOPREFIX) layout.text.assign(text);
    else strip_prefixes(text, layout.text, layout.marked);

    LineBreaker breaker(layout, width, metrics);
    const std::string& s = layout.text;
    std::size_t start = 0;
    while (start < s.size()) {
        std::size_t end = s.find_first_of("\r\n", start);
        const std::size_t line_end = end == std::string::npos ? s.size() : end;
        if (flags & DT_WORDBREAK) breaker.wrapped(start, line_end);
        else breaker.whole(start, line_end);
        if (end == std::string::npos) break;
        start = end + ((s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n') ? 2 : 1);
    }
    return layout;
}
