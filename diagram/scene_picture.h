#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "diagram/diagram.h"
#include "platform/geometry.h"

class DiagramScene;
class TCanvas;

// A picture of a scene: the shapes' bounding box and a margin around it, on white, drawn by the shapes
// themselves (the surface paints them back to front): PNG and PDF on the cairo canvas, SVG on the SVG
// writer's (platform/graphics/svg_canvas.h).

enum class PictureFormat { png, svg, pdf };

// The format an output file's extension asks for (.png, .svg, .pdf, any letter case); none for another.
std::optional<PictureFormat> picture_format_of(const std::filesystem::path& file);

inline constexpr int kPictureMargin = 10;      // pixels around the shapes
inline constexpr int kMaxPictureSide = 32767;  // what the canvas takes
// A PNG is held in memory whole, four bytes a pixel: 100 million pixels take 400 MB.
inline constexpr std::int64_t kMaxPngPixels = 100'000'000;

// The area the picture shows, in surface coordinates: the shapes' bounds grown by the margin.
TRect picture_area(const DiagramScene& scene);

// Paints the picture of `area` onto `canvas`, whose top-left pixel shows the area's top-left corner.
void paint_scene(DiagramScene& scene, TCanvas& canvas, const TRect& area);

// How the picture draws the diagram: the faithful style (as the shapes draw themselves, on white) or
// the modern one (diagram/modern_painter.h), on white or dark.
struct PictureLook {
    DiagramStyle style = DiagramStyle::faithful;
    DiagramTheme theme = DiagramTheme::light;
};

// The picture's bytes. Throws std::runtime_error when it would be larger than the limits above (the
// message gives its size and suggests a smaller --zoom).
std::string draw_picture(DiagramScene& scene, PictureFormat format, const PictureLook& look = {});
