#pragma once

#include "diagram/diagram.h"

// Entities of the placed diagram stand this far apart: a box of 5 rows is about 100 pixels square.
inline constexpr int kPlacedSpacing = 140;

// The synthetic diagram (5 attributes per entity) with its entities on a grid of `columns` columns,
// kPlacedSpacing apart from (20, 20), and one relationship per entity: i
// joins entity i to its right neighbour (even i) or to the one below it (odd i), wrapping round at the
// end; the cardinalities take turns.
Diagram placed_diagram(int entities, int columns);
