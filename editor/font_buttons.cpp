// Font and colour buttons for the diagram's fonts, shown by name and drawn with their Liberation faces.

#include "editor/font_buttons.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/graphics/color.h"
#include "platform/graphics/font_resolver.h"

namespace {

// The Windows name a family picked in the chooser is stored as, so that the diagram keeps naming its
// fonts as the generated forms do.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kWindowsNames{{
    {"Liberation Sans", "Arial"}, {"Liberation Serif", "Times New Roman"}, {"Liberation Mono", "Courier New"}}};

std::string shown_family(const std::string& name) {
    const std::string_view family = MetricCompatibleFamily(name);
    return family.empty() ? name : std::string(family);
}

std::string stored_name(const std::string& picked_family, const std::string& current) {
    if (MetricCompatibleFamily(current) == picked_family) return current;  // the same face: the name stays
    for (const auto& [family, windows] : kWindowsNames)
        if (family == picked_family) return std::string(windows);
    return picked_family;
}

GdkRGBA rgba_of(TColor colour) {
    TRGB rgb;
    try {
        rgb = ColorToRGB(colour);
    } catch (const EInvalidColor&) {
        // clNone, clDefault: nothing to show; black stands for it until a colour is picked
    }
    return GdkRGBA{rgb.R / 255.0, rgb.G / 255.0, rgb.B / 255.0, 1};
}

FontFields* fields_of(GtkWidget* button) { return static_cast<FontFields*>(g_object_get_data(G_OBJECT(button), "font")); }

// Only the faces the diagram can be drawn with are offered.
gboolean drawable_family(const PangoFontFamily* family, const PangoFontFace*, gpointer) {
    const char* name = pango_font_family_get_name(const_cast<PangoFontFamily*>(family));
    return name && MetricCompatibleFamily(name) == name;
}

void on_font_chosen(GtkDialog* chooser, gint response, gpointer data) {
    auto* button = static_cast<GtkButton*>(data);
    FontFields& f = *fields_of(GTK_WIDGET(button));
    if (response == GTK_RESPONSE_OK) {
        if (PangoFontDescription* d = gtk_font_chooser_get_font_desc(GTK_FONT_CHOOSER(chooser))) {
            if (const char* family = pango_font_description_get_family(d)) f.name = stored_name(family, f.name);
            const int size = pango_font_description_get_size(d);
            if (size > 0) f.size = (size + PANGO_SCALE / 2) / PANGO_SCALE;
            f.bold = pango_font_description_get_weight(d) >= PANGO_WEIGHT_BOLD;
            f.italic = pango_font_description_get_style(d) != PANGO_STYLE_NORMAL;
            pango_font_description_free(d);
            gtk_button_set_label(button, font_label(f).c_str());
        }
    }
    gtk_widget_destroy(GTK_WIDGET(chooser));
}

// The chooser is shown, not run: a nested main loop inside the button's handler (itself inside the
// editor dialog's) leaves the chooser unpainted under some X servers.
void on_choose_font(GtkButton* button, gpointer) {
    const FontFields& f = *fields_of(GTK_WIDGET(button));
    GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(button));
    GtkWidget* chooser = gtk_font_chooser_dialog_new("Font", GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr);
    gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
    gtk_window_set_destroy_with_parent(GTK_WINDOW(chooser), TRUE);
    gtk_font_chooser_set_filter_func(GTK_FONT_CHOOSER(chooser), drawable_family, nullptr, nullptr);
    PangoFontDescription* shown = pango_font_description_new();
    pango_font_description_set_family(shown, shown_family(f.name).c_str());
    pango_font_description_set_size(shown, f.size * PANGO_SCALE);
    pango_font_description_set_weight(shown, f.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(shown, f.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    gtk_font_chooser_set_font_desc(GTK_FONT_CHOOSER(chooser), shown);
    pango_font_description_free(shown);
    g_signal_connect(chooser, "response", G_CALLBACK(on_font_chosen), button);
    gtk_widget_show(chooser);
}

}  // namespace

std::string font_label(const FontFields& f) {
    return f.name + (f.bold ? " Bold" : "") + (f.italic ? " Italic" : "") + " " + std::to_string(f.size);
}

GtkWidget* colour_button(TColor colour) {
    const GdkRGBA shown = rgba_of(colour);
    GtkWidget* button = gtk_color_button_new_with_rgba(&shown);
    g_object_set_data(G_OBJECT(button), "colour", GINT_TO_POINTER(static_cast<gint>(colour)));
    return button;
}

TColor colour_of(GtkWidget* button) {
    const auto given = static_cast<TColor>(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "colour")));
    GdkRGBA chosen;
    gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(button), &chosen);
    const GdkRGBA shown = rgba_of(given);
    if (gdk_rgba_equal(&chosen, &shown)) return given;  // a system colour stays one unless another is picked
    auto byte = [](double v) { return static_cast<std::uint32_t>(v * 255 + 0.5) & 0xFF; };
    return static_cast<TColor>(byte(chosen.red) | byte(chosen.green) << 8 | byte(chosen.blue) << 16);
}

GtkWidget* font_control(const FontFields& font) {
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    GtkWidget* button = gtk_button_new_with_label(font_label(font).c_str());
    g_object_set_data_full(G_OBJECT(button), "font", new FontFields(font), [](gpointer p) { delete static_cast<FontFields*>(p); });
    g_signal_connect(button, "clicked", G_CALLBACK(on_choose_font), nullptr);
    gtk_box_pack_start(GTK_BOX(box), button, TRUE, TRUE, 0);
    GtkWidget* colour = colour_button(font.color);
    gtk_widget_set_tooltip_text(colour, "Colour of the text");
    gtk_box_pack_start(GTK_BOX(box), colour, FALSE, FALSE, 0);
    g_object_set_data(G_OBJECT(box), "button", button);
    g_object_set_data(G_OBJECT(box), "colour-button", colour);
    return box;
}

FontFields font_of(GtkWidget* control) {
    FontFields f = *fields_of(GTK_WIDGET(g_object_get_data(G_OBJECT(control), "button")));
    f.color = colour_of(GTK_WIDGET(g_object_get_data(G_OBJECT(control), "colour-button")));
    return f;
}
