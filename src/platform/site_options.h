#pragma once

#include <string>
#include <vector>

// What every page written into one site folder follows. Each is off or empty until the user
// sets it, so pages keep the bytes they had before these existed.
struct SiteOptions {
    // Phones get one column in reading order.
    bool phoneFriendly = false;
    // Pictures are published as copies sized for their place, in a modern format as well.
    bool webPictures = false;
    // The site's public address ("https://example.org/"), for a site map and links that name
    // the page.
    std::string siteAddress;
    // The fonts the sections show go along with the pages, cut to the characters the site uses.
    bool siteFonts = false;
    // The site's languages (BCP 47 tags), the first the main one; none or one: one language.
    std::vector<std::string> languages;

    bool operator==(const SiteOptions& other) const {
        return phoneFriendly == other.phoneFriendly && webPictures == other.webPictures &&
               siteAddress == other.siteAddress && siteFonts == other.siteFonts &&
               languages == other.languages;
    }
};
