// The entity, relationship and text dialogs of `kzr40 edit`. They only move values between widgets and
// the plain fields of editor/model_edits.h; the document checks them.

#include "editor/model_dialogs.h"

#include "editor/font_buttons.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "plugin/catalogo.h"
#include "plugin/enum_names.h"

namespace {

// Attribute grid columns.
enum AttributeColumn {
    kNome, kTitulo, kTipo, kTamanho, kDecimais, kComponente, kKey, kNullable, kHidden, kLargura, kRotulo, kOrigem, kForeign,
    kAttributeColumns
};
// Secondary key grid columns.
enum KeyColumn { kKeyNome, kCampos, kDuplicates, kCaseSensitive, kDescending, kNonMaintained, kExpression, kKeyColumns };

std::string tipo_name(int tipo) { return tipo >= 0 && tipo < kTiposNoCatalogo ? nome_tipo(tipo) : std::to_string(tipo); }
int tipo_of(const std::string& name) {
    for (int i = 0; i < kTiposNoCatalogo; ++i)
        if (nome_tipo(i) == name) return i;
    return -1;
}
std::string componente_name(int c) {
    return c >= 1 && c <= kComponentesNoCatalogo ? std::string(nome_componente(c)) : std::to_string(c);
}
int componente_of(const std::string& name) {
    for (int i = 1; i <= kComponentesNoCatalogo; ++i)
        if (nome_componente(i) == name) return i;
    return 0;
}

std::string text_of(GtkEntry* entry) { return gtk_entry_get_text(entry); }

std::string view_text(GtkTextView* view) {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    std::string result(text);
    g_free(text);
    return result;
}

GtkWidget* text_view(const std::string& text, int height) {
    GtkWidget* view = gtk_text_view_new();
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), text.c_str(), -1);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_widget_set_size_request(scroller, -1, height);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    g_object_set_data(G_OBJECT(scroller), "view", view);
    return scroller;
}

// Grid cells edited in place: the renderer carries its column.
void on_text_edited(GtkCellRendererText* renderer, gchar* path, gchar* text, gpointer data) {
    auto* store = GTK_LIST_STORE(data);
    const int column = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(renderer), "column"));
    GtkTreeIter row;
    if (!gtk_tree_model_get_iter_from_string(GTK_TREE_MODEL(store), &row, path)) return;
    if (gtk_tree_model_get_column_type(GTK_TREE_MODEL(store), column) == G_TYPE_INT) {
        char* end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (end == text || *end != '\0' || value < 0 || value > INT32_MAX) return;  // the cell keeps its number
        gtk_list_store_set(store, &row, column, static_cast<gint>(value), -1);
    } else {
        gtk_list_store_set(store, &row, column, text, -1);
    }
    // A new index's fields are asked for right after its name.
    auto* next = static_cast<GtkTreeViewColumn*>(g_object_get_data(G_OBJECT(renderer), "next"));
    auto* view = static_cast<GtkTreeView*>(g_object_get_data(G_OBJECT(renderer), "view"));
    const int next_column = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(renderer), "next-column"));
    gchar* following = nullptr;
    if (next && view) gtk_tree_model_get(GTK_TREE_MODEL(store), &row, next_column, &following, -1);
    if (next && view && (!following || !*following) && *text) {
        GtkTreePath* at = gtk_tree_path_new_from_string(path);
        gtk_tree_view_set_cursor(view, at, next, TRUE);
        gtk_tree_path_free(at);
    }
    g_free(following);
}

void on_toggled(GtkCellRendererToggle* renderer, gchar* path, gpointer data) {
    auto* store = GTK_LIST_STORE(data);
    const int column = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(renderer), "column"));
    GtkTreeIter row;
    if (!gtk_tree_model_get_iter_from_string(GTK_TREE_MODEL(store), &row, path)) return;
    gboolean value = FALSE;
    gtk_tree_model_get(GTK_TREE_MODEL(store), &row, column, &value, -1);
    gtk_list_store_set(store, &row, column, !value, -1);
}

GtkTreeViewColumn* add_text_column(GtkTreeView* view, GtkListStore* store, const char* title, int column, bool editable = true) {
    GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
    g_object_set(renderer, "editable", editable ? TRUE : FALSE, nullptr);
    g_object_set_data(G_OBJECT(renderer), "column", GINT_TO_POINTER(column));
    g_signal_connect(renderer, "edited", G_CALLBACK(on_text_edited), store);
    GtkTreeViewColumn* c = gtk_tree_view_column_new_with_attributes(title, renderer, "text", column, nullptr);
    gtk_tree_view_column_set_resizable(c, TRUE);
    gtk_tree_view_append_column(view, c);
    return c;
}

void add_choice_column(GtkTreeView* view, GtkListStore* store, const char* title, int column, GtkListStore* choices) {
    GtkCellRenderer* renderer = gtk_cell_renderer_combo_new();
    g_object_set(renderer, "editable", TRUE, "has-entry", FALSE, "model", choices, "text-column", 0, nullptr);
    g_object_set_data(G_OBJECT(renderer), "column", GINT_TO_POINTER(column));
    g_signal_connect(renderer, "edited", G_CALLBACK(on_text_edited), store);
    gtk_tree_view_append_column(view, gtk_tree_view_column_new_with_attributes(title, renderer, "text", column, nullptr));
}

void add_toggle_column(GtkTreeView* view, GtkListStore* store, const char* title, int column) {
    GtkCellRenderer* renderer = gtk_cell_renderer_toggle_new();
    g_object_set_data(G_OBJECT(renderer), "column", GINT_TO_POINTER(column));
    g_signal_connect(renderer, "toggled", G_CALLBACK(on_toggled), store);
    gtk_tree_view_append_column(view, gtk_tree_view_column_new_with_attributes(title, renderer, "active", column, nullptr));
}

GtkListStore* names_store(bool types) {
    GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
    GtkTreeIter row;
    if (types) {
        for (int i = 0; i < kTiposNoCatalogo; ++i) gtk_list_store_insert_with_values(store, &row, -1, 0, nome_tipo(i).c_str(), -1);
    } else {
        for (int i = 1; i <= kComponentesNoCatalogo; ++i)
            gtk_list_store_insert_with_values(store, &row, -1, 0, std::string(nome_componente(i)).c_str(), -1);
    }
    return store;
}

struct Grid {
    GtkTreeView* view;
    GtkListStore* store;
};

GtkTreeIter selected_or_last(const Grid& g, bool& found) {
    GtkTreeIter row;
    found = gtk_tree_selection_get_selected(gtk_tree_view_get_selection(g.view), nullptr, &row);
    return row;
}

// A row just added is edited at its first cell at once, so a name can be typed straight away.
void edit_first_cell(Grid& g, GtkTreeIter& row) {
    GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(g.store), &row);
    gtk_widget_grab_focus(GTK_WIDGET(g.view));
    gtk_tree_view_set_cursor(g.view, path, gtk_tree_view_get_column(g.view, 0), TRUE);
    gtk_tree_path_free(path);
}

void on_add_attribute(GtkButton*, gpointer data) {
    auto* g = static_cast<Grid*>(data);
    bool has_key = false;
    GtkTreeIter row;
    for (gboolean ok = gtk_tree_model_get_iter_first(GTK_TREE_MODEL(g->store), &row); ok;
         ok = gtk_tree_model_iter_next(GTK_TREE_MODEL(g->store), &row)) {
        gboolean key = FALSE;
        gtk_tree_model_get(GTK_TREE_MODEL(g->store), &row, kKey, &key, -1);
        has_key = has_key || key;
    }
    // An entity's first attribute is its key (an Integer) until the user says otherwise; the others
    // start as texts of 40 characters.
    gtk_list_store_insert_with_values(g->store, &row, -1, kNome, "", kTitulo, "", kTipo, tipo_name(has_key ? 1 : 3).c_str(),
                                      kTamanho, has_key ? 40 : 0,
                                      kDecimais, 0, kComponente, componente_name(1).c_str(), kKey, !has_key, kNullable,
                                      FALSE, kHidden, FALSE, kLargura, 0, kRotulo, "", kOrigem, "", kForeign, FALSE, -1);
    edit_first_cell(*g, row);
}

void on_add_key(GtkButton*, gpointer data) {
    auto* g = static_cast<Grid*>(data);
    GtkTreeIter row;
    gtk_list_store_insert_with_values(g->store, &row, -1, kKeyNome, "", kCampos, "", kDuplicates, FALSE, kCaseSensitive, FALSE,
                                      kDescending, FALSE, kNonMaintained, FALSE, kExpression, FALSE, -1);
    edit_first_cell(*g, row);
}

void on_delete_row(GtkButton*, gpointer data) {
    auto* g = static_cast<Grid*>(data);
    bool found = false;
    GtkTreeIter row = selected_or_last(*g, found);
    if (found) gtk_list_store_remove(g->store, &row);
}

void move_row(Grid& g, bool up) {
    bool found = false;
    GtkTreeIter row = selected_or_last(g, found);
    if (!found) return;
    GtkTreeIter other = row;
    const bool has = up ? gtk_tree_model_iter_previous(GTK_TREE_MODEL(g.store), &other)
                        : gtk_tree_model_iter_next(GTK_TREE_MODEL(g.store), &other);
    if (has) gtk_list_store_swap(g.store, &row, &other);
}
void on_up(GtkButton*, gpointer data) { move_row(*static_cast<Grid*>(data), true); }
void on_down(GtkButton*, gpointer data) { move_row(*static_cast<Grid*>(data), false); }

GtkWidget* grid_box(Grid& g, bool attributes) {
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    gtk_widget_set_size_request(scroller, 860, attributes ? 200 : 110);
    gtk_container_add(GTK_CONTAINER(scroller), GTK_WIDGET(g.view));
    gtk_box_pack_start(GTK_BOX(box), scroller, TRUE, TRUE, 0);
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    GtkWidget* add = gtk_button_new_with_mnemonic(attributes ? "_Add attribute" : "Add _index");
    g_signal_connect(add, "clicked", G_CALLBACK(attributes ? on_add_attribute : on_add_key), &g);
    gtk_box_pack_start(GTK_BOX(buttons), add, FALSE, FALSE, 0);
    GtkWidget* remove = gtk_button_new_with_label(attributes ? "Delete attribute" : "Delete index");
    g_signal_connect(remove, "clicked", G_CALLBACK(on_delete_row), &g);
    gtk_box_pack_start(GTK_BOX(buttons), remove, FALSE, FALSE, 0);
    if (attributes) {
        GtkWidget* up = gtk_button_new_with_label("Up");
        g_signal_connect(up, "clicked", G_CALLBACK(on_up), &g);
        gtk_box_pack_start(GTK_BOX(buttons), up, FALSE, FALSE, 0);
        GtkWidget* down = gtk_button_new_with_label("Down");
        g_signal_connect(down, "clicked", G_CALLBACK(on_down), &g);
        gtk_box_pack_start(GTK_BOX(buttons), down, FALSE, FALSE, 0);
    }
    gtk_box_pack_start(GTK_BOX(box), buttons, FALSE, FALSE, 0);
    return box;
}

GtkWidget* labelled(GtkGrid* grid, int row, int column, const char* label, GtkWidget* widget) {
    GtkWidget* l = gtk_label_new_with_mnemonic(label);
    gtk_label_set_xalign(GTK_LABEL(l), 1);
    gtk_label_set_mnemonic_widget(GTK_LABEL(l), widget);
    gtk_grid_attach(grid, l, column, row, 1, 1);
    gtk_grid_attach(grid, widget, column + 1, row, 1, 1);
    gtk_widget_set_hexpand(widget, TRUE);
    return widget;
}

GtkWidget* entry(const std::string& text) {
    GtkWidget* e = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(e), text.c_str());
    gtk_entry_set_activates_default(GTK_ENTRY(e), TRUE);
    return e;
}

GtkWidget* spin(int value) {
    GtkWidget* s = gtk_spin_button_new_with_range(0, INT32_MAX, 1);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(s), value);
    return s;
}

template <std::size_t N>
GtkWidget* choice(const std::array<std::string_view, N>& names, int active) {
    GtkWidget* c = gtk_combo_box_text_new();
    for (std::string_view n : names) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(c), std::string(n).c_str());
    gtk_combo_box_set_active(GTK_COMBO_BOX(c), active);
    return c;
}

std::string row_text(GtkTreeModel* model, GtkTreeIter* row, int column) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, row, column, &text, -1);
    std::string result = text ? text : "";
    g_free(text);
    return result;
}
int row_int(GtkTreeModel* model, GtkTreeIter* row, int column) {
    gint value = 0;
    gtk_tree_model_get(model, row, column, &value, -1);
    return value;
}
bool row_flag(GtkTreeModel* model, GtkTreeIter* row, int column) {
    gboolean value = FALSE;
    gtk_tree_model_get(model, row, column, &value, -1);
    return value != FALSE;
}

// Runs `dialog` until `accept` succeeds or the user cancels; shows the refusals, and `point_at` then
// brings the user to the field a refusal names.
bool run_until_accepted(GtkWidget* dialog, const std::function<std::string()>& accept,
                        const std::function<void(const std::string&)>& point_at = {}) {
    gtk_widget_show_all(dialog);
    while (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
        const std::string problem = accept();
        if (problem.empty()) {
            gtk_widget_destroy(dialog);
            return true;
        }
        gchar* valid = g_utf8_make_valid(problem.c_str(), -1);
        GtkWidget* message = gtk_message_dialog_new(GTK_WINDOW(dialog), GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_CLOSE,
                                                    "%s", valid);
        g_free(valid);
        gtk_dialog_run(GTK_DIALOG(message));
        gtk_widget_destroy(message);
        if (point_at) point_at(problem);
    }
    gtk_widget_destroy(dialog);
    return false;
}

// The field a refusal names: marked in the theme's error colour, its tooltip the message, and focused;
// the mark goes at the next attempt.
class FieldMarks {
public:
    void mark(GtkWidget* field, const std::string& problem) {
        gtk_style_context_add_class(gtk_widget_get_style_context(field), GTK_STYLE_CLASS_ERROR);
        gchar* valid = g_utf8_make_valid(problem.c_str(), -1);
        gtk_widget_set_tooltip_text(field, valid);
        g_free(valid);
        gtk_widget_grab_focus(field);
        marked_.push_back(field);
    }
    void clear() {
        for (GtkWidget* field : marked_) {
            gtk_style_context_remove_class(gtk_widget_get_style_context(field), GTK_STYLE_CLASS_ERROR);
            gtk_widget_set_tooltip_text(field, nullptr);
        }
        marked_.clear();
    }

private:
    std::vector<GtkWidget*> marked_;
};

// A grid's cell: the row selected and the cursor on the column, so the next key edits it.
void point_at_cell(GtkTreeView* view, std::size_t row, int column) {
    GtkTreeModel* model = gtk_tree_view_get_model(view);
    if (row >= static_cast<std::size_t>(gtk_tree_model_iter_n_children(model, nullptr))) return;
    GtkTreePath* path = gtk_tree_path_new_from_indices(static_cast<gint>(row), -1);
    gtk_tree_view_set_cursor(view, path, gtk_tree_view_get_column(view, column), FALSE);
    gtk_tree_view_scroll_to_cell(view, path, nullptr, FALSE, 0, 0);
    gtk_tree_path_free(path);
    gtk_widget_grab_focus(GTK_WIDGET(view));
}

// Key rows first, each group in its order, as the entity keeps its attributes: the rows then have the
// numbers the document's messages give them.
void key_rows_first(GtkListStore* store) {
    GtkTreeModel* model = GTK_TREE_MODEL(store);
    std::vector<gint> keys, others;
    GtkTreeIter row;
    gint n = 0;
    for (gboolean ok = gtk_tree_model_get_iter_first(model, &row); ok; ok = gtk_tree_model_iter_next(model, &row), ++n) {
        gboolean key = FALSE;
        gtk_tree_model_get(model, &row, kKey, &key, -1);
        (key ? keys : others).push_back(n);
    }
    keys.insert(keys.end(), others.begin(), others.end());
    for (gint i = 0; i < n; ++i)
        if (keys[static_cast<std::size_t>(i)] != i) return gtk_list_store_reorder(store, keys.data());
}

// The grids' columns by the keys the file names them with.
int attribute_view_column(const std::string& key) {
    static const std::array<std::string_view, 12> kKeys{"nome",   "titulo",  "tipo",    "tamanho", "decimais", "componente",
                                                        "chave",  "opcoes",  "hidden",  "largura", "rotulo",   "origem"};
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        if (kKeys[i] == key) return static_cast<int>(i);
    return 0;
}
int key_view_column(const std::string& key) { return key == "campos" ? 1 : key == "tipo_indice" ? 2 : 0; }

GtkWidget* new_dialog(GtkWindow* parent, const std::string& title) {
    GtkWidget* dialog = gtk_dialog_new_with_buttons(title.c_str(), parent, GTK_DIALOG_MODAL, "_Cancel", GTK_RESPONSE_CANCEL,
                                                    "_OK", GTK_RESPONSE_OK, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    return dialog;
}

GtkWidget* frame(const char* title, GtkWidget* child) {
    GtkWidget* f = gtk_frame_new(title);
    gtk_container_set_border_width(GTK_CONTAINER(child), 6);
    gtk_container_add(GTK_CONTAINER(f), child);
    return f;
}

}  // namespace

bool run_entity_dialog(GtkWindow* parent, EntityFields fields, const std::function<std::string(const EntityFields&)>& apply) {
    GtkWidget* dialog = new_dialog(parent, "Entity " + fields.entidade);
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
    gtk_box_set_spacing(GTK_BOX(content), 6);
    gtk_container_set_border_width(GTK_CONTAINER(content), 8);

    GtkGrid* form = GTK_GRID(gtk_grid_new());
    gtk_grid_set_row_spacing(form, 4);
    gtk_grid_set_column_spacing(form, 6);
    GtkWidget* entidade = labelled(form, 0, 0, "_Entity", entry(fields.entidade));
    GtkWidget* tabela = labelled(form, 0, 2, "_Table", entry(fields.tabela));
    GtkWidget* menu = labelled(form, 1, 0, "_Menu", entry(fields.menu));
    GtkWidget* titulo = labelled(form, 1, 2, "_Form title", entry(fields.tituloform));
    GtkWidget* altura = labelled(form, 2, 0, "Form _height", spin(fields.alturaform));
    GtkWidget* largura = labelled(form, 2, 2, "Form _width", spin(fields.larguraform));
    static constexpr std::array<std::string_view, 3> kLayouts{"vertical", "horizontal", "grid"};
    GtkWidget* layout = labelled(form, 3, 0, "Form _layout", choice(kLayouts, fields.tipoform));
    GtkWidget* mode = labelled(form, 3, 2, "_Display mode", choice(kModoNames, static_cast<int>(fields.modo)));
    GtkWidget* title_font = labelled(form, 4, 0, "Title font", font_control(fields.fonte_titulo));
    GtkWidget* attribute_font = labelled(form, 4, 2, "Attribute font", font_control(fields.fonte_atributos));
    GtkWidget* foreign_font = labelled(form, 5, 0, "Foreign-key font", font_control(fields.fonte_extrangeiras));
    GtkWidget* descending = gtk_check_button_new_with_label("Primary key descending");
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(descending), fields.descending_key);
    gtk_grid_attach(form, descending, 3, 5, 1, 1);
    std::string description;
    for (std::size_t i = 0; i < fields.descricao.size(); ++i) description += (i ? "\n" : "") + fields.descricao[i];
    GtkWidget* description_box = text_view(description, 50);
    labelled(form, 6, 0, "Description", description_box);
    gtk_grid_attach(form, gtk_label_new(""), 2, 6, 2, 1);
    gtk_box_pack_start(GTK_BOX(content), GTK_WIDGET(form), FALSE, FALSE, 0);

    GtkListStore* types = names_store(true);
    GtkListStore* components = names_store(false);
    Grid attributes{nullptr, gtk_list_store_new(kAttributeColumns, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_INT,
                                                G_TYPE_INT, G_TYPE_STRING, G_TYPE_BOOLEAN, G_TYPE_BOOLEAN, G_TYPE_BOOLEAN,
                                                G_TYPE_INT, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_BOOLEAN)};
    for (const AttributeFields& a : fields.atributos) {
        GtkTreeIter row;
        gtk_list_store_insert_with_values(attributes.store, &row, -1, kNome, a.nome.c_str(), kTitulo, a.titulo.c_str(), kTipo,
                                          tipo_name(a.tipo).c_str(), kTamanho, a.tamanho, kDecimais, a.decimais, kComponente,
                                          componente_name(a.componente).c_str(), kKey, a.key, kNullable, a.nullable, kHidden,
                                          a.hidden, kLargura, a.largura, kRotulo, a.rotulo.c_str(), kOrigem, a.origem.c_str(),
                                          kForeign, a.foreign_key, -1);
    }
    attributes.view = GTK_TREE_VIEW(gtk_tree_view_new_with_model(GTK_TREE_MODEL(attributes.store)));
    add_text_column(attributes.view, attributes.store, "nome", kNome);
    add_text_column(attributes.view, attributes.store, "titulo", kTitulo);
    add_choice_column(attributes.view, attributes.store, "tipo", kTipo, types);
    add_text_column(attributes.view, attributes.store, "tamanho", kTamanho);
    add_text_column(attributes.view, attributes.store, "decimais", kDecimais);
    add_choice_column(attributes.view, attributes.store, "componente", kComponente, components);
    add_toggle_column(attributes.view, attributes.store, "key", kKey);
    add_toggle_column(attributes.view, attributes.store, "nullable", kNullable);
    add_toggle_column(attributes.view, attributes.store, "hidden", kHidden);
    add_text_column(attributes.view, attributes.store, "largura", kLargura);
    add_text_column(attributes.view, attributes.store, "rotulo", kRotulo);
    add_text_column(attributes.view, attributes.store, "origem", kOrigem, false);
    gtk_box_pack_start(GTK_BOX(content), frame("Attributes", grid_box(attributes, true)), TRUE, TRUE, 0);

    Grid keys{nullptr, gtk_list_store_new(kKeyColumns, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_BOOLEAN, G_TYPE_BOOLEAN,
                                          G_TYPE_BOOLEAN, G_TYPE_BOOLEAN, G_TYPE_BOOLEAN)};
    for (const SecondaryKeyFields& k : fields.chaves) {
        GtkTreeIter row;
        gtk_list_store_insert_with_values(keys.store, &row, -1, kKeyNome, k.nome.c_str(), kCampos, k.campos.c_str(), kDuplicates,
                                          k.duplicates, kCaseSensitive, k.case_sensitive, kDescending, k.descending,
                                          kNonMaintained, k.non_maintained, kExpression, k.expression, -1);
    }
    keys.view = GTK_TREE_VIEW(gtk_tree_view_new_with_model(GTK_TREE_MODEL(keys.store)));
    add_text_column(keys.view, keys.store, "nome", kKeyNome);
    GtkTreeViewColumn* campos = add_text_column(keys.view, keys.store, "campos (A+B)", kCampos);
    {
        GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(gtk_tree_view_get_column(keys.view, 0)));
        g_object_set_data(G_OBJECT(cells->data), "next", campos);
        g_object_set_data(G_OBJECT(cells->data), "view", keys.view);
        g_object_set_data(G_OBJECT(cells->data), "next-column", GINT_TO_POINTER(kCampos));
        g_list_free(cells);
    }
    add_toggle_column(keys.view, keys.store, "duplicates", kDuplicates);
    add_toggle_column(keys.view, keys.store, "case sensitive", kCaseSensitive);
    add_toggle_column(keys.view, keys.store, "descending", kDescending);
    add_toggle_column(keys.view, keys.store, "non maintained", kNonMaintained);
    add_toggle_column(keys.view, keys.store, "expression", kExpression);
    gtk_box_pack_start(GTK_BOX(content), frame("Secondary keys (indexes)", grid_box(keys, false)), FALSE, FALSE, 0);

    FieldMarks marks;
    const std::pair<std::string_view, GtkWidget*> entity_keys[] = {
        {"entidade", entidade}, {"tabela", tabela}, {"Menu", menu}, {"Tituloform", titulo}, {"Alturaform", altura},
        {"Larguraform", largura}, {"Tipoform", layout}, {"Modo", mode}, {"Primaria", descending},
        {"descricao", GTK_WIDGET(g_object_get_data(G_OBJECT(description_box), "view"))},
        {"FonteTitulo", title_font}, {"FonteAtributos", attribute_font}, {"FonteExtrangeiras", foreign_font}};
    const auto point_at = [&](const std::string& problem) {
        const std::optional<FieldInMessage> field = field_in_message(problem);
        if (!field) return;
        if (field->part == FieldInMessage::Part::attribute) return point_at_cell(attributes.view, field->row, attribute_view_column(field->key));
        if (field->part == FieldInMessage::Part::secondary_key) return point_at_cell(keys.view, field->row, key_view_column(field->key));
        const std::string_view key = std::string_view(field->key).substr(0, field->key.find('.'));  // "FonteTitulo.name"
        for (const auto& [name, widget] : entity_keys)
            if (name == key) marks.mark(widget, problem);
    };
    const bool accepted = run_until_accepted(dialog, [&] {
        marks.clear();
        EntityFields f = fields;
        f.entidade = text_of(GTK_ENTRY(entidade));
        f.tabela = text_of(GTK_ENTRY(tabela));
        f.menu = text_of(GTK_ENTRY(menu));
        f.tituloform = text_of(GTK_ENTRY(titulo));
        f.alturaform = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(altura));
        f.larguraform = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(largura));
        f.tipoform = gtk_combo_box_get_active(GTK_COMBO_BOX(layout));
        f.modo = static_cast<tmodo>(gtk_combo_box_get_active(GTK_COMBO_BOX(mode)));
        f.descending_key = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(descending));
        f.fonte_titulo = font_of(title_font);
        f.fonte_atributos = font_of(attribute_font);
        f.fonte_extrangeiras = font_of(foreign_font);
        f.descricao.clear();
        const std::string lines = view_text(GTK_TEXT_VIEW(g_object_get_data(G_OBJECT(description_box), "view")));
        if (!lines.empty()) {
            std::size_t start = 0;
            for (std::size_t end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1)
                f.descricao.push_back(lines.substr(start, end - start));
            f.descricao.push_back(lines.substr(start));
        }
        f.atributos.clear();
        key_rows_first(attributes.store);
        GtkTreeModel* model = GTK_TREE_MODEL(attributes.store);
        GtkTreeIter row;
        for (gboolean ok = gtk_tree_model_get_iter_first(model, &row); ok; ok = gtk_tree_model_iter_next(model, &row)) {
            AttributeFields a;
            a.nome = row_text(model, &row, kNome);
            a.titulo = row_text(model, &row, kTitulo);
            a.tipo = tipo_of(row_text(model, &row, kTipo));
            a.tamanho = row_int(model, &row, kTamanho);
            a.decimais = row_int(model, &row, kDecimais);
            a.componente = componente_of(row_text(model, &row, kComponente));
            a.key = row_flag(model, &row, kKey);
            a.nullable = row_flag(model, &row, kNullable);
            a.hidden = row_flag(model, &row, kHidden);
            a.largura = row_int(model, &row, kLargura);
            a.rotulo = row_text(model, &row, kRotulo);
            a.origem = row_text(model, &row, kOrigem);
            a.foreign_key = row_flag(model, &row, kForeign);
            f.atributos.push_back(std::move(a));
        }
        f.chaves.clear();
        model = GTK_TREE_MODEL(keys.store);
        for (gboolean ok = gtk_tree_model_get_iter_first(model, &row); ok; ok = gtk_tree_model_iter_next(model, &row)) {
            SecondaryKeyFields k;
            k.nome = row_text(model, &row, kKeyNome);
            k.campos = row_text(model, &row, kCampos);
            k.duplicates = row_flag(model, &row, kDuplicates);
            k.case_sensitive = row_flag(model, &row, kCaseSensitive);
            k.descending = row_flag(model, &row, kDescending);
            k.non_maintained = row_flag(model, &row, kNonMaintained);
            k.expression = row_flag(model, &row, kExpression);
            f.chaves.push_back(std::move(k));
        }
        return apply(f);
    }, point_at);
    g_object_unref(attributes.store);
    g_object_unref(keys.store);
    g_object_unref(types);
    g_object_unref(components);
    return accepted;
}

bool run_relationship_dialog(GtkWindow* parent, RelationshipFields fields,
                             const std::function<std::string(const RelationshipFields&)>& apply) {
    GtkWidget* dialog = new_dialog(parent, "Relationship " + fields.name);
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
    gtk_container_set_border_width(GTK_CONTAINER(content), 8);
    GtkGrid* form = GTK_GRID(gtk_grid_new());
    gtk_grid_set_row_spacing(form, 4);
    gtk_grid_set_column_spacing(form, 6);
    GtkWidget* name = labelled(form, 0, 0, "_Name", entry(fields.name));
    GtkWidget* relacao = labelled(form, 1, 0, "_Cardinality", choice(kRelacaoNames, static_cast<int>(fields.relacao)));
    GtkWidget* chave = labelled(form, 2, 0, "_Key kind", choice(kChaveNames, static_cast<int>(fields.chave)));
    GtkWidget* line = labelled(form, 3, 0, "Line _colour", colour_button(fields.line_colour));
    GtkWidget* width = gtk_spin_button_new_with_range(1, kMaxLineWidth, 1);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(width), fields.line_width);
    labelled(form, 4, 0, "Line _width", width);
    GtkWidget* has_caption = gtk_check_button_new_with_mnemonic("C_aption");
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(has_caption), fields.caption.has_value());
    gtk_grid_attach(form, has_caption, 0, 5, 1, 1);
    GtkWidget* caption = text_view(fields.caption.value_or(""), 50);
    gtk_grid_attach(form, caption, 1, 5, 1, 1);
    GtkWidget* caption_font = labelled(form, 6, 0, "Caption font", font_control(fields.caption_font));
    gtk_box_pack_start(GTK_BOX(content), GTK_WIDGET(form), TRUE, TRUE, 0);
    return run_until_accepted(dialog, [&] {
        RelationshipFields f = fields;
        f.name = text_of(GTK_ENTRY(name));
        f.relacao = static_cast<trelacao>(gtk_combo_box_get_active(GTK_COMBO_BOX(relacao)));
        f.chave = static_cast<tchave>(gtk_combo_box_get_active(GTK_COMBO_BOX(chave)));
        f.line_colour = colour_of(line);
        f.line_width = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(width));
        f.caption.reset();
        if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(has_caption)))
            f.caption = view_text(GTK_TEXT_VIEW(g_object_get_data(G_OBJECT(caption), "view")));
        f.caption_font = font_of(caption_font);
        return apply(f);
    });
}

bool run_text_dialog(GtkWindow* parent, const std::string& title, std::string text, FontFields* font,
                     const std::function<std::string(const std::string&, const FontFields*)>& apply) {
    GtkWidget* dialog = new_dialog(parent, title);
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
    gtk_container_set_border_width(GTK_CONTAINER(content), 8);
    GtkWidget* box = text_view(text, 90);
    gtk_widget_set_size_request(box, 360, 90);
    gtk_box_pack_start(GTK_BOX(content), box, TRUE, TRUE, 0);
    GtkWidget* font_choice = nullptr;
    if (font) {
        font_choice = font_control(*font);
        gtk_box_pack_start(GTK_BOX(content), font_choice, FALSE, FALSE, 4);
    }
    return run_until_accepted(dialog, [&] {
        const std::string now = view_text(GTK_TEXT_VIEW(g_object_get_data(G_OBJECT(box), "view")));
        if (!font) return apply(now, nullptr);
        FontFields chosen = font_of(font_choice);
        return apply(now, &chosen);
    });
}

std::string ask_line(GtkWindow* parent, const std::string& title, const std::string& label) {
    GtkWidget* dialog = new_dialog(parent, title);
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
    gtk_container_set_border_width(GTK_CONTAINER(content), 8);
    gtk_box_pack_start(GTK_BOX(content), gtk_label_new(label.c_str()), FALSE, FALSE, 2);
    GtkWidget* field = entry("");
    gtk_box_pack_start(GTK_BOX(content), field, FALSE, FALSE, 2);
    std::string result;
    run_until_accepted(dialog, [&] {
        result = text_of(GTK_ENTRY(field));
        return std::string();
    });
    return result;
}

void show_text_window(GtkWindow* parent, const std::string& title, const std::string& text) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), title.c_str());
    gtk_window_set_transient_for(GTK_WINDOW(window), parent);
    gtk_window_set_default_size(GTK_WINDOW(window), 700, 500);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
    gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
    gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 6);  // the first column off the window's edge
    gtk_text_view_set_top_margin(GTK_TEXT_VIEW(view), 4);
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), valid, -1);
    g_free(valid);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    gtk_container_add(GTK_CONTAINER(window), scroller);
    gtk_widget_show_all(window);
    gtk_window_present(GTK_WINDOW(window));  // the keys go to it at once: Ctrl + A, Ctrl + C copy the script
}
