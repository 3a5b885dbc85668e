#pragma once

#include "platform/graphics.h"

// The pen outlines figures and draws lines: a colour and a width in pixels. A width below 1 draws
// as 1, as the target's cosmetic pens do; it is kept as set so that a stored value reads back.
class TPen {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width; }
    // The width lines are drawn with.
    int DrawnWidth() const { return width_ < 1 ? 1 : width_; }
    friend bool operator==(const TPen&, const TPen&) = default;

private:
    TColor color_ = clBlack;
    int width_ = 1;
};

enum class TBrushStyle { bsSolid, bsClear };

// The brush fills figures and stands behind text: a colour, solid or clear (nothing filled, text
// drawn transparently). As on the target, giving a clear brush a colour makes it solid.
class TBrush {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) {
        color_ = color;
        style_ = TBrushStyle::bsSolid;
    }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { style_ = style; }
    bool Paints() const { return style_ == TBrushStyle::bsSolid; }
    friend bool operator==(const TBrush&, const TBrush&) = default;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};
