// The Convert command of the main window and the progress window it runs the worker behind.
#pragma once

// Fills the job from the main window, checks it, and runs the progress window when the checks pass.
void StartWindowConversion();
// Shows the progress window, runs the worker and returns when the user closes the window.
void RunProgressWindow();
