// The GTK window of `kzr40 edit`: a menu bar over a scrollable drawing area. It only forwards: mouse
// events to the surface (surface_input.h), commands to the document (editor/diagram_editor.h).

#include "editor/editor_window.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <functional>
#include <optional>
#include <utility>
#include <string>

#include <gtk/gtk.h>

#include "editor/surface_input.h"
#include "editor/diagram_editor.h"
#include "diagram/type_texts.h"
#include "platform/components/diagram_surface.h"

namespace {

struct Window {
    DiagramEditor& editor;
    SurfaceInput input;
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
    gtk_window_set_title(GTK_WINDOW(w.window), utf8(w.editor.title()).c_str());
    gtk_widget_set_sensitive(w.undo_item, w.editor.can_undo());
    gtk_widget_set_sensitive(w.redo_item, w.editor.can_redo());
    TDiagramSurface& surface = w.editor.surface();
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

// Runs a command of the document; a failure is shown and the diagram stays as it was in memory.
void run_command(Window& w, const std::function<void()>& command) {
    // A drag in progress ends where it is before the command replaces or changes the shapes.
    w.input.Cancel(w.editor.surface());
    try {
        w.editor.commit();
        command();
    } catch (const std::exception& e) {
        show_message(w, GTK_MESSAGE_ERROR, e.what());
    }
    refresh(w, true);
}

// Saves; returns whether the file was written.
bool save(Window& w) {
    bool saved = false;
    run_command(w, [&] {
        try {
            w.editor.save();
            saved = true;
        } catch (const FileChangedError& e) {
            if (ask(w, std::string(e.what()) + ".\nSave this diagram over it anyway?")) {
                w.editor.save(true);
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
    const std::string stem = w.editor.file().stem().string() + ".png";
    gtk_file_chooser_set_current_name(chooser, stem.c_str());
    std::string picture;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar* name = gtk_file_chooser_get_filename(chooser);
        if (name) picture = name;
        g_free(name);
    }
    gtk_widget_destroy(dialog);
    if (!picture.empty()) run_command(w, [&] { w.editor.export_picture(picture); });
}

// Closing: unsaved changes are saved, dropped or kept open, as the user says.
bool may_close(Window& w) {
    w.input.Cancel(w.editor.surface());
    w.editor.commit();
    if (!w.editor.dirty()) return true;
    GtkWidget* dialog = gtk_message_dialog_new(GTK_WINDOW(w.window), GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING, GTK_BUTTONS_NONE,
                                               "%s has unsaved changes. Save them before closing?",
                                               utf8(w.editor.file().filename().string()).c_str());
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

// Zooms so that the diagram's point under `anchor` (drawing-area coordinates) stays where it is on
// the screen: the pointer for the wheel, the middle of the view for the keys.
void zoom_at(Window& w, const std::function<void()>& zoom, std::optional<std::pair<double, double>> anchor = {}) {
    const double x0 = gtk_adjustment_get_value(horizontal(w)), y0 = gtk_adjustment_get_value(vertical(w));
    const auto [ax, ay] = anchor.value_or(std::pair{x0 + gtk_adjustment_get_page_size(horizontal(w)) / 2,
                                                    y0 + gtk_adjustment_get_page_size(vertical(w)) / 2});
    const int before = w.editor.zoom();
    run_command(w, zoom);
    if (w.editor.zoom() == before) return;
    const double ratio = static_cast<double>(w.editor.zoom()) / before;
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
    add_item(w, file, "_Save", [](Window& w) { save(w); }, {{GDK_KEY_s, ctrl}});
    add_item(w, file, "_Export picture…", export_picture, {{GDK_KEY_e, ctrl}});
    add_item(w, file, "_Close", [](Window& w) { if (may_close(w)) gtk_widget_destroy(w.window); },
             {{GDK_KEY_w, ctrl}, {GDK_KEY_q, ctrl}});

    GtkWidget* edit = add_menu(bar, "_Edit");
    w.undo_item = add_item(w, edit, "_Undo", [](Window& w) { run_command(w, [&] { w.editor.undo(); }); }, {{GDK_KEY_z, ctrl}});
    w.redo_item = add_item(w, edit, "_Redo", [](Window& w) { run_command(w, [&] { w.editor.redo(); }); },
                           {{GDK_KEY_z, ctrl_shift}, {GDK_KEY_y, ctrl}});

    GtkWidget* view = add_menu(bar, "_View");
    add_item(w, view, "Zoom _in", [](Window& w) { zoom_at(w, [&] { w.editor.zoom_by(1); }); },
             {{GDK_KEY_plus, ctrl}, {GDK_KEY_equal, ctrl}, {GDK_KEY_KP_Add, ctrl}});
    add_item(w, view, "Zoom _out", [](Window& w) { zoom_at(w, [&] { w.editor.zoom_by(-1); }); },
             {{GDK_KEY_minus, ctrl}, {GDK_KEY_KP_Subtract, ctrl}});
    add_item(w, view, "Zoom _100 %", [](Window& w) { zoom_at(w, [&] { w.editor.set_zoom(100); }); }, {{GDK_KEY_0, ctrl}});
    gtk_menu_shell_append(GTK_MENU_SHELL(view), gtk_separator_menu_item_new());
    for (bool selected : {false, true}) {
        GtkWidget* item = gtk_menu_item_new_with_mnemonic(selected ? "Display mode of the _selection" : "Display _mode of all entities");
        GtkWidget* modes = gtk_menu_new();
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), modes);
        gtk_menu_shell_append(GTK_MENU_SHELL(view), item);
        for (const auto& [label, mode] : kModes) {
            const tmodo m = mode;
            add_item(w, modes, label, [m, selected](Window& w) { run_command(w, [&] { w.editor.set_mode(m, selected); }); });
        }
    }
    GtkWidget* types_item = gtk_menu_item_new_with_mnemonic("_Type texts");
    GtkWidget* types = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(types_item), types);
    gtk_menu_shell_append(GTK_MENU_SHELL(view), types_item);
    add_item(w, types, "Program types (KZR40)",
             [](Window& w) { run_command(w, [&] { w.editor.set_type_texts(default_type_texts()); }); });
    add_item(w, types, "SQL column types", [](Window& w) { run_command(w, [&] { w.editor.set_type_texts(kSqlTypeTexts); }); });

    GtkWidget* diagram = add_menu(bar, "_Diagram");
    add_item(w, diagram, "Automatic _layout", [](Window& w) { run_command(w, [&] { w.editor.lay_out(); }); }, {{GDK_KEY_l, ctrl}});
    return bar;
}

// The drawing area.

void show_cursor(Window& w) {
    const TCursor cursor = w.editor.surface().ShownCursor();
    if (cursor == w.cursor) return;
    w.cursor = cursor;
    GdkWindow* gdk_window = gtk_widget_get_window(w.area);
    if (!gdk_window) return;
    GdkCursor* shown = nullptr;
    if (const char* name = CursorName(cursor)) shown = gdk_cursor_new_from_name(gtk_widget_get_display(w.area), name);
    gdk_window_set_cursor(gdk_window, shown);  // null: the parent's arrow
    if (shown) g_object_unref(shown);
}

gboolean on_pointer(GtkWidget*, GdkEvent* event, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    if (event->type == GDK_BUTTON_PRESS) gtk_widget_grab_focus(w.area);
    if (!w.input.Deliver(w.editor.surface(), *event)) return event->type == GDK_2BUTTON_PRESS || event->type == GDK_3BUTTON_PRESS;
    show_cursor(w);
    // A gesture is complete when the last button is up: that is one change to undo.
    const bool finished = event->type == GDK_BUTTON_RELEASE && w.input.Held() == 0;
    if (finished) {
        try {
            w.editor.commit();
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
        w.input.Cancel(w.editor.surface());
        w.editor.commit();
        refresh(w, false);
    }
    return FALSE;
}

gboolean on_scroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    const int steps = ZoomStepsOf(*event, w.pending_scroll);
    if (steps == 0) return (event->state & GDK_CONTROL_MASK) != 0;  // without Ctrl the view scrolls
    zoom_at(w, [&] { w.editor.zoom_by(steps); }, std::pair{event->x, event->y});
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
    if (gdk_cairo_get_clip_rectangle(context, &clip))
        PaintSurface(w.editor.surface(), context, TRect{clip.x, clip.y, clip.x + clip.width, clip.y + clip.height});
    if (!w.ready_written) write_ready_file(w);
    return TRUE;
}

void on_viewport(GtkWidget*, GdkRectangle* allocation, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    if (w.input.Held() != 0) return;  // the surface keeps its size while a shape is dragged on it
    w.editor.set_viewport(allocation->width, allocation->height);
    refresh(w, false);
}

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer data) { return may_close(*static_cast<Window*>(data)) ? FALSE : TRUE; }

}  // namespace

void run_editor_window(DiagramEditor& editor) {
    Window w{editor, {}};
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
