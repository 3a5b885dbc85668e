#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/geometry.h"

// The frame of an SVG picture `width` by `height` pixels, one user unit a pixel: a style sheet whose
// classes are the distinct looks the elements ask for, the clip rectangles they need, and the
// elements in painting order. Element coordinates are whole pixels. Figures and lines are stroked
// along pixel centres, so they are written inside a group moved by half a pixel (the "centre space");
// texts and fills stay on the pixel grid. Classes and clips are numbered in order of first use, so
// the same drawing gives the same document.
class SvgDocument {
public:
    SvgDocument(int width, int height);

    // The class name for a block of CSS declarations ("fill:#fff;stroke:#000").
    const std::string& Class(const std::string& declarations);

    // Appends an element; `centred` puts it in the centre space, `clip` (pixel grid) confines it.
    void Add(std::string_view element, bool centred);
    void AddClipped(std::string_view element, bool centred, const TRect& clip);

    // The whole document.
    std::string Finish();

private:
    void enter_centre_space(bool centred);

    int width_;
    int height_;
    std::string body_;
    bool in_centre_space_ = false;
    std::map<std::string, std::string> classes_;
    std::string style_;  // the rules in order of first use
    std::map<std::tuple<int, int, int, int>, std::string> clips_;
    std::string clip_defs_;
};

// Appends a number of pixels: an integer as it is, a half as ".5" (corner radii, ellipse centres),
// anything else with at most three decimals.
void AppendSvgNumber(std::string& out, double value);
void AppendSvgNumber(std::string& out, long long value);
