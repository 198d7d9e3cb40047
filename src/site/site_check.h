#pragma once

#include <string>
#include <vector>

class PageStore;

// One thing that keeps a site from serving its visitors well.
struct SiteFinding {
    // The page's file name; empty for the site as a whole.
    std::string page;
    // The item as the editor selects it (a picture's name or a section's id, with "~"); empty
    // for the page itself.
    std::string item;
    std::string text;
};

// Reads every stored page of the site folder and its files: pictures without a description
// (unless they only decorate), pages without a language or description, pictures far heavier
// than their place needs while web pictures are off, links between pages that lead to no
// page, picture files that are missing, faces that cannot travel with the site, and the site
// options that would help.
std::vector<SiteFinding> CheckSite(PageStore& store, const std::string& workingFolder,
                                   const std::string& siteFolder);

// The finding as one line: "page.html: text", or "site: text".
std::string FindingLine(const SiteFinding& finding);
