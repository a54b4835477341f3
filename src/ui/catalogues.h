// The image types the code base knows, and what this product accepts. No window code here.
#pragma once
#include <string>
#include <vector>

extern std::vector<std::string> AcceptedInputExtensions;

void BuildAcceptedInputExtensions();
