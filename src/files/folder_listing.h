#pragma once

#include <string>
#include <vector>

// Folder listings as texts of names joined by "|", in the order the folder shows them
// (by name, ignoring letter case). A pattern is a folder path, a separator and a file pattern
// with * and ? ("*.*" matches every name).

// Every entry; folders carry the suffix "  [FOLDER]".
std::string ListFolder(const std::string& pattern);

// The files whose lower-cased name contains ".bmp", ".jpg", ".jpeg", ".gif", ".png" or ".webp";
// each of the tests lists the name once, so a name that passes two tests appears twice.
std::string ListPictures(const std::string& pattern);

// The entries of the uploader's local pane for a folder.
std::vector<std::string> LocalListEntries(const std::string& folder);

// The suffix that marks a folder in a listing.
inline constexpr const char* kFolderSuffix = "  [FOLDER]";
