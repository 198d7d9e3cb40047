#pragma once

#include <string>

#include "hosting/hosting_addresses.h"
#include "page/hosting_folder.h"

struct Workspace;
class Prompts;

// Deleting files from the hosting folder: the servlet's listing is shown in a window of its own,
// and each delete link the user follows there also asks the delete script to remove the file.
// The window's link handler holds a copy: the window may stay open after the command ended.
class ServerDeletion {
  public:
    ServerDeletion(const Workspace& workspace, Prompts& prompts, const HostingAddresses& addresses);

    void run();
    // An address the listing's browser was sent to.
    void navigated(const std::string& url);

  private:
    const Workspace* workspace_;
    Prompts* prompts_;
    HostingAddresses addresses_;
};

// The delete script's request for a file of the hosting folder, with the password given.
std::string DeleteRequest(const HostingAddresses& addresses, const HostingFolder& folder,
                          const std::string& file, const std::string& password);

// The servlet's listing of the folder's files, an HTML page with a delete link for each.
std::string FileListingRequest(const HostingAddresses& addresses, const HostingFolder& folder);
