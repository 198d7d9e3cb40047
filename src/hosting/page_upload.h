#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "hosting/form_poster.h"
#include "hosting/hosting_addresses.h"
#include "page/hosting_folder.h"
#include "site/upload_files.h"

class HostingSession;
class Prompts;

// One page to send to the hosting folder: its file name and title, its text as the upload
// variant writes it (made once the folder has room; nothing when it cannot be had), and the
// folders its pictures and the prepared page go to.
struct PageSending {
    std::string pageName;
    std::string pageTitle;
    std::function<std::optional<std::string>()> pageText;
    std::string siteFolder;
    std::string workingFolder;
};

// What went, what the folder had already, and what failed (empty when nothing did).
struct SendReport {
    std::vector<std::pair<std::string, long long>> sent;
    std::vector<std::string> skipped;
    std::string failure;
};

// The upload's messages: text and caption, as the window shows them in boxes.
using UploadTell = std::function<void(const std::string& text, const char* caption)>;

// Sends the page's pictures that the folder lacks or holds in another content than was last sent
// there (or all of them when forced), and then the page, with the requests, forms and reference
// rewrite of the window's upload. A dry run asks the folder which pictures it holds and sends
// nothing.
SendReport SendPage(const PageSending& page, const HostingFolder& folder,
                    const HostingAddresses& addresses, const UploadTell& tell, bool dryRun = false,
                    bool force = false, const FormPoster::GoesOn& goesOn = FormPoster::GoesOn());

// Removes from the hosting folder the pages deleted from the site that it may still hold, each
// told first; the names that could not be removed.
std::vector<std::string> RemoveDeletedPages(
    const std::vector<std::pair<std::string, long long>>& deleted, const HostingFolder& folder,
    const HostingAddresses& addresses, const std::string& workingFolder, const UploadTell& tell);

// Publishes the current page to the user's hosting folder: asks which pictures the folder holds,
// points the page's pictures at the service's picture script, sends the missing pictures and
// then the page. Every outcome is told in a message; only a complete upload is called one.
class PageUpload {
  public:
    PageUpload(HostingSession& session, Prompts& prompts, const HostingAddresses& addresses);

    void run();

  private:
    // The steps between showing the notice and hiding it; false when the upload is incomplete.
    bool transfer();

    HostingSession& session_;
    Prompts& prompts_;
    const HostingAddresses& addresses_;
};

// Every whole reference to the picture in the page, by any of the forms given, becomes the
// address; a form inside a longer name (a.jpg in ba.jpg or a.jpg.bak) is left alone, and the
// address is not searched.
std::string ReplacePictureReferences(const std::string& page, const std::vector<std::string>& forms,
                                     const std::string& address);
inline std::string ReplacePictureReferences(const std::string& page, const std::string& name,
                                            const std::string& address) {
    return ReplacePictureReferences(page, std::vector<std::string>{name}, address);
}
