// The standard message boxes of every window: modal to the active window, titles from the text table.
#pragma once
#include <string>

enum class AskIcon { Question, Warning };

void ShowWarning(const std::string& text);
void ShowError(const std::string& text);
void ShowInfo(const std::string& title, const std::string& text);
// True only when the user answers Yes.
bool AskYesNo(const std::string& title, const std::string& text, AskIcon icon);

// The text as a message box shows it: every "\r\n" becomes one line break.
std::string MessageBoxText(const std::string& text);
