#pragma once

#include <string>

// The program's version, from the one place the build names it.
std::string ProgramVersion();
