// Console mode: the program's face when started with arguments.
#pragma once
#include <string>
#include <vector>

constexpr int kNoConsoleWork = -1;

// Exit statuses of console mode; scripts read the outcome from them.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;      // an error line, "Conversion stopped", nothing converted
constexpr int kExitOptionError = 2;  // the option loop rejected the command line

// Runs console mode. Returns the process exit status, or kNoConsoleWork when the arguments ask
// for nothing the console does and window mode should follow.
int RunConsole(const std::vector<std::string>& arguments);

// The help text with the program's name filled in, one entry per line.
std::vector<std::string> HelpLines(const std::string& programName);
// The banner printed before a console run unless it is quiet.
std::vector<std::string> BannerLines();

// "-U" and "-T" open windows, which console code cannot build itself; the window layer installs
// them here. Each returns the exit status; "-T" receives the target folder.
using UninstallPageEntry = int (*)();
using ScreenshotModeEntry = int (*)(const std::string& targetFolder);
void SetUninstallPageEntry(UninstallPageEntry entry);
void SetScreenshotModeEntry(ScreenshotModeEntry entry);
