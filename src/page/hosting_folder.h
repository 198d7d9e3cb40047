#pragma once

#include <string>

// The folder name and password of the record when no folder exists.
inline constexpr const char* kNoHostingFolder = "NOTINITIALIZED";

// The user's one web folder at the hosting service, as stored in the lastsession table.
struct HostingFolder {
    std::string folderName = kNoHostingFolder;
    std::string folderId;
    std::string password = kNoHostingFolder;
    std::string scriptAddress;

    bool exists() const { return folderName != kNoHostingFolder; }
};

// What the controls page shows about the current page: its public address, or the prompt to
// get a hosting folder.
std::string FolderLabel(const HostingFolder& folder, const std::string& siteAddress,
                        const std::string& pageFileName);
