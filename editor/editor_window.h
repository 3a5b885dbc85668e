#pragma once

class DiagramEditor;

// Shows `editor`'s diagram in a GTK window until the user closes it. GTK must be initialised.
// Automation: with KZR40_EDIT_READY naming a file, the window writes "X Y" there once it is first
// drawn: the screen position of the diagram's top-left pixel (docs/editor.md).
void run_editor_window(DiagramEditor& editor);
