#pragma once

#include <string>

// The one folder the program works in: "quillworking" in the user's home folder as the system
// reports it. Nothing the user passes chooses another.
std::string DefaultWorkingFolder();
