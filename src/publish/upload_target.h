#pragma once

#include <optional>
#include <string>

// Where quillora-publish sends a site: the user's hosting folder, or a server folder given as
// ftp://USER@HOST[:PORT]/PATH or sftp://USER@HOST[:PORT]/PATH.
struct UploadTarget {
    bool hosting = false;
    std::string user;
    // Host with its port, as the login takes it.
    std::string server;
    std::string path;
    bool secureShell = false;
};
std::optional<UploadTarget> ParseUploadTarget(const std::string& text);
