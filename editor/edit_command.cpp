// `kzr40 edit`: opens the window, or says why it cannot.

#include "editor/edit_command.h"

#include <memory>
#include <stdexcept>
#include <string>

#include <gtk/gtk.h>

#include "editor/editor_window.h"
#include "editor/diagram_editor.h"

namespace {

void run_edit(const std::string& file) {
    // The file first: a diagram that cannot be read is the message that helps, display or not.
    // A path that does not exist begins a new diagram that saves there.
    DiagramEditor editor(file, DiagramEditor::Missing::empty);
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* display = g_getenv("DISPLAY");
        const char* wayland = g_getenv("WAYLAND_DISPLAY");
        std::string why = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        if (display && *display) why = std::string("the display \"") + display + "\" cannot be reached";
        else if (wayland && *wayland) why = std::string("the display \"") + wayland + "\" cannot be reached";
        throw std::runtime_error(file + ": cannot open a window: " + why + "; kzr40 edit needs a graphical session");
    }
    run_editor_window(editor);
}

}  // namespace

void register_edit_command(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand(
        "edit",
        "Open a diagram, JSON or stored, in a window, or begin one at a path that does not exist: add and edit entities, "
        "attributes, keys and relationships, arrange, lay out, undo, save, export a picture");
    command
        ->add_option("FILE", *file,
                     "Diagram file: JSON (docs/diagram-format.md) or a stored diagram, binary or text "
                     "(docs/stored-diagrams.md), told apart by content; saved back in the same form. A path that does "
                     "not exist opens an empty diagram, saved as JSON for .json and as a stored diagram otherwise")
        ->required()
        ->check(CLI::Validator(
            [](std::string& value) {
                return value == "-" ? std::string("standard input cannot be edited: the editor saves back to the file it opened")
                                    : std::string();
            },
            "", "not_standard_input"));
    command->callback([file] { run_edit(*file); });
}
