#include <wx/utils.h>

#include "app/identity.h"
#include "app/settings.h"
#include "online/online.h"
#include "online/window/online_windows.h"
#include "platform/platform.h"
#include "ui/texts.h"
#include "ui/window/message_boxes.h"

void CheckForUpdate() {
    std::string answer;
    {
        // The window cannot answer while the server is asked; the pointer says why.
        wxBusyCursor busy;
        answer = HttpGet(UpdateFileAddress(), TitleText(kProductName, kVersionNumber, false));
    }
    switch (JudgeUpdateAnswer(answer)) {
        case UpdateVerdict::ConnectionProblem: ShowError(GetUiText("Msg", "Internet connection problems")); break;
        case UpdateVerdict::NoUpdate: ShowInfo(GetUiText("Msg", "No Update"), GetUiText("Msg", "No Update Text")); break;
        case UpdateVerdict::NewVersion:
            if (AskYesNo(GetUiText("Msg", "New Update"), GetUiText("Msg", "New Update Text"), AskIcon::Question))
                OpenDocument(HomePageAddress());
            break;
    }
}

void ScheduledUpdateCheck() {
    if (!UpdateCheckIsDue(Settings.General.UpdateRange, Settings.General.UpdateDate, NowLocalDate())) return;
    if (AskYesNo(GetUiText("Msg", "Check for Updates"), GetUiText("Msg", "Ask check for updates"), AskIcon::Question))
        CheckForUpdate();
    Settings.General.UpdateDate = NowLocalDate();
}
