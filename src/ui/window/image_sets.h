// The keyed pictures of the main window as wx bitmaps, made from the picture sets of ui/themes.h.
// Start-up order: LoadBuiltInImages, ScanThemes, ApplyTheme(true, true, true) (ui/themes.h);
// after a later ApplyTheme, rebuild whatever shows these bitmaps.
#pragma once
#include <wx/bitmap.h>
#include <wx/iconbndl.h>

#include <string>

// Fills the three image sets and the two extra pictures from the compiled-in images.
void LoadBuiltInImages();

// A key the set does not hold gives a transparent bitmap of the set's size, never an invalid one.
// Menu and toolbar pictures of another size (a theme's, or the built-in 16s) are scaled to fit.
wxBitmap MainImage(const std::string& key);    // Convert 64 x 64, InFiles and InFolder 48 x 48
wxBitmap MenuIcon(const std::string& key);     // 16 x 16
wxBitmap ToolbarIcon(const std::string& key);  // square, IconPixelSize([Interface] UI Size)
wxBitmap BannerPicture();                      // 360 x 40, the About window's banner
wxBitmap SparePicture();                       // 270 x 75, shown by nothing
// The program's icon at every built-in size, for the window manager and the task bar.
wxIconBundle ProgramIcons();
