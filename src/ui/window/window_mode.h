#pragma once

// Window mode from the single-instance lock to shutdown; returns the exit status.
int RunWindowMode(int argc, char** argv);
