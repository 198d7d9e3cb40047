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
    FolderFonts fonts_;
    PageStore& store_;
};
