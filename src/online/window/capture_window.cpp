#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/window.h>

#include "online/window/online_windows.h"

// A window DC blitted into memory after the window painted: a screen DC gives stale or black
// pictures under Xvfb, and GetAsBitmap is not implemented on GTK3.
wxImage CaptureWindowPicture(wxWindow* window) {
    window->Update();
    wxYield();
    const wxSize size = window->GetSize();
    if (size.GetWidth() <= 0 || size.GetHeight() <= 0) return wxImage();
    wxBitmap picture(size, 24);
    {
        wxWindowDC source(window);
        wxMemoryDC target(picture);
        target.Blit(0, 0, size.GetWidth(), size.GetHeight(), &source, 0, 0);
    }
    return picture.ConvertToImage();
}
