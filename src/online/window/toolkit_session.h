// The toolkit for the console options that open a window ("-U", "-T"): up for one piece of work,
// then down again, as window mode does for the main window.
#pragma once
#include <functional>

// Runs `work` with the toolkit started and returns its status; without a display says so on
// standard error and returns 1.
int RunWithToolkit(const std::function<int()>& work);
