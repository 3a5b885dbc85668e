#pragma once

#include "diagram/auto_layout.h"
#include "diagram/diagram.h"

class DiagramScene;

// Automatic placement of a scene's boxes (diagram/auto_layout.h): each entity with its caption below it
// is one box, joined to others by its relationships; a free text without a place of its own is a box
// of its own. Call it on a scene at 100 % (before DiagramScene::zoom); the scene's diagram gives the
// relationships' ends.

// Whether the diagram leaves every entity at (0, 0), the place of an entity the file does not place.
bool needs_layout(const Diagram& diagram);

// Places every entity and every free text at (0, 0) by the engine `options` picks. With dot and up to
// 500 entities, lines that still run through a box they do not join are kept straight in up to three
// further layouts, the one that reads best kept (diagram/layout_measure.h).
void lay_out_scene(DiagramScene& scene, const Diagram& diagram, const LayoutOptions& options = {});
