// A window's inner picture as a PNG file, for the pictures in docs/.
#pragma once
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/window.h>

#include <string>

// A wxWindowDC blitted into a bitmap; wxScreenDC gives stale pictures under Xvfb.
inline bool CaptureWindow(wxWindow* window, const std::string& path) {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    const wxSize size = window->GetClientSize();
    wxBitmap picture(size);
    {
        wxWindowDC source(window);
        wxMemoryDC target(picture);
        target.Blit(0, 0, size.GetWidth(), size.GetHeight(), &source, 0, 0);
    }
    return picture.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
}
