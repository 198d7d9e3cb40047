#pragma once

#include <map>
#include <string>

#include "page/page_record.h"

// How the browser should fetch each picture of a page, by picture name (with "~"): pictures
// wholly below the first screen, in the layout as designed and, on a phone-friendly page, in
// the phone's column too, wait until the visitor scrolls near them (loading="lazy"); the
// largest picture of each first screen comes first (fetchpriority="high"); others get nothing.
std::map<std::string, std::string> PictureLoading(const PageRecord& page, bool phoneFriendly);

// The name (with "~") of the page's largest picture, by the area it is shown at; empty when it
// has none.
std::string LargestPicture(const PageRecord& page);
