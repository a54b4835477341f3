// The windows of the online subsystem: thin wx faces over the plain procedures of online/online.h.
#pragma once
#include <string>

class wxImage;
class wxWindow;

// Help > Check For a New Version: asks the vendor's server and reports in a message box; Yes on
// a new version opens the home page.
void CheckForUpdate();
// End of the main window's start-up: when [General] Update Range says a check is due, asks first;
// [General] Update Date becomes now whatever the answer.
void ScheduledUpdateCheck();

// Converter > Find a File Converter: the From/To dialog ("ConverterSearchWindow"), modal to the
// main window.
void OpenConverterSearchWindow();
// Help > About ("AboutWindow"), modal to the main window.
void OpenAboutWindow();

// The uninstall page window, modal with its own loop: Next with its box checked opens the vendor's
// uninstall page; Next unchecked or the close box opens nothing.
void ShowUninstallPage();
// "-U": the uninstall page window with its own loop. Returns the exit status: 0, or 1 without a display.
int RunUninstallPage();
// "-T": screenshot mode into `targetFolder` ("" for the program folder). Returns the exit status.
int RunScreenshotMode(const std::string& targetFolder);

// The window's picture as the screen shows it, frame area included where the window has one.
wxImage CaptureWindowPicture(wxWindow* window);
