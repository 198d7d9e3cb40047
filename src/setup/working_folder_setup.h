#pragma once

#include <string>
#include <vector>

class Prompts;

// A file that comes with the program, by its path inside the working folder.
struct InstalledFile {
    std::string path;
    std::string content;
    // The editor page's scripts are the program's own code, not the user's: a working folder
    // made by an earlier version gets this version's.
    bool programCode = false;
};

// Fills the working folder on a first run, and completes it later when something is missing:
// the program's own files, the page store with its tables, the custom word list, the
// dictionary and the quickstart tutorial. Nothing that exists is overwritten; a page store
// that is not a readable database is kept under another name and replaced. The texts say what
// could not be set up or was set aside.
std::vector<std::string> SetUpWorkingFolder(const std::string& workingFolder,
                                            const std::vector<InstalledFile>& files,
                                            const std::string& dictionaryFolder, Prompts& prompts);
