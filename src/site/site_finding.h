#pragma once

#include <string>

// One thing that keeps a site from serving its visitors well.
struct SiteFinding {
    // The page's file name; empty for the site as a whole.
    std::string page;
    // The item as the editor selects it (a picture's name or a section's id, with "~"); empty
    // for the page itself.
    std::string item;
    std::string text;
    // The language the finding is about, when it is not the main one: the page is shown in it.
    std::string language;
};
