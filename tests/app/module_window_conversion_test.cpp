// The installed shape of the program: window mode runs from the module, and what the user enters in
// its window is what the program's engine converts.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/uiaction.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "support/test_support.h"
#include "support/window_process.h"
#include "support/wx_test_app.h"

namespace {
// The test process drives the X server's pointer and keyboard; the window belongs to the child.
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxTestApp);

void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Without a window manager the keyboard follows the pointer.
void TypeInto(wxUIActionSimulator& sim, int x, int y, const std::string& text) {
    sim.MouseMove(x, y);
    sim.MouseClick();
    Pause(200);
    sim.Text(text.c_str());
    Pause(200);
}
}  // namespace

TEST(ModuleWindow, FieldsTypedInTheWindowReachTheEngine) {
    if (!WxTestApp::started) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ASSERT_EQ(system(("mkdir -p '" + SettingsFileFolder() + "'").c_str()), 0);
    const std::string folder = ScratchFolder("typed");
    const std::string input = folder + "typed.bmp";
    WriteFileText(input, ReadFileText(std::string(QUARVEL_SOURCE_DIR) + "/samples/sample.bmp"));
    const std::string output = ScratchFolder("typed-out");
    WriteFileText(SettingsFilePath(), "[General]\r\nCFG = 19\r\n[Window]\r\nWidth = 510\r\nX = 100\r\nY = 100\r\n"
                                      "[File]\r\nRecent Out Folders = " + output + "\r\n"
                                      // Drawn by the drawing module, which the window's run loads through the program.
                                      "[Frame]\r\nDo Frame = 1\r\nSolid Top = 4\r\n[Watermark]\r\nDo Watermark = 1\r\n");

    pid_t child = StartWindowMode();
    ASSERT_GT(child, 0);
    ScreenRect window;
    ASSERT_TRUE(WaitFor([&] { return FindShownWindow("Quarvel 2.9 - FREEWARE", &window); }, 20000));
    Pause(500);
    wxUIActionSimulator sim;
    // The input field, then the output folder chosen from its history, below the menu bar and the toolbar.
    TypeInto(sim, window.x + 180, window.y + 90, input);
    for (int click = 0; click < 2; ++click) {  // opens the list, then takes its one entry
        sim.MouseMove(window.x + 150, window.y + 130);
        sim.MouseClick();
        Pause(500);
    }
    sim.Char(WXK_F5);
    // The job the window filled reaches the worker in the program: the texture appears where typed.
    const bool converted = WaitFor([&] { return FileSize(output + "typed.dds") > 0; }, 20000);

    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(converted) << "no texture in " << output;
}
