// Product identity and the icon name tables.
#pragma once
#include <map>
#include <string>

constexpr const char* kProductName = "Quarvel";
constexpr int kVersionNumber = 290;
constexpr const char* kVendorFolder = "Marrowfen";
constexpr const char* kProgramName = "kestrix";

std::string VersionText(int versionNumber);
std::string TitleText(const std::string& name, int versionNumber, bool windowTitle);
// The maker's notice line below the main window and in the About window.
std::string MakerNotice();

// Icon name to image number.
const std::map<std::string, int>& MainImages();
const std::map<std::string, int>& MenuIcons();
const std::map<std::string, int>& ToolbarIcons();
