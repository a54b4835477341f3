// The record of the current job and its input list.
#pragma once
#include <cstdint>
#include <map>
#include <string>

struct JobRecord {
    std::string ProgramFolder;      // ends with "/"
    std::string InputPath;
    std::string InputFolder;        // console mode only; empty in window mode
    std::string RelativeSubfolder;
    std::string OutputPath;
    std::string TemporaryPath;
    std::string OutputFolder;
    int32_t RandomNumber = 1;       // 1 to 99999
    int32_t NameCounter = 1;
    std::string InputFormat;
    int32_t SourceBitDepth = 0;
    std::string OutputFormat;
    int32_t OutputBitDepth = 0;     // 0 = automatic
    bool AutomaticDepth = false;
    bool ConsoleMode = false;
    std::string RunModeText;        // "T", "DEBUG" or empty
    int32_t OutputWidth = 0;
    int32_t OutputHeight = 0;
};

extern JobRecord Job;

// Input path (compared exactly) to its relative subfolder; at most one entry.
extern std::map<std::string, std::string> InputList;

extern int8_t PreferencesPage;   // preferences category to open on, 0 to 8
extern int32_t InterfaceReload;  // 0 nothing, 1 theme changed, 2 icon size changed

void ResetJob();
bool AddInputFile(const std::string& path);

// Window mode's take-up of an added file; the main window installs it. Console mode never calls it.
using InputFileTakeUp = void (*)(const std::string& path);
void SetInputFileTakeUp(InputFileTakeUp handler);
