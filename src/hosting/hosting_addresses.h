#pragma once

#include <chrono>
#include <string>

#include "hosting/http_client.h"

// Where the hosting client sends its requests, and how long it waits for an answer. The
// program uses the service's own; tests hand in a stand-in's.
struct HostingAddresses {
    // The public address of the users' folders, ending with "/"; the folder commands go to its
    // "quillservlet".
    std::string site;
    std::string servlet;
    std::string pictureUpload;
    // The start of a picture delete request, up to its file name.
    std::string deleteScript;
    std::chrono::milliseconds timeout{kDefaultHttpTimeout};
    // A CA file trusted besides the system's store, for a private service; empty for none.
    std::string certificateAuthority;

    static HostingAddresses Service();
    // The service laid out under one address ending with "/" (a mirror or a stand-in): the
    // servlet and the scripts below it.
    static HostingAddresses UnderOneBase(const std::string& base, std::chrono::milliseconds timeout,
                                         const std::string& certificateAuthority = std::string());
};
