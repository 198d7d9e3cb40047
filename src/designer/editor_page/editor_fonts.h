#pragma once

#include <string>

#include "site/site_fonts.h"

class PageStore;

// The font rules of the editor page: the files a site's pages bring along, read from the
// working folder's cache, so that lines break in the editor as on the published page. Nothing
// for a site that does not ask for them.
class EditorFonts {
  public:
    EditorFonts(std::string workingFolder, PageStore& store)
        : fonts_(std::move(workingFolder)), store_(store) {}

    // The style element for the page shown, its own sections counted as they are now.
    std::string style(const PageRecord& page);

  private:
    SiteFonts fonts_;
    PageStore& store_;
    // The folder's stored faces, read again only when the store changed.
    std::string folder_;
    long long generation_ = -1;
    bool siteFonts_ = false;
    FaceCharacters stored_;
};
