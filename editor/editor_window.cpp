// The GTK window of `kzr40 edit`: a menu bar over a scrollable drawing area. It only forwards: mouse
// events to the surface (surface_input.h), commands to the document (editor/diagram_editor.h).

#include "editor/editor_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <vector>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <tuple>

#include <gtk/gtk.h>

#include "editor/model_dialogs.h"
#include "editor/surface_input.h"
#include "editor/diagram_editor.h"
#include "diagram/json_writer.h"
#include "diagram/type_texts.h"
#include "model/relacionamento.h"
#include "model/texto.h"
#include "platform/utf8_cp1252.h"
#include "platform/components/diagram_surface.h"

namespace {

struct Window {
    DiagramEditor* editor;
    SurfaceInput input;
    std::unique_ptr<DiagramEditor> owned{};  // a diagram opened or begun in the window
    GtkWidget* window = nullptr;
    GtkWidget* scroller = nullptr;
    GtkWidget* area = nullptr;
    GtkWidget* undo_item = nullptr;
    GtkWidget* redo_item = nullptr;
    GtkAccelGroup* accelerators = nullptr;
    TCursor cursor = crDefault;
    bool ready_written = false;
    double pending_scroll = 0;  // smooth Ctrl + scrolling short of a zoom step
    std::optional<std::pair<double, double>> scroll_to{};  // the view's place once a zoom is laid out
    GtkWidget* tool_button = nullptr;  // the relationship tool
    GtkWidget* cardinality = nullptr;  // of the relationships the tool draws
    std::optional<std::size_t> relationship_start{};  // the entity the tool was pressed on
    bool handed_over = false;  // the surface got the press a shape handed on
};

// GTK shows UTF-8 only; a file name or a message may carry other bytes, which become replacement
// characters instead of a warning and a truncated text.
std::string utf8(const std::string& text) {
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

void show_message(Window& w, GtkMessageType type, const std::string& text) {
    GtkWidget* dialog = gtk_message_dialog_new(GTK_WINDOW(w.window), GTK_DIALOG_MODAL, type, GTK_BUTTONS_CLOSE, "%s",
                                               utf8(text).c_str());
    // A title says what kind of message it is in a task bar, and lets a script find the dialog.
    gtk_window_set_title(GTK_WINDOW(dialog), type == GTK_MESSAGE_ERROR ? "Error \u2014 KZR40" : "KZR40");
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

bool ask(Window& w, const std::string& text) {
    GtkWidget* dialog = gtk_message_dialog_new(GTK_WINDOW(w.window), GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                               GTK_BUTTONS_YES_NO, "%s", utf8(text).c_str());
    const int answer = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return answer == GTK_RESPONSE_YES;
}

// The window's state after a command or a gesture: title, undo and redo, the surface's size, and
// what needs painting.
void refresh(Window& w, bool everything) {
    gtk_window_set_title(GTK_WINDOW(w.window), utf8(w.editor->title()).c_str());
    gtk_widget_set_sensitive(w.undo_item, w.editor->can_undo());
    gtk_widget_set_sensitive(w.redo_item, w.editor->can_redo());
    TDiagramSurface& surface = w.editor->surface();
    // X11 windows end at 32767 pixels; what lies beyond (a huge diagram at a high zoom) cannot be
    // scrolled to, but the window stays sound.
    constexpr int kMaxSide = 32767;
    const int wanted_width = std::min(surface.Width(), kMaxSide), wanted_height = std::min(surface.Height(), kMaxSide);
    int width = 0, height = 0;
    gtk_widget_get_size_request(w.area, &width, &height);
    if (width != wanted_width || height != wanted_height) gtk_widget_set_size_request(w.area, wanted_width, wanted_height);
    if (everything) {
        gtk_widget_queue_draw(w.area);
    } else if (const TRect& r = surface.InvalidRect(); !IsRectEmpty(r)) {
        gtk_widget_queue_draw_area(w.area, r.Left, r.Top, RectWidth(r), RectHeight(r));
    }
}

// What a command's repaint covers: the whole view, or what its shapes invalidated, for the commands
// that change the shapes in place. A new scene (undo, or a command that failed) and the modern style,
// whose group areas follow every box of a group, paint it all.
enum class Repaint { all, damaged };

// Runs a command of the document; a failure is shown and the diagram stays as it was in memory.
void run_command(Window& w, const std::function<void()>& command, Repaint repaint = Repaint::all) {
    // A drag in progress ends where it is before the command replaces or changes the shapes.
    w.input.Cancel(w.editor->surface());
    const TDiagramSurface* surface = &w.editor->surface();
    try {
        w.editor->commit();
        command();
    } catch (const std::exception& e) {
        show_message(w, GTK_MESSAGE_ERROR, e.what());
        repaint = Repaint::all;
    }
    refresh(w, repaint == Repaint::all || &w.editor->surface() != surface ||
                   w.editor->diagram().style == DiagramStyle::modern);
}

// Saves; returns whether the file was written.
bool save(Window& w) {
    bool saved = false;
    run_command(w, [&] {
        try {
            w.editor->save();
            saved = true;
        } catch (const FileChangedError& e) {
            if (ask(w, std::string(e.what()) + ".\nSave this diagram over it anyway?")) {
                w.editor->save(true);
                saved = true;
            }
        }
    });
    return saved;
}

void export_picture(Window& w) {
    GtkWidget* dialog = gtk_file_chooser_dialog_new("Export picture", GTK_WINDOW(w.window), GTK_FILE_CHOOSER_ACTION_SAVE,
                                                    "_Cancel", GTK_RESPONSE_CANCEL, "_Export", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    const std::string stem = w.editor->file().stem().string() + ".png";
    gtk_file_chooser_set_current_name(chooser, stem.c_str());
    std::string picture;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar* name = gtk_file_chooser_get_filename(chooser);
        if (name) picture = name;
        g_free(name);
    }
    gtk_widget_destroy(dialog);
    if (!picture.empty()) run_command(w, [&] { w.editor->export_picture(picture); });
}

// Closing: unsaved changes are saved, dropped or kept open, as the user says.
bool may_close(Window& w) {
    w.input.Cancel(w.editor->surface());
    w.editor->commit();
    if (!w.editor->dirty()) return true;
    GtkWidget* dialog = gtk_message_dialog_new(GTK_WINDOW(w.window), GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING, GTK_BUTTONS_NONE,
                                               "%s has unsaved changes. Save them before closing?",
                                               utf8(w.editor->file().filename().string()).c_str());
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), "Close _without saving", GTK_RESPONSE_REJECT, "_Cancel",
                           GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    const int answer = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    if (answer == GTK_RESPONSE_REJECT) return true;
    if (answer == GTK_RESPONSE_ACCEPT) return save(w);
    return false;
}

// The scroll bars of the view.
GtkAdjustment* horizontal(Window& w) { return gtk_scrolled_window_get_hadjustment(GTK_SCROLLED_WINDOW(w.scroller)); }
GtkAdjustment* vertical(Window& w) { return gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(w.scroller)); }

void apply_scroll(Window& w) {
    if (!w.scroll_to) return;
    gtk_adjustment_set_value(horizontal(w), w.scroll_to->first);
    gtk_adjustment_set_value(vertical(w), w.scroll_to->second);
}

// A file name asked for with GTK's chooser, starting in `folder` when given; empty when cancelled.
std::string choose_file(Window& w, const char* title, GtkFileChooserAction action, const char* accept,
                        const std::string& suggested = {}, const std::filesystem::path& folder = {}) {
    GtkWidget* dialog = gtk_file_chooser_dialog_new(title, GTK_WINDOW(w.window), action, "_Cancel", GTK_RESPONSE_CANCEL, accept,
                                                    GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    if (action == GTK_FILE_CHOOSER_ACTION_SAVE) gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    if (!suggested.empty()) gtk_file_chooser_set_current_name(chooser, suggested.c_str());
    if (std::error_code error; !folder.empty() && std::filesystem::is_directory(folder, error))
        gtk_file_chooser_set_current_folder(chooser, folder.c_str());
    std::string chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar* name = gtk_file_chooser_get_filename(chooser);
        if (name) chosen = name;
        g_free(name);
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

// Another diagram in the window, once the one shown may go.
void replace_diagram(Window& w, const std::string& file, DiagramEditor::Missing missing) {
    if (file.empty() || !may_close(w)) return;
    try {
        auto next = std::make_unique<DiagramEditor>(file, missing);
        w.input.Cancel(w.editor->surface());
        w.owned = std::move(next);  // the diagram shown before goes here, after its surface let go
        w.editor = w.owned.get();
        GtkAllocation viewport;
        gtk_widget_get_allocation(w.scroller, &viewport);
        w.editor->set_viewport(viewport.width, viewport.height);
    } catch (const std::exception& e) {
        show_message(w, GTK_MESSAGE_ERROR, e.what());
    }
    refresh(w, true);
}

void new_diagram(Window& w) {
    const std::string file = choose_file(w, "New diagram", GTK_FILE_CHOOSER_ACTION_SAVE, "_Create", "new.json");
    // A file there stays until the new diagram is saved over it (Save asks again then).
    replace_diagram(w, file, DiagramEditor::Missing::replace);
}

void open_diagram(Window& w) {
    replace_diagram(w, choose_file(w, "Open diagram", GTK_FILE_CHOOSER_ACTION_OPEN, "_Open"), DiagramEditor::Missing::refuse);
}

void save_as(Window& w) {
    const std::string file = choose_file(w, "Save diagram as", GTK_FILE_CHOOSER_ACTION_SAVE, "_Save",
                                         w.editor->file().filename().string());
    if (!file.empty()) run_command(w, [&] { w.editor->save_as(file); });
}

// The document's refusal as the dialogs show it: empty when accepted.
template <typename Edit>
std::string attempt(Window& w, Edit edit) {
    w.input.Cancel(w.editor->surface());
    try {
        w.editor->commit();
        edit();
    } catch (const std::exception& e) {
        refresh(w, true);
        return e.what();
    }
    refresh(w, true);
    return {};
}

bool edit_entity(Window& w, std::size_t index) {
    return run_entity_dialog(GTK_WINDOW(w.window), w.editor->entity(index),
                             [&](const EntityFields& f) { return attempt(w, [&] { w.editor->set_entity(index, f); }); });
}

void edit_relationship(Window& w, std::size_t index) {
    run_relationship_dialog(GTK_WINDOW(w.window), w.editor->relationship(index),
                            [&](const RelationshipFields& f) { return attempt(w, [&] { w.editor->set_relationship(index, f); }); });
}

void edit_text(Window& w, std::size_t index) {
    const DiagramText& t = w.editor->diagram().texts.at(index);
    FontFields font = t.font ? font_fields(*t.font) : FontFields{};
    run_text_dialog(GTK_WINDOW(w.window), "Free text", utf8(cp1252_to_utf8(t.text)), &font,
                    [&](const std::string& text, const FontFields* chosen) {
                        return attempt(w, [&] { w.editor->set_text(index, text, *chosen); });
                    });
}

void edit_caption(Window& w, std::size_t entity) {
    const auto& caption = w.editor->diagram().entities.at(entity).caption;
    FontFields font = caption && caption->font ? font_fields(*caption->font) : font_fields(*new_caption_font());
    run_text_dialog(GTK_WINDOW(w.window), "Caption (empty: none)", caption ? utf8(cp1252_to_utf8(caption->text)) : std::string(),
                    &font, [&](const std::string& text, const FontFields* chosen) {
                        return attempt(w, [&] {
                            w.editor->set_entity_caption(entity, text.empty() ? std::nullopt : std::optional<std::string>(text),
                                                         chosen);
                        });
                    });
}

// The middle of the visible part of the surface, where commands from the menu put what they add.
TPoint view_middle(Window& w) {
    return {static_cast<int>(gtk_adjustment_get_value(horizontal(w)) + gtk_adjustment_get_page_size(horizontal(w)) / 3),
            static_cast<int>(gtk_adjustment_get_value(vertical(w)) + gtk_adjustment_get_page_size(vertical(w)) / 3)};
}

// Where a key adds a shape: at the pointer when it is over the visible diagram, as a double click
// would; chosen from the menu (the pointer on the menu), in the view.
TPoint where_to_add(Window& w) {
    GdkEvent* event = gtk_get_current_event();
    const bool by_key = event && event->type == GDK_KEY_PRESS;
    if (event) gdk_event_free(event);
    GdkWindow* area = gtk_widget_get_window(w.area);
    if (!by_key || !area) return view_middle(w);
    gint x = 0, y = 0;
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gtk_widget_get_display(w.area)));
    gdk_window_get_device_position(area, pointer, &x, &y, nullptr);
    const auto within = [](gint v, GtkAdjustment* a) {
        return v >= gtk_adjustment_get_value(a) && v < gtk_adjustment_get_value(a) + gtk_adjustment_get_page_size(a);
    };
    return within(x, horizontal(w)) && within(y, vertical(w)) ? TPoint{x, y} : view_middle(w);
}

void add_entity_at(Window& w, TPoint at) {
    std::optional<std::size_t> added;
    run_command(w, [&] { added = w.editor->add_entity(at); });
    // Cancelled at once: the entity just placed goes again, as if never added.
    if (added && !edit_entity(w, *added)) run_command(w, [&] { w.editor->undo(); });
}

void add_text_at(Window& w, TPoint at) {
    std::optional<std::size_t> added;
    run_command(w, [&] { added = w.editor->add_text(at, "Text"); });
    if (added) edit_text(w, *added);
}

// The properties of what is selected, or of the shape under `at`: the one dialog that fits.
void edit_selected(Window& w) {
    if (auto e = w.editor->selected_entities(); !e.empty()) {
        edit_entity(w, e.front());
        return;
    }
    if (auto r = w.editor->selected_relationships(); !r.empty()) return edit_relationship(w, r.front());
    if (auto t = w.editor->selected_texts(); !t.empty()) return edit_text(w, t.front());
    if (auto c = w.editor->selected_entity_captions(); !c.empty()) return edit_caption(w, c.front());
    if (auto c = w.editor->selected_relationship_captions(); !c.empty()) return edit_relationship(w, c.front());
}

void delete_selected(Window& w) { run_command(w, [&] { w.editor->delete_selection(); }, Repaint::damaged); }

void brings_into_view(Window& w, const TControl& shape) {
    gtk_adjustment_set_value(horizontal(w), std::max(0, shape.Left() - 40));
    gtk_adjustment_set_value(vertical(w), std::max(0, shape.Top() - 40));
}

void find_entity(Window& w) {
    const std::string text = ask_line(GTK_WINDOW(w.window), "Find entity", "Name or table contains:");
    if (text.empty()) return;
    std::optional<std::size_t> found;
    run_command(w, [&] { found = w.editor->find_entity(text); });
    if (!found) return show_message(w, GTK_MESSAGE_INFO, "No entity's name or table holds \"" + text + "\".");
    brings_into_view(w, w.editor->scene().entity(*found));
}

// View ▸ Fit: the zoom stop at which the whole diagram fits the view.
void fit(Window& w) {
    const TRect b = w.editor->scene().bounds();
    if (IsRectEmpty(b)) return;
    const double page_w = gtk_adjustment_get_page_size(horizontal(w)), page_h = gtk_adjustment_get_page_size(vertical(w));
    const double scale = std::min(page_w / std::max(b.Right + 20, 1), page_h / std::max(b.Bottom + 20, 1));
    const int wanted = static_cast<int>(w.editor->zoom() * scale);
    int stop = DiagramEditor::kZoomStops[0];
    for (int z : DiagramEditor::kZoomStops)
        if (z <= wanted) stop = z;
    run_command(w, [&] { w.editor->set_zoom(stop); });
    w.scroll_to = std::pair{0.0, 0.0};
    apply_scroll(w);
}

// Runs this program's own command on the diagram as it stands (written to a scratch file), so the
// window shows what the command line would give. Returns standard output, and in `warnings` what it
// said besides; throws with its message.
std::string run_own_command(Window& w, std::vector<std::string> arguments, std::string* warnings = nullptr) {
    gchar* folder = g_dir_make_tmp("kzr40-edit-XXXXXX", nullptr);
    if (!folder) throw std::runtime_error("cannot make a scratch folder");
    const std::string scratch = std::string(folder) + "/" + w.editor->file().stem().string() + ".json";
    g_free(folder);
    struct Cleanup {
        std::string file;
        ~Cleanup() {
            std::error_code error;
            std::filesystem::remove_all(std::filesystem::path(file).parent_path(), error);
        }
    } cleanup{scratch};
    {
        std::ofstream out(scratch, std::ios::binary);
        out << diagram_to_json(w.editor->diagram(), scratch);
        if (!out) throw std::runtime_error(scratch + ": cannot write");
    }
    std::vector<std::string> all{"/proc/self/exe"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    for (std::string& a : all)
        if (a == "@FILE") a = scratch;
    std::vector<gchar*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    gchar* out = nullptr;
    gchar* err = nullptr;
    gint status = 0;
    GError* error = nullptr;
    if (!g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, &out, &err, &status, &error)) {
        std::string why = error ? error->message : "cannot run";
        g_clear_error(&error);
        throw std::runtime_error(why);
    }
    std::string output = out ? out : "", messages = err ? err : "";
    g_free(out);
    g_free(err);
    // The scratch file stands for the diagram in the messages.
    for (std::size_t at; (at = messages.find(scratch)) != std::string::npos;) messages.replace(at, scratch.size(), w.editor->file().string());
    if (!g_spawn_check_wait_status(status, nullptr)) throw std::runtime_error(messages.empty() ? "the command failed" : messages);
    if (warnings) *warnings = messages;
    return output;
}

// The script `kzr40 sql` writes: the plug-in's for a database kind (`--kind`), or a dialect's.
struct SqlChoice {
    const char* label;
    const char* option;  // "--kind" or "--dialect"
    const char* value;
};
constexpr SqlChoice kSqlChoices[] = {
    {"The plug-in's script: _Paradox", "--kind", "paradox"}, {"The plug-in's script: _dBase", "--kind", "dbase"},
    {"The plug-in's script: _Oracle", "--kind", "oracle"},   {"_SQLite", "--dialect", "sqlite"},
    {"Post_greSQL", "--dialect", "postgresql"},              {"_MySQL / MariaDB", "--dialect", "mysql"}};

void show_sql(Window& w, const SqlChoice& choice) {
    std::string script;
    run_command(w, [&] { script = run_own_command(w, {"sql", "@FILE", choice.option, choice.value}); });
    // The plug-in's scripts are Windows-1252, as the plug-in writes them; the dialects' are UTF-8.
    if (!g_utf8_validate(script.data(), static_cast<gssize>(script.size()), nullptr)) script = cp1252_to_utf8(script);
    const std::string what = std::string(choice.option) == "--kind" ? std::string("plug-in, ") + choice.value : choice.value;
    if (!script.empty())
        show_text_window(GTK_WINDOW(w.window), "SQL (" + what + ") — " + w.editor->file().filename().string(), script);
}

// The application's targets, as `kzr40 generate --target` names them.
constexpr std::pair<const char*, const char*> kTargets[] = {{"for _Delphi 5…", "delphi5"}, {"for _Lazarus…", "lazarus"}};

void generate_application(Window& w, const std::string& target) {
    // The chooser starts beside the diagram, where its application usually goes.
    std::error_code error;
    const std::filesystem::path beside = std::filesystem::absolute(w.editor->file(), error).parent_path();
    const std::string folder = choose_file(w, ("Generate the " + target + " application into").c_str(),
                                           GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Generate", {}, beside);
    if (folder.empty()) return;
    bool done = false;
    std::string warnings;
    run_command(w, [&] {
        run_own_command(w, {"generate", "@FILE", "--dir", folder, "--target", target}, &warnings);
        done = true;
    });
    // The review's warnings, as the command line prints them, go with the news.
    if (done)
        show_message(w, warnings.empty() ? GTK_MESSAGE_INFO : GTK_MESSAGE_WARNING,
                     "The " + target + " application was written to " + folder + "." + (warnings.empty() ? "" : "\n\n" + warnings));
}

// Zooms so that the diagram's point under `anchor` (drawing-area coordinates) stays where it is on
// the screen: the pointer for the wheel, the middle of the view for the keys.
void zoom_at(Window& w, const std::function<void()>& zoom, std::optional<std::pair<double, double>> anchor = {}) {
    const double x0 = gtk_adjustment_get_value(horizontal(w)), y0 = gtk_adjustment_get_value(vertical(w));
    const auto [ax, ay] = anchor.value_or(std::pair{x0 + gtk_adjustment_get_page_size(horizontal(w)) / 2,
                                                    y0 + gtk_adjustment_get_page_size(vertical(w)) / 2});
    const int before = w.editor->zoom();
    run_command(w, zoom);
    if (w.editor->zoom() == before) return;
    const double ratio = static_cast<double>(w.editor->zoom()) / before;
    w.scroll_to = std::pair{ax * ratio - (ax - x0), ay * ratio - (ay - y0)};
    apply_scroll(w);  // again once the drawing area has its new size (on_area_size)
}

// Menus.

struct Item {
    Window* window;
    std::function<void(Window&)> action;
};

void on_item(GtkMenuItem*, gpointer data) {
    auto* item = static_cast<Item*>(data);
    item->action(*item->window);
}

void free_item(gpointer data, GClosure*) { delete static_cast<Item*>(data); }

GtkWidget* add_item(Window& w, GtkWidget* menu, const char* label, std::function<void(Window&)> action,
                    std::initializer_list<std::pair<guint, GdkModifierType>> keys = {}) {
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(label);
    g_signal_connect_data(item, "activate", G_CALLBACK(on_item), new Item{&w, std::move(action)}, free_item, GConnectFlags{});
    for (const auto& [key, modifiers] : keys)
        gtk_widget_add_accelerator(item, "activate", w.accelerators, key, modifiers, GTK_ACCEL_VISIBLE);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    return item;
}

GtkWidget* add_menu(GtkWidget* shell, const char* label) {
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(label);
    GtkWidget* menu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), menu);
    gtk_menu_shell_append(GTK_MENU_SHELL(shell), item);
    return menu;
}

const std::pair<const char*, tmodo> kModes[] = {
    {"tmAtributo: attributes", tmodo::tmAtributo}, {"tmEsquema: attributes and types", tmodo::tmEsquema},
    {"tmChave: keys", tmodo::tmChave},             {"tmEntidade: name only", tmodo::tmEntidade},
    {"tmdelete", tmodo::tmdelete},                 {"tmTabela: table", tmodo::tmTabela},
    {"tmload", tmodo::tmload}};

GtkWidget* build_menus(Window& w) {
    constexpr auto ctrl = GDK_CONTROL_MASK;
    constexpr auto ctrl_shift = static_cast<GdkModifierType>(GDK_CONTROL_MASK | GDK_SHIFT_MASK);
    GtkWidget* bar = gtk_menu_bar_new();

    GtkWidget* file = add_menu(bar, "_File");
    add_item(w, file, "_New…", new_diagram, {{GDK_KEY_n, ctrl}});
    add_item(w, file, "_Open…", open_diagram, {{GDK_KEY_o, ctrl}});
    add_item(w, file, "_Save", [](Window& w) { save(w); }, {{GDK_KEY_s, ctrl}});
    add_item(w, file, "Save _as…", save_as, {{GDK_KEY_s, ctrl_shift}});
    gtk_menu_shell_append(GTK_MENU_SHELL(file), gtk_separator_menu_item_new());
    add_item(w, file, "_Export picture…", export_picture, {{GDK_KEY_e, ctrl}});
    GtkWidget* sql_item = gtk_menu_item_new_with_mnemonic("Show S_QL");
    GtkWidget* sql = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(sql_item), sql);
    gtk_menu_shell_append(GTK_MENU_SHELL(file), sql_item);
    for (const SqlChoice& choice : kSqlChoices) {
        if (&choice == &kSqlChoices[3]) gtk_menu_shell_append(GTK_MENU_SHELL(sql), gtk_separator_menu_item_new());
        add_item(w, sql, choice.label, [&choice](Window& w) { show_sql(w, choice); });
    }
    GtkWidget* generate_item = gtk_menu_item_new_with_mnemonic("_Generate application");
    GtkWidget* generate = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(generate_item), generate);
    gtk_menu_shell_append(GTK_MENU_SHELL(file), generate_item);
    for (const auto& [label, target] : kTargets) {
        const std::string t = target;
        add_item(w, generate, label, [t](Window& w) { generate_application(w, t); });
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(file), gtk_separator_menu_item_new());
    add_item(w, file, "_Close", [](Window& w) { if (may_close(w)) gtk_widget_destroy(w.window); },
             {{GDK_KEY_w, ctrl}, {GDK_KEY_q, ctrl}});

    GtkWidget* edit = add_menu(bar, "_Edit");
    w.undo_item = add_item(w, edit, "_Undo", [](Window& w) { run_command(w, [&] { w.editor->undo(); }); }, {{GDK_KEY_z, ctrl}});
    w.redo_item = add_item(w, edit, "_Redo", [](Window& w) { run_command(w, [&] { w.editor->redo(); }); },
                           {{GDK_KEY_z, ctrl_shift}, {GDK_KEY_y, ctrl}});
    gtk_menu_shell_append(GTK_MENU_SHELL(edit), gtk_separator_menu_item_new());
    add_item(w, edit, "_Properties…", edit_selected, {{GDK_KEY_Return, GDK_MOD1_MASK}});
    add_item(w, edit, "_Delete", delete_selected, {{GDK_KEY_Delete, GdkModifierType(0)}});
    add_item(w, edit, "Select _none", [](Window& w) { run_command(w, [&] { w.editor->clear_selection(); }); });
    add_item(w, edit, "_Find entity…", find_entity, {{GDK_KEY_f, ctrl}});

    GtkWidget* view = add_menu(bar, "_View");
    add_item(w, view, "Zoom _in", [](Window& w) { zoom_at(w, [&] { w.editor->zoom_by(1); }); },
             {{GDK_KEY_plus, ctrl}, {GDK_KEY_equal, ctrl}, {GDK_KEY_KP_Add, ctrl}});
    add_item(w, view, "Zoom _out", [](Window& w) { zoom_at(w, [&] { w.editor->zoom_by(-1); }); },
             {{GDK_KEY_minus, ctrl}, {GDK_KEY_KP_Subtract, ctrl}});
    add_item(w, view, "Zoom _100 %", [](Window& w) { zoom_at(w, [&] { w.editor->set_zoom(100); }); }, {{GDK_KEY_0, ctrl}});
    add_item(w, view, "_Fit", fit, {{GDK_KEY_f, ctrl_shift}});
    gtk_menu_shell_append(GTK_MENU_SHELL(view), gtk_separator_menu_item_new());
    for (bool selected : {false, true}) {
        GtkWidget* item = gtk_menu_item_new_with_mnemonic(selected ? "Display mode of the _selection" : "Display _mode of all entities");
        GtkWidget* modes = gtk_menu_new();
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), modes);
        gtk_menu_shell_append(GTK_MENU_SHELL(view), item);
        for (const auto& [label, mode] : kModes) {
            const tmodo m = mode;
            add_item(w, modes, label, [m, selected](Window& w) { run_command(w, [&] { w.editor->set_mode(m, selected); }); });
        }
    }
    GtkWidget* types_item = gtk_menu_item_new_with_mnemonic("_Type texts");
    GtkWidget* types = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(types_item), types);
    gtk_menu_shell_append(GTK_MENU_SHELL(view), types_item);
    add_item(w, types, "Program types (KZR40)",
             [](Window& w) { run_command(w, [&] { w.editor->set_type_texts(default_type_texts()); }); });
    add_item(w, types, "SQL column types", [](Window& w) { run_command(w, [&] { w.editor->set_type_texts(kSqlTypeTexts); }); });
    GtkWidget* style_item = gtk_menu_item_new_with_mnemonic("_Style");
    GtkWidget* styles = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(style_item), styles);
    gtk_menu_shell_append(GTK_MENU_SHELL(view), style_item);
    for (const auto& [label, style, theme] : {std::tuple{"_Faithful", DiagramStyle::faithful, DiagramTheme::light},
                                              std::tuple{"_Modern", DiagramStyle::modern, DiagramTheme::light},
                                              std::tuple{"Modern, _dark", DiagramStyle::modern, DiagramTheme::dark}}) {
        const DiagramStyle s = style;
        const DiagramTheme t = theme;
        add_item(w, styles, label, [s, t](Window& w) { run_command(w, [&] { w.editor->set_style(s, t); }); });
    }

    GtkWidget* diagram = add_menu(bar, "_Diagram");
    add_item(w, diagram, "Add _entity", [](Window& w) { add_entity_at(w, where_to_add(w)); }, {{GDK_KEY_Insert, GdkModifierType(0)}});
    add_item(w, diagram, "Add free _text", [](Window& w) { add_text_at(w, where_to_add(w)); }, {{GDK_KEY_t, ctrl}});
    add_item(w, diagram, "_Relationship tool",
             [](Window& w) {
                 GtkToggleToolButton* b = GTK_TOGGLE_TOOL_BUTTON(w.tool_button);
                 gtk_toggle_tool_button_set_active(b, !gtk_toggle_tool_button_get_active(b));
             },
             {{GDK_KEY_r, GdkModifierType(0)}});
    add_item(w, diagram, "Entity _caption…", [](Window& w) {
        if (auto e = w.editor->selected_entities(); !e.empty()) edit_caption(w, e.front());
    });
    gtk_menu_shell_append(GTK_MENU_SHELL(diagram), gtk_separator_menu_item_new());
    add_item(w, diagram, "Automatic _layout", [](Window& w) { run_command(w, [&] { w.editor->lay_out(); }); }, {{GDK_KEY_l, ctrl}});
    return bar;
}

void on_tool_toggled(GtkToggleToolButton* button, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    w.relationship_start.reset();
    if (gtk_toggle_tool_button_get_active(button)) w.input.Cancel(w.editor->surface());
    GdkWindow* gdk_window = gtk_widget_get_window(w.area);
    if (!gdk_window) return;
    GdkCursor* cross = gtk_toggle_tool_button_get_active(button)
                           ? gdk_cursor_new_from_name(gtk_widget_get_display(w.area), "crosshair")
                           : nullptr;
    gdk_window_set_cursor(gdk_window, cross);
    w.cursor = crDefault;
    if (cross) g_object_unref(cross);
}

GtkWidget* build_toolbar(Window& w) {
    GtkWidget* bar = gtk_toolbar_new();
    gtk_toolbar_set_style(GTK_TOOLBAR(bar), GTK_TOOLBAR_TEXT);
    GtkToolItem* add = gtk_tool_button_new(nullptr, "Add entity");
    g_signal_connect_swapped(add, "clicked", G_CALLBACK(+[](Window* w) { add_entity_at(*w, view_middle(*w)); }), &w);
    gtk_toolbar_insert(GTK_TOOLBAR(bar), add, -1);
    GtkToolItem* tool = gtk_toggle_tool_button_new();
    gtk_tool_button_set_label(GTK_TOOL_BUTTON(tool), "Relationship (R)");
    w.tool_button = GTK_WIDGET(tool);
    g_signal_connect(tool, "toggled", G_CALLBACK(on_tool_toggled), &w);
    gtk_toolbar_insert(GTK_TOOLBAR(bar), tool, -1);
    GtkToolItem* holder = gtk_tool_item_new();
    w.cardinality = gtk_combo_box_text_new();
    for (const char* c : {"1 : 1 (tr1x1)", "1 : n (tr1xn)", "0 : 1 (tr0x1)", "0 : n (tr0xn)"})
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(w.cardinality), c);
    gtk_combo_box_set_active(GTK_COMBO_BOX(w.cardinality), 1);
    gtk_widget_set_can_focus(w.cardinality, FALSE);
    gtk_container_add(GTK_CONTAINER(holder), w.cardinality);
    gtk_toolbar_insert(GTK_TOOLBAR(bar), holder, -1);
    return bar;
}

// The drawing area.

void show_cursor(Window& w) {
    const TCursor cursor = w.editor->surface().ShownCursor();
    if (cursor == w.cursor) return;
    w.cursor = cursor;
    GdkWindow* gdk_window = gtk_widget_get_window(w.area);
    if (!gdk_window) return;
    GdkCursor* shown = nullptr;
    if (const char* name = CursorName(cursor)) shown = gdk_cursor_new_from_name(gtk_widget_get_display(w.area), name);
    gdk_window_set_cursor(gdk_window, shown);  // null: the parent's arrow
    if (shown) g_object_unref(shown);
}

TPoint point_of(const GdkEventButton& event) { return {static_cast<int>(std::floor(event.x)), static_cast<int>(std::floor(event.y))}; }

// The shape under a point is selected alone, unless it is selected already (a context menu acts on
// the selection it was opened on).
void select_under(Window& w, TPoint at) {
    DiagramEditor& e = *w.editor;
    if (auto i = e.entity_at(at)) {
        if (!e.scene().entity(*i).Selected()) e.clear_selection(), e.scene().entity(*i).SetSelected(true);
    } else if (auto t = e.text_at(at)) {
        if (!e.scene().text(*t).Selected()) e.clear_selection(), e.scene().text(*t).SetSelected(true);
    } else if (auto c = e.entity_caption_at(at)) {
        if (!e.scene().entity_caption(*c)->Selected()) e.clear_selection(), e.scene().entity_caption(*c)->SetSelected(true);
    } else if (auto c = e.relationship_caption_at(at)) {
        if (!e.scene().relationship_caption(*c)->Selected())
            e.clear_selection(), e.scene().relationship_caption(*c)->SetSelected(true);
    } else if (auto r = e.relationship_at(at)) {
        if (!e.scene().relationship(*r).Selected()) e.clear_selection(), e.scene().relationship(*r).SetSelected(true);
    }
}

void context_menu(Window& w, GdkEvent* event) {
    w.input.Cancel(w.editor->surface());
    const TPoint at = point_of(event->button);
    select_under(w, at);
    refresh(w, true);
    GtkWidget* menu = gtk_menu_new();
    const bool any = !w.editor->selected_entities().empty() || !w.editor->selected_relationships().empty() ||
                     !w.editor->selected_texts().empty() || !w.editor->selected_entity_captions().empty() ||
                     !w.editor->selected_relationship_captions().empty();
    gtk_widget_set_sensitive(add_item(w, menu, "_Properties…", edit_selected), any);
    gtk_widget_set_sensitive(add_item(w, menu, "_Delete", delete_selected), any);
    gtk_widget_set_sensitive(add_item(w, menu, "_Caption…", [](Window& w) {
                                 if (auto e = w.editor->selected_entities(); !e.empty()) edit_caption(w, e.front());
                             }),
                             !w.editor->selected_entities().empty());
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
    add_item(w, menu, "Add _entity here", [at](Window& w) { add_entity_at(w, at); });
    add_item(w, menu, "Add free _text here", [at](Window& w) { add_text_at(w, at); });
    gtk_widget_show_all(menu);
    g_signal_connect(menu, "deactivate", G_CALLBACK(+[](GtkWidget* m, gpointer) {
                         g_idle_add([](gpointer m) -> gboolean { gtk_widget_destroy(GTK_WIDGET(m)); return FALSE; }, m);
                     }), nullptr);
    gtk_menu_popup_at_pointer(GTK_MENU(menu), event);
}

// The relationship tool: press on the start entity, release on the end one (the same: a self-relationship).
gboolean relationship_tool(Window& w, GdkEvent* event) {
    if (event->type == GDK_BUTTON_PRESS && event->button.button == 1) {
        w.relationship_start = w.editor->entity_at(point_of(event->button));
    } else if (event->type == GDK_BUTTON_RELEASE && event->button.button == 1 && w.relationship_start) {
        const std::size_t from = *w.relationship_start;
        w.relationship_start.reset();
        if (const auto to = w.editor->entity_at(point_of(event->button))) {
            const auto relacao = static_cast<trelacao>(std::max(gtk_combo_box_get_active(GTK_COMBO_BOX(w.cardinality)), 0));
            run_command(w, [&] { w.editor->add_relationship(from, *to, relacao); }, Repaint::damaged);
        }
    }
    return TRUE;
}

gboolean on_pointer(GtkWidget*, GdkEvent* event, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    if (event->type == GDK_BUTTON_PRESS) gtk_widget_grab_focus(w.area);
    const bool tool = gtk_toggle_tool_button_get_active(GTK_TOGGLE_TOOL_BUTTON(w.tool_button));
    if (tool && event->type != GDK_MOTION_NOTIFY) return relationship_tool(w, event);
    if (tool) return TRUE;
    if (event->type == GDK_2BUTTON_PRESS && event->button.button == 1) {
        // A double click opens the editor of the shape under the pointer; on empty surface it adds an entity.
        const TPoint at = point_of(event->button);
        w.input.Cancel(w.editor->surface());
        w.editor->commit();
        if (auto e = w.editor->entity_at(at)) edit_entity(w, *e);
        else if (auto t = w.editor->text_at(at)) edit_text(w, *t);
        else if (auto c = w.editor->entity_caption_at(at)) edit_caption(w, *c);
        else if (auto c = w.editor->relationship_caption_at(at)) edit_relationship(w, *c);
        else if (auto r = w.editor->relationship_at(at)) edit_relationship(w, *r);
        else add_entity_at(w, at);
        return TRUE;
    }
    if (event->type == GDK_BUTTON_PRESS && event->button.button == 3) {
        context_menu(w, event);
        return TRUE;
    }
    TDiagramSurface& surface = w.editor->surface();
    const bool press = event->type == GDK_BUTTON_PRESS;
    if (press) {
        w.handed_over = false;
        surface.OnMouseDown = [&w](TObject*, TMouseButton, TShiftState, int, int) { w.handed_over = true; };
    }
    const bool delivered = w.input.Deliver(surface, *event);
    if (press) surface.OnMouseDown = nullptr;
    if (!delivered) return event->type == GDK_2BUTTON_PRESS || event->type == GDK_3BUTTON_PRESS;
    if (press && w.handed_over && event->button.button == 1) {
        // The surface got the press: on empty surface it clears the selection; handed on by a
        // relationship (which went behind the others), it is given to the shape under the point now.
        const TPoint at = point_of(event->button);
        if (w.editor->entity_at(at) || w.editor->text_at(at)) {
            w.input.Cancel(surface);
            w.input.PressAgain(surface, event->button);
        } else if (!(event->button.state & (GDK_SHIFT_MASK | GDK_CONTROL_MASK))) {
            w.editor->clear_selection();
            refresh(w, true);
        }
    }
    show_cursor(w);
    // A gesture is complete when the last button is up: that is one change to undo.
    const bool finished = event->type == GDK_BUTTON_RELEASE && w.input.Held() == 0;
    if (finished) {
        try {
            w.editor->commit();
        } catch (const std::exception& e) {
            show_message(w, GTK_MESSAGE_ERROR, e.what());
        }
    }
    refresh(w, false);
    return TRUE;
}

gboolean on_grab_broken(GtkWidget*, GdkEvent*, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    if (w.input.Held() != 0) {
        w.input.Cancel(w.editor->surface());
        w.editor->commit();
        refresh(w, false);
    }
    return FALSE;
}

gboolean on_scroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    const int steps = ZoomStepsOf(*event, w.pending_scroll);
    if (steps == 0) return (event->state & GDK_CONTROL_MASK) != 0;  // without Ctrl the view scrolls
    zoom_at(w, [&] { w.editor->zoom_by(steps); }, std::pair{event->x, event->y});
    return TRUE;
}

void on_area_size(GtkWidget*, GdkRectangle*, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    apply_scroll(w);
    w.scroll_to.reset();
}

void write_ready_file(Window& w) {
    w.ready_written = true;
    const char* path = g_getenv("KZR40_EDIT_READY");
    if (!path || !*path) return;
    gint x = 0, y = 0;
    gdk_window_get_origin(gtk_widget_get_window(w.area), &x, &y);
    const std::string temporary = std::string(path) + ".part";
    {
        std::ofstream out(temporary);
        out << x << ' ' << y << '\n';
    }
    std::rename(temporary.c_str(), path);  // the reader never sees half a line
}

gboolean on_draw(GtkWidget*, cairo_t* context, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    GdkRectangle clip;
    if (gdk_cairo_get_clip_rectangle(context, &clip)) {
        const TRect area{clip.x, clip.y, clip.x + clip.width, clip.y + clip.height};
        if (w.editor->diagram().style == DiagramStyle::modern)
            PaintModernSurface(w.editor->scene(), context, area, w.editor->diagram().theme);
        else
            PaintSurface(w.editor->surface(), context, area);
    }
    if (!w.ready_written) write_ready_file(w);
    return TRUE;
}

void on_viewport(GtkWidget*, GdkRectangle* allocation, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    if (w.input.Held() != 0) return;  // the surface keeps its size while a shape is dragged on it
    w.editor->set_viewport(allocation->width, allocation->height);
    refresh(w, false);
}

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer data) { return may_close(*static_cast<Window*>(data)) ? FALSE : TRUE; }

}  // namespace

void run_editor_window(DiagramEditor& editor) {
    Window w{&editor, {}};
    ClickSettings clicks;
    gint time = 0, distance = 0;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &time, "gtk-double-click-distance", &distance, nullptr);
    if (time > 0) clicks.double_click_ms = static_cast<std::uint32_t>(time);
    if (distance > 0) clicks.distance = distance;
    w.input.SetClickSettings(clicks);

    w.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(w.window), 1000, 700);
    w.accelerators = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(w.window), w.accelerators);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(w.window), box);
    gtk_box_pack_start(GTK_BOX(box), build_menus(w), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), build_toolbar(w), FALSE, FALSE, 0);

    w.scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_box_pack_start(GTK_BOX(box), w.scroller, TRUE, TRUE, 0);
    w.area = gtk_drawing_area_new();
    gtk_widget_set_can_focus(w.area, TRUE);
    gtk_widget_add_events(w.area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK);
    gtk_widget_set_halign(w.area, GTK_ALIGN_START);
    gtk_widget_set_valign(w.area, GTK_ALIGN_START);
    gtk_container_add(GTK_CONTAINER(w.scroller), w.area);

    g_signal_connect(w.area, "button-press-event", G_CALLBACK(on_pointer), &w);
    g_signal_connect(w.area, "button-release-event", G_CALLBACK(on_pointer), &w);
    g_signal_connect(w.area, "motion-notify-event", G_CALLBACK(on_pointer), &w);
    g_signal_connect(w.area, "grab-broken-event", G_CALLBACK(on_grab_broken), &w);
    g_signal_connect(w.area, "scroll-event", G_CALLBACK(on_scroll), &w);
    g_signal_connect(w.area, "draw", G_CALLBACK(on_draw), &w);
    g_signal_connect_after(w.area, "size-allocate", G_CALLBACK(on_area_size), &w);
    g_signal_connect(w.scroller, "size-allocate", G_CALLBACK(on_viewport), &w);
    g_signal_connect(w.window, "delete-event", G_CALLBACK(on_delete), &w);
    g_signal_connect(w.window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

    refresh(w, true);
    gtk_widget_show_all(w.window);
    gtk_main();
}
