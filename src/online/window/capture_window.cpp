#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "online/window/online_windows.h"

wxImage CaptureWindowPicture(wxWindow* window) {
    window->Update();
    wxYield();
    const wxSize size = window->GetSize();
    if (size.GetWidth() <= 0 || size.GetHeight() <= 0) return wxImage();
#ifdef __WXGTK__
    // A frame's window DC covers its client area only; the X window itself also holds the menu
    // bar, the toolbar and the status bar, and the X server gives its pixels as shown.
    if (window->IsTopLevel()) {
        if (GdkWindow* native = gtk_widget_get_window(window->GetHandle())) {
            if (GdkPixbuf* pixels = gdk_pixbuf_get_from_window(native, 0, 0, size.GetWidth(), size.GetHeight())) {
                return wxBitmap(pixels).ConvertToImage();  // the bitmap takes the pixbuf over
            }
        }
    }
#endif
    // Elsewhere a window DC blitted into memory after the window painted: a screen DC gives stale
    // or black pictures under Xvfb, and GetAsBitmap is not implemented on GTK3.
    wxBitmap picture(size, 24);
    {
        wxWindowDC source(window);
        wxMemoryDC target(picture);
        target.Blit(0, 0, size.GetWidth(), size.GetHeight(), &source, 0, 0);
    }
    return picture.ConvertToImage();
}
