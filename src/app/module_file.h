// Modules beside the program (window face, drawing) carry a build stamp in a section of their own
// (KESTRIX_WINDOW_STAMP_SECTION); the program reads it from the file before any code of the module runs.
#pragma once
#include <string>

// Empty when the file at `path` is a loadable module with this stamp, else what is wrong with it;
// `kind` names the module in that text ("is not a drawing module of this program").
std::string CheckModuleFile(const std::string& path, const std::string& kind, const std::string& stamp);
