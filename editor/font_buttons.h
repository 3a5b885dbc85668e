#pragma once

#include <gtk/gtk.h>

#include "editor/model_edits.h"
#include "platform/graphics.h"

// Buttons that show and change a diagram font and a colour. A diagram's font names are the Windows
// ones ("Arial", "Times New Roman", "Courier New"), which no Pango family carries: the button shows the
// diagram's own name and size, the chooser it opens offers the metric-compatible faces the diagram is
// drawn with, and the name stays the diagram's unless another family is picked. What the user does not
// change comes back exactly as it was given, system colours included.

// A font button with a colour button beside it (the font's colour); `font_of` reads both.
GtkWidget* font_control(const FontFields& font);
FontFields font_of(GtkWidget* control);

GtkWidget* colour_button(TColor colour);
TColor colour_of(GtkWidget* button);

// What the font button shows: "Arial Bold 8".
std::string font_label(const FontFields& font);
