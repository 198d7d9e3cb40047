#include "site/site_archive_format.h"

#include "page/site_items.h"

// The record as the folder keeps it: its own items, under its folder and name.
void AsStored(PageRecord& page, const std::string& folder, const std::string& name) {
    if (name != kSiteItemsFile) {
        SplitSiteItems(page);
    }
    page.siteItemsShown = false;
    page.siteItemsKnown.clear();
    page.sitePages.clear();
    page.directory = folder;
    page.fileName = name;
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
