#pragma once

// Points, sizes and rectangles in integer pixels, as the target's graphics interface has them. A
// rectangle's right and bottom edges are exclusive: (0, 0, 10, 5) covers columns 0..9 and rows 0..4.

struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};
struct TSize {
    int cx = 0, cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

inline constexpr int RectWidth(const TRect& r) { return r.Right - r.Left; }
inline constexpr int RectHeight(const TRect& r) { return r.Bottom - r.Top; }
inline constexpr bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
inline constexpr TRect OffsetRect(const TRect& r, int dx, int dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
// The common part of two rectangles; an empty rectangle (0,0,0,0) when they do not overlap.
inline constexpr TRect IntersectRect(const TRect& a, const TRect& b) {
    const TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
                  a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    return IsRectEmpty(r) ? TRect{} : r;
}
