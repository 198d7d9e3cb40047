#pragma once

#include <optional>
#include <string>

class Prompts;

// Asks for a background picture and copies it into the working folder's backgrounds, replacing
// a file of the same name (a failed copy is not told: the name still stands). The first browse
// opens in the backgrounds and clears the flag. The chosen file's name, or nothing when the
// dialog was cancelled.
std::optional<std::string> ChooseBackgroundPicture(Prompts& prompts,
                                                   const std::string& workingFolder,
                                                   bool& firstBrowse);
