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
        "toolbar button { min-height: 0; min-width: 0; padding: 0; }\n";
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
