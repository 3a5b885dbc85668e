#pragma once

#include "diagram/diagram.h"
#include "platform/geometry.h"

class DiagramScene;
class TCanvas;

// The modern style of a picture, drawn from the scene's places and routes (so it lays out exactly as
// the faithful style does): group areas behind their entities, an entity's title on a band in the
// colour of its `Menu` group (or its own `colour`), PK and FK markers before the rows, type texts
// right-aligned, lines and frames as wide as the zoom makes them, on white or, in the dark theme, on
// a dark ground.
void paint_modern_scene(DiagramScene& scene, TCanvas& canvas, const TRect& area, DiagramTheme theme);

// What the modern style covers: the shapes' bounds and the group areas around them.
TRect modern_bounds(DiagramScene& scene);

// The band colour of the n-th `Menu` group, in order of first appearance (n from 0; the palette
// repeats); entities without a group take kUngroupedColour.
TColor group_colour(std::size_t n);
inline constexpr TColor kUngroupedColour = 0x806A55;  // slate blue, #556A80
