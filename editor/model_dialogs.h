#pragma once

#include <functional>
#include <string>

#include <gtk/gtk.h>

#include "editor/model_edits.h"

// The GTK dialogs that edit an entity, a relationship and a free text. Each runs until the user
// cancels or `apply` accepts the values: `apply` hands them to the document and returns the empty
// text, or the document's message when it refuses them; the dialog then shows the message and stays
// open with what the user typed, so nothing invalid reaches the diagram and nothing typed is lost.
bool run_entity_dialog(GtkWindow* parent, EntityFields fields, const std::function<std::string(const EntityFields&)>& apply);
bool run_relationship_dialog(GtkWindow* parent, RelationshipFields fields,
                             const std::function<std::string(const RelationshipFields&)>& apply);
// A free text or a caption: its text (several lines) and, for a free text, its font.
bool run_text_dialog(GtkWindow* parent, const std::string& title, std::string text, FontFields* font,
                     const std::function<std::string(const std::string&, const FontFields*)>& apply);
// A line of text asked for (Find); empty when cancelled.
std::string ask_line(GtkWindow* parent, const std::string& title, const std::string& label);
// Shows a text read-only in a window of its own, selectable for copying.
void show_text_window(GtkWindow* parent, const std::string& title, const std::string& text);
