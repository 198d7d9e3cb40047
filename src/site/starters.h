#pragma once

#include <string>
#include <vector>

// The starter sites that come with the program: each a site file built from its text source,
// a picture of its home page, and a line in the folder's index ("id<TAB>name<TAB>kind<TAB>line").
struct StarterEntry {
    std::string id;
    std::string name;
    std::string kind;
    std::string line;
    // The site file and the picture.
    std::string file;
    std::string picture;
};

// Where the program's starters lie, and the sections of its library.
std::string InstalledStartersFolder();
std::string InstalledSectionsFolder();

// The starters the folder's index lists whose site file is there, in the index's order; none
// for a folder without an index.
std::vector<StarterEntry> ListStarters(const std::string& folder);

// A starters folder's index; beside it each starter's site file (ID.qsite) and picture (ID.png).
inline constexpr const char* kStarterIndexFile = "index.txt";
