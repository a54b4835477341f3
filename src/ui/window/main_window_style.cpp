#include "ui/window/main_window_parts.h"

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

void ApplyApplicationStyle() {
#ifdef __WXGTK__
    static bool applied = false;
    if (applied) return;
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen) return;
    // Padding only: text, borders and focus rings stay the theme's.
    static const char kStyle[] =
        "entry { min-height: 0; padding-top: 0; padding-bottom: 0; }\n"
        "combobox button { min-height: 0; padding-top: 0; padding-bottom: 0; }\n"
        "toolbar { padding: 0; }\n"
        "toolbar button { min-height: 0; min-width: 0; padding: 0; }\n"
        // The preferences window's narrow unit lists, spin boxes and 20-pixel sliders.
        "combobox button { padding-left: 4px; padding-right: 2px; }\n"
        "spinbutton { min-height: 0; }\n"
        "spinbutton entry { min-width: 0; min-height: 0; padding: 0 2px; }\n"
        "spinbutton button { min-width: 0; min-height: 0; padding: 0 1px; border-width: 0 0 0 1px; }\n"
        "scale { min-height: 0; padding: 0 8px; }\n"
        "scale trough { min-height: 4px; margin: 0; }\n"
        "scale slider { min-width: 14px; min-height: 14px; margin: -5px; }\n";
    GtkCssProvider* provider = gtk_css_provider_new();
    if (gtk_css_provider_load_from_data(provider, kStyle, -1, nullptr))
        gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    // GTK hides menu pictures unless asked to show them.
    if (GtkSettings* settings = gtk_settings_get_for_screen(screen))
        g_object_set(settings, "gtk-menu-images", TRUE, nullptr);
    applied = true;
#endif
}
