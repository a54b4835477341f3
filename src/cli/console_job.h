#pragma once

// Validates the parsed job, converts it through the worker and prints the closing lines.
// Returns the process exit status.
int RunConsoleJob(bool quiet);
