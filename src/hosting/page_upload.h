#pragma once

#include <string>
#include <vector>

#include "hosting/hosting_addresses.h"

class DesignerSession;
class Prompts;

// Publishes the current page to the user's hosting folder: asks which pictures the folder holds,
// points the page's pictures at the service's picture script, sends the missing pictures and
// then the page. Every outcome is told in a message; only a complete upload is called one.
class PageUpload {
  public:
    PageUpload(DesignerSession& session, Prompts& prompts, const HostingAddresses& addresses);

    void run();

  private:
    // The steps between showing the notice and hiding it; false when the upload is incomplete.
    bool transfer();
    bool post(bool picture, const std::string& description, const std::string& what);

    DesignerSession& session_;
    Prompts& prompts_;
    const HostingAddresses& addresses_;
};

// Every whole reference to the picture name in the page becomes the address; the name inside a
// longer name (a.jpg in ba.jpg or a.jpg.bak) is left alone, and the address is not searched.
std::string ReplacePictureReferences(const std::string& page, const std::string& name,
                                     const std::string& address);

// The pictures of the site folder that the page uses, each once, in the folder's order.
std::vector<std::string> UsedPictures(const std::string& pictures, const std::string& page);
