// Console mode: the program's face when started with arguments.
#pragma once
#include <string>
#include <vector>

constexpr int kNoConsoleWork = -1;

// Runs console mode. Returns the process exit status, or kNoConsoleWork when the arguments ask
// for nothing the console does and window mode should follow.
int RunConsole(const std::vector<std::string>& arguments);
