#pragma once

#include <string>
#include <vector>

#include "setup/working_folder_setup.h"

// The working folder's own files as the program carries them.
std::vector<InstalledFile> InstalledFiles();

// Where the system keeps the Hunspell dictionaries.
std::string SystemDictionaryFolder();
